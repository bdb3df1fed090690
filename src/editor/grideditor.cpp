#include "grideditor.h"

namespace {

// Checked in every build: a bad index must stop the program, never read past the table.
void requireIndex(int cell)
{
    if (!CrosswordDocument::isValidIndex(cell))
        qFatal("GridEditor: cell index %d is outside 0..399", cell);
}

constexpr int FirstDigitKey = 1;
constexpr int LastDigitKey = 10;

} // namespace

GridEditor::GridEditor()
    : m_letterKeyboardPosition{GridGeometry::letterKeyboardRect.left,
                               GridGeometry::letterKeyboardRect.top},
      m_numberPadPosition{GridGeometry::numberPadRect.left, GridGeometry::numberPadRect.top}
{
    m_shown.fill(true);
}

void GridEditor::hidePopups()
{
    m_letterKeyboardShown = false;
    m_numberPadShown = false;
}

void GridEditor::openLetterKeyboard(int cell)
{
    requireIndex(cell);
    m_numberPadShown = false;
    m_selectedCell = static_cast<qint16>(cell);
    m_letterKeyboardPosition = GridGeometry::letterKeyboardPosition(cell);
    m_letterKeyboardShown = true;
}

void GridEditor::openNumberPad(int cell)
{
    requireIndex(cell);
    m_letterKeyboardShown = false;
    m_selectedCell = static_cast<qint16>(cell);
    m_numberPadPosition = GridGeometry::numberPadPosition(cell);
    m_numberPadShown = true;
    // A display left over from a pad hidden without key 12 is dropped here.
    m_padDisplay = m_layers.number(cell);
}

void GridEditor::pressLetterKey(int key)
{
    // Stops the program for a key outside 1..34.
    const QString caption = GridGeometry::letterKeyCaption(key);
    // The selection may be stale once the keyboard is gone.
    if (!m_letterKeyboardShown)
        return;

    if (key != GridGeometry::CloseKey)
        m_layers.setLetter(m_selectedCell, caption);
    m_letterKeyboardShown = false;
}

void GridEditor::pressPadKey(int key)
{
    // A hidden pad's display was abandoned and must never reach a cell.
    if (!m_numberPadShown)
        return;

    const bool digit = key >= FirstDigitKey && key <= LastDigitKey;
    if (digit) {
        const QString typed = GridGeometry::padKeyCaption(key);
        if (m_padDisplay.size() == 1)
            m_padDisplay += typed;
        else if (m_padDisplay.size() < 3)
            m_padDisplay = typed;
        // Three or more characters only come from a file; digits leave them be.
    } else if (key == GridGeometry::PadClearKey) {
        m_padDisplay.clear();
    } else if (key == GridGeometry::PadDisplayKey) {
        m_layers.setNumber(m_selectedCell, m_padDisplay);
        m_padDisplay.clear();
        m_numberPadShown = false;
    }
}

void GridEditor::showPuzzle()
{
    hidePopups();
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (m_layers.letter(cell).isEmpty())
            m_shown[static_cast<size_t>(cell)] = false;
    }
}

void GridEditor::backToGrid()
{
    hidePopups();
    m_shown.fill(true);
}

const QString &GridEditor::letter(int cell) const
{
    return m_layers.letter(cell);
}

const QString &GridEditor::number(int cell) const
{
    return m_layers.number(cell);
}

bool GridEditor::isShown(int cell) const
{
    requireIndex(cell);
    return m_shown[static_cast<size_t>(cell)];
}

CrosswordDocument GridEditor::toDocument(const QString &clueText) const
{
    CrosswordDocument document = m_layers;
    document.setClueText(clueText);
    return document;
}

void GridEditor::loadDocument(const CrosswordDocument &document)
{
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        m_shown[static_cast<size_t>(cell)] = true;
        m_layers.setLetter(cell, document.letter(cell));
        m_layers.setNumber(cell, document.number(cell));
    }
}
