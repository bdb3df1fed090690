#include "crossworddocument.h"

#include <QtGlobal>

namespace {

// Checked in every build: a bad index must stop the program, never read past the table.
void requireIndex(bool valid, int cell)
{
    if (!valid)
        qFatal("CrosswordDocument: cell index %d is outside 0..399", cell);
}

} // namespace

const CrosswordDocument::Cell &CrosswordDocument::cellAt(int cell) const
{
    requireIndex(isValidIndex(cell), cell);
    return m_cells[static_cast<size_t>(cell)];
}

CrosswordDocument::Cell &CrosswordDocument::cellAt(int cell)
{
    requireIndex(isValidIndex(cell), cell);
    return m_cells[static_cast<size_t>(cell)];
}

const QString &CrosswordDocument::letter(int cell) const
{
    return cellAt(cell).letter;
}

void CrosswordDocument::setLetter(int cell, const QString &letter)
{
    cellAt(cell).letter = letter;
}

const QString &CrosswordDocument::number(int cell) const
{
    return cellAt(cell).number;
}

void CrosswordDocument::setNumber(int cell, const QString &number)
{
    cellAt(cell).number = number;
}

bool CrosswordDocument::isPlayable(int cell) const
{
    return !cellAt(cell).letter.isEmpty();
}

int CrosswordDocument::rowOf(int cell)
{
    requireIndex(isValidIndex(cell), cell);
    return cell / Columns;
}

int CrosswordDocument::columnOf(int cell)
{
    requireIndex(isValidIndex(cell), cell);
    return cell % Columns;
}

int CrosswordDocument::indexOf(int row, int column)
{
    requireIndex(row >= 0 && row < Rows && column >= 0 && column < Columns, row * Columns + column);
    return row * Columns + column;
}
