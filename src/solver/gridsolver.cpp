#include "gridsolver.h"

#include <QtGlobal>

namespace {

QString crLf()
{
    return QStringLiteral("\r\n");
}

// Checked in every build: a bad index must stop the program, never read past the table.
void requireIndex(int cell)
{
    if (!CrosswordDocument::isValidIndex(cell))
        qFatal("GridSolver: cell index %d is outside 0..399", cell);
}

} // namespace

const GridSolver::PaneStyle GridSolver::ClueStyle{Alignment::Left, 12, {0, 0, 0}};
const GridSolver::PaneStyle GridSolver::ResultStyle{Alignment::Centre, 22, {0, 0, 255}};

QString GridSolver::successText()
{
    return QStringLiteral("Молодец!") + crLf() + QStringLiteral("Ты разгадал весь кроссворд.");
}

QString GridSolver::failureText(qint16 mistakes)
{
    return QStringLiteral("К сожалению, ты не смог разгадать весь кроссворд.") + crLf() + crLf() +
           QStringLiteral("Допущено ошибок - ") + numberText(mistakes) + crLf() + crLf() +
           hintText();
}

QString GridSolver::hintText()
{
    return QStringLiteral("Для дальнейшего редактирования нажми кнопку [назад]");
}

QString GridSolver::numberText(qint32 value)
{
    return QLatin1Char(' ') + QString::number(value);
}

QString GridSolver::historyLine(qint32 attempts, qint16 mistakes)
{
    return QStringLiteral("     ") + numberText(attempts) + QStringLiteral("     -     ") +
           numberText(mistakes);
}

GridSolver::GridSolver()
{
    loadPuzzle(CrosswordDocument());
}

void GridSolver::loadPuzzle(const CrosswordDocument &document)
{
    // Clue pane in clue style; history cleared.
    m_cluePaneStyle = ClueStyle;
    m_history.clear();
    m_historyEditText.clear();

    // Counters reset; "назад" disabled, "закончить" enabled.
    m_mistakes = 0;
    m_attempts = 0;
    m_state = State::Solving;

    // The crossword, and its clue text in the pane.
    m_puzzle = document;
    m_cluePaneText = m_puzzle.clueText();

    // Every cell empty, unmarked and enabled. Which labels show follows from
    //    the loaded layers (isPlayable, isNumberShown).
    for (CellState &cell : m_cells)
        cell = CellState();

    // A freshly loaded window has its keyboard hidden at the design place.
    // The selected cell is deliberately not reset: a click always sets it first.
    m_keyboardShown = false;
    m_keyboardPosition = {GridGeometry::letterKeyboardRect.left,
                          GridGeometry::letterKeyboardRect.top};
}

bool GridSolver::selectCell(int cell)
{
    requireIndex(cell);
    // No cell takes clicks in Solved, and hidden cells never do.
    if (m_state == State::Solved || !isPlayable(cell))
        return false;

    m_selectedCell = static_cast<qint16>(cell);
    if (isFinishEnabled()) {
        m_keyboardPosition = GridGeometry::letterKeyboardPosition(cell);
        m_keyboardShown = true;
        return true;
    }
    // Reviewing: the hint, in the result style that the pane already has.
    m_cluePaneText = hintText();
    return false;
}

void GridSolver::pressLetterKey(int key)
{
    // Stops the program for a key outside 1..34.
    const QString caption = GridGeometry::letterKeyCaption(key);
    // Only an open keyboard has keys to press, and it opens only in Solving.
    if (!m_keyboardShown || m_state != State::Solving)
        return;

    if (key != GridGeometry::CloseKey)
        cellAt(m_selectedCell).entered = caption;
    hideKeyboard();
}

void GridSolver::finishCheck()
{
    if (m_state != State::Solving)
        return;

    hideKeyboard();

    // Exact comparison of every playable cell; m_mistakes is 0 here.
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        if (!isPlayable(i))
            continue;
        CellState &cell = cellAt(i);
        if (cell.entered == m_puzzle.letter(i)) {
            cell.mark = Mark::Correct;
        } else {
            cell.mark = Mark::Wrong;
            ++m_mistakes;
        }
    }

    // Result style; "закончить" disabled (it stays so in both outcomes below).
    m_cluePaneStyle = ResultStyle;

    ++m_attempts;

    m_historyEditText = historyLine(m_attempts, m_mistakes);
    m_history.append(m_historyEditText);

    if (m_mistakes == 0) {
        // Everything locked.
        m_cluePaneText = successText();
        for (CellState &cell : m_cells)
            cell.enabled = false;
        m_state = State::Solved;
    } else {
        m_cluePaneText = failureText(m_mistakes);
        m_state = State::Reviewing;
    }
}

void GridSolver::backToSolving()
{
    if (m_state != State::Reviewing)
        return;

    // Buttons follow the state, set at the end.
    m_cluePaneStyle = ClueStyle;
    m_cluePaneText = m_puzzle.clueText();
    m_mistakes = 0;
    // Wrong cells are emptied but keep their mark until the next check.
    for (CellState &cell : m_cells) {
        if (cell.mark == Mark::Wrong)
            cell.entered.clear();
    }
    m_state = State::Solving;
}

void GridSolver::hideKeyboard()
{
    m_keyboardShown = false;
}

void GridSolver::setClueFontSize(qreal points)
{
    m_cluePaneStyle.fontSize = points;
}

const QString &GridSolver::answerLetter(int cell) const
{
    return m_puzzle.letter(cell);
}

const QString &GridSolver::cellNumber(int cell) const
{
    return m_puzzle.number(cell);
}

const QString &GridSolver::enteredLetter(int cell) const
{
    return cellAt(cell).entered;
}

GridSolver::Mark GridSolver::mark(int cell) const
{
    return cellAt(cell).mark;
}

bool GridSolver::isCellEnabled(int cell) const
{
    return cellAt(cell).enabled;
}

bool GridSolver::isPlayable(int cell) const
{
    return m_puzzle.isPlayable(cell);
}

bool GridSolver::isNumberShown(int cell) const
{
    return isPlayable(cell) && !m_puzzle.number(cell).isEmpty();
}

const GridSolver::CellState &GridSolver::cellAt(int cell) const
{
    requireIndex(cell);
    return m_cells[static_cast<size_t>(cell)];
}

GridSolver::CellState &GridSolver::cellAt(int cell)
{
    requireIndex(cell);
    return m_cells[static_cast<size_t>(cell)];
}
