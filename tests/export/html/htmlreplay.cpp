// Replays the browser test's action scripts through GridSolver and prints, as
// JSON, what the crossword page must show after each script.
//
//   html_replay CROSSWORD.crs SCRIPTS.json
//
// SCRIPTS.json is a list of scripts, each a list of actions:
//   ["click", cell]  ["key", k]  ["finish"]  ["back"]  ["background"]  ["reload"]
//   ["type", key, code, ctrl, effect]  effect: 1..33 a key through the focused cell,
//                                      "escape", "left", "right", "up", "down",
//                                      "turn" (to the other word) or "none"
// Every script starts from a freshly loaded crossword. The page keeps its
// state over a reload; the keyboard, the focus and the current word are gone.
//
// The page's current word is made of GridSolver's own actions: a letter
// taken on a cell moves on to the word's next cell, and with the keyboard
// open that is a click there.
#include "cluetext.h"
#include "crosswordfile.h"
#include "gridsolver.h"
#include "gridwords.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

[[noreturn]] void fail(const char *message)
{
    std::fprintf(stderr, "html_replay: %s\n", message);
    std::exit(2);
}

// The page's arrow keys: the nearest playable cell on the same line first,
// then on the closest line beside it.
std::optional<int> neighbour(const GridSolver &solver, int cell, int rowStep, int columnStep)
{
    const int row = CrosswordDocument::rowOf(cell);
    const int column = CrosswordDocument::columnOf(cell);
    std::optional<int> best;
    int bestAcross = 0;
    int bestAlong = 0;
    for (int other = 0; other < CrosswordDocument::CellCount; ++other) {
        if (!solver.isPlayable(other))
            continue;
        const int otherRow = CrosswordDocument::rowOf(other);
        const int otherColumn = CrosswordDocument::columnOf(other);
        const int along =
            rowStep ? (otherRow - row) * rowStep : (otherColumn - column) * columnStep;
        const int across = rowStep ? std::abs(otherColumn - column) : std::abs(otherRow - row);
        if (along <= 0)
            continue;
        if (!best || across < bestAcross || (across == bestAcross && along < bestAlong)) {
            best = other;
            bestAcross = across;
            bestAlong = along;
        }
    }
    return best;
}

// The line above the keyboard: number, direction and the clue found under
// the direction's heading by number, where there is one.
QString clueLine(const GridWord &word, const ClueText &clues)
{
    const bool across = word.direction == GridWord::Direction::Across;
    QString line = across ? QStringLiteral("по горизонтали") : QStringLiteral("по вертикали");
    if (!word.number.isEmpty())
        line = word.number + u' ' + line;
    for (const Clue &clue : across ? clues.across() : clues.down()) {
        if (clue.number == word.numberValue()) {
            if (!clue.text.isEmpty())
                line += QStringLiteral(": ") + clue.text;
            break;
        }
    }
    return line;
}

class Replay
{
public:
    explicit Replay(const CrosswordDocument &document)
        : m_words(document), m_clues(ClueText::parse(document.clueText()))
    {
        m_solver.loadPuzzle(document);
        for (const GridWord &word : m_words.words()) {
            for (int i = 0; i < word.length; ++i)
                m_wordsOf[word.cell(i)][word.direction == GridWord::Direction::Down] = &word;
        }
    }

    void act(const QJsonArray &action)
    {
        const QString kind = action.at(0).toString();
        if (kind == QLatin1String("click")) {
            const int cell = action.at(1).toInt();
            if (m_solver.state() != GridSolver::State::Solved) {
                // The same cell again turns; a cell of the current word keeps it.
                if (m_cursor == cell)
                    turn();
                else if (word() && contains(*word(), cell))
                    m_cursor = cell;
                else
                    arrive(cell, true);
                m_focus = cell;
            }
            m_solver.selectCell(cell);
        } else if (kind == QLatin1String("key")) {
            const int key = action.at(1).toInt();
            const bool taken =
                m_solver.isKeyboardShown() && m_solver.state() == GridSolver::State::Solving;
            const int cell = m_solver.selectedCell();
            m_solver.pressLetterKey(key);
            if (taken) {
                moveOn(cell, key, true);
                m_focus = m_cursor.value_or(cell);
            }
        } else if (kind == QLatin1String("type")) {
            type(action.at(4));
        } else if (kind == QLatin1String("finish")) {
            if (m_solver.isFinishEnabled()) {
                m_focus.reset();
                m_solver.finishCheck();
            }
        } else if (kind == QLatin1String("back")) {
            if (m_solver.isBackEnabled()) {
                m_focus.reset();
                m_solver.backToSolving();
            }
        } else if (kind == QLatin1String("background")) {
            m_focus.reset();
            m_solver.hideKeyboard();
        } else if (kind == QLatin1String("reload")) {
            m_focus.reset();
            m_cursor.reset();
            m_across = true;
            m_solver.hideKeyboard();
        } else {
            fail("unknown action");
        }
    }

    QJsonObject shown() const
    {
        QJsonArray cells;
        for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
            if (!m_solver.isPlayable(cell))
                continue;
            cells.append(QJsonArray{cell, m_solver.enteredLetter(cell),
                                    m_solver.mark(cell) == GridSolver::Mark::Wrong,
                                    m_solver.isCellEnabled(cell)});
        }
        const GridWord *current = word();
        QJsonArray wordCells;
        for (int i = 0; current && i < current->length; ++i)
            wordCells.append(current->cell(i));
        QString pane = m_solver.cluePaneText();
        pane.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return QJsonObject{
            {QStringLiteral("pane"), pane},
            {QStringLiteral("result"), m_solver.cluePaneStyle() == GridSolver::ResultStyle},
            {QStringLiteral("cells"), cells},
            {QStringLiteral("finish"), m_solver.isFinishEnabled()},
            {QStringLiteral("back"), m_solver.isBackEnabled()},
            {QStringLiteral("history"), QJsonArray::fromStringList(m_solver.history())},
            {QStringLiteral("keyboard"), m_solver.isKeyboardShown()},
            {QStringLiteral("focus"), m_focus ? *m_focus : -1},
            {QStringLiteral("word"), wordCells},
            {QStringLiteral("clue"), current ? clueLine(*current, m_clues) : QString()},
        };
    }

private:
    static bool contains(const GridWord &word, int cell) { return position(word, cell) >= 0; }
    static int position(const GridWord &word, int cell)
    {
        for (int i = 0; i < word.length; ++i) {
            if (word.cell(i) == cell)
                return i;
        }
        return -1;
    }

    std::array<const GridWord *, 2> wordsOf(int cell) const
    {
        const auto found = m_wordsOf.find(cell);
        return found == m_wordsOf.end() ? std::array<const GridWord *, 2>{} : found->second;
    }

    // Through the current cell in the current direction; none once solved.
    const GridWord *word() const
    {
        if (!m_cursor || m_solver.state() == GridSolver::State::Solved)
            return nullptr;
        return wordsOf(*m_cursor)[m_across ? 0 : 1];
    }

    void arrive(int cell, bool acrossFirst)
    {
        const auto [across, down] = wordsOf(cell);
        m_cursor = cell;
        m_across = acrossFirst ? across || !down : !down && across;
    }

    void turn()
    {
        const auto [across, down] = wordsOf(*m_cursor);
        if (across && down)
            m_across = !m_across;
    }

    // After a key taken on the cell: a letter goes on to the word's next
    // cell, where an open keyboard opens again; erase keeps it open.
    void moveOn(int cell, int key, bool keyboardWasShown)
    {
        if (key == GridGeometry::CloseKey)
            return;
        int next = cell;
        if (key != GridGeometry::EraseKey) {
            const GridWord *current = word();
            const int at = current ? position(*current, cell) : -1;
            if (at < 0 || at + 1 == current->length)
                return;
            next = current->cell(at + 1);
            m_cursor = next;
        }
        if (keyboardWasShown)
            m_solver.selectCell(next);
    }

    void type(const QJsonValue &effect)
    {
        if (!m_focus) {
            if (effect.toString() == QLatin1String("escape"))
                m_solver.hideKeyboard();
            return;
        }
        if (m_cursor != m_focus)
            arrive(*m_focus, true);
        if (effect.isDouble()) {
            // A key on the focused cell is a click on it and then on the key.
            const int key = effect.toInt();
            const bool shown = m_solver.isKeyboardShown();
            m_solver.selectCell(*m_focus);
            const bool taken =
                m_solver.isKeyboardShown() && m_solver.state() == GridSolver::State::Solving;
            m_solver.pressLetterKey(key);
            if (taken)
                moveOn(*m_focus, key, shown);
            m_focus = m_cursor;
            return;
        }
        const QString name = effect.toString();
        if (name == QLatin1String("escape")) {
            m_solver.hideKeyboard();
            return;
        }
        if (name == QLatin1String("turn")) {
            turn();
            return;
        }
        const int rowStep = name == QLatin1String("up") ? -1 : name == QLatin1String("down");
        const int columnStep = name == QLatin1String("left") ? -1 : name == QLatin1String("right");
        if (rowStep || columnStep) {
            if (const std::optional<int> next = neighbour(m_solver, *m_focus, rowStep, columnStep)) {
                arrive(*next, columnStep != 0);
                if (m_solver.isKeyboardShown())
                    m_solver.selectCell(*next);
                m_focus = next;
            }
        }
    }

    GridSolver m_solver;
    GridWords m_words;
    ClueText m_clues;
    std::map<int, std::array<const GridWord *, 2>> m_wordsOf;
    std::optional<int> m_focus;
    std::optional<int> m_cursor; // the page's current cell, where its word is
    bool m_across = true;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        fail("usage: html_replay CROSSWORD.crs SCRIPTS.json");
    CrosswordDocument document;
    if (!CrosswordFile::read(QString::fromLocal8Bit(argv[1]), &document, nullptr))
        fail("cannot read the crossword");
    QFile scriptsFile(QString::fromLocal8Bit(argv[2]));
    if (!scriptsFile.open(QIODevice::ReadOnly))
        fail("cannot read the scripts");
    const QJsonArray scripts = QJsonDocument::fromJson(scriptsFile.readAll()).array();

    QJsonArray results;
    for (const QJsonValue &script : scripts) {
        Replay replay(document);
        for (const QJsonValue &action : script.toArray())
            replay.act(action.toArray());
        results.append(replay.shown());
    }
    const QByteArray out = QJsonDocument(results).toJson(QJsonDocument::Compact);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
