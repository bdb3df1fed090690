// Replays the browser test's action scripts through GridSolver and prints, as
// JSON, what the crossword page must show after each script.
//
//   html_replay CROSSWORD.crs SCRIPTS.json
//
// SCRIPTS.json is a list of scripts, each a list of actions:
//   ["click", cell]  ["key", k]  ["finish"]  ["back"]  ["background"]  ["reload"]
//   ["type", key, code, ctrl, effect]  effect: 1..33 a key through the focused cell,
//                                      "escape", "left", "right", "up", "down" or "none"
// Every script starts from a freshly loaded crossword. The page keeps its
// state over a reload; only the keyboard and the focus are gone.
#include "crosswordfile.h"
#include "gridsolver.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>
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

class Replay
{
public:
    explicit Replay(const CrosswordDocument &document) { m_solver.loadPuzzle(document); }

    void act(const QJsonArray &action)
    {
        const QString kind = action.at(0).toString();
        if (kind == QLatin1String("click")) {
            const int cell = action.at(1).toInt();
            if (m_solver.state() != GridSolver::State::Solved)
                m_focus = cell;
            m_solver.selectCell(cell);
        } else if (kind == QLatin1String("key")) {
            const bool taken =
                m_solver.isKeyboardShown() && m_solver.state() == GridSolver::State::Solving;
            m_solver.pressLetterKey(action.at(1).toInt());
            if (taken)
                m_focus = m_solver.selectedCell();
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
        } else if (kind == QLatin1String("background") || kind == QLatin1String("reload")) {
            m_focus.reset();
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
        };
    }

private:
    void type(const QJsonValue &effect)
    {
        if (effect.isDouble()) {
            // A key on the focused cell is a click on it and then on the key.
            if (m_focus) {
                m_solver.selectCell(*m_focus);
                m_solver.pressLetterKey(effect.toInt());
            }
            return;
        }
        const QString name = effect.toString();
        if (name == QLatin1String("escape")) {
            m_solver.hideKeyboard();
            return;
        }
        const int rowStep = name == QLatin1String("up") ? -1 : name == QLatin1String("down");
        const int columnStep = name == QLatin1String("left") ? -1 : name == QLatin1String("right");
        if (m_focus && (rowStep || columnStep)) {
            if (const std::optional<int> next = neighbour(m_solver, *m_focus, rowStep, columnStep))
                m_focus = next;
        }
    }

    GridSolver m_solver;
    std::optional<int> m_focus;
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
