#pragma once

#include <QString>

#include <array>

// One crossword on the fixed 20 x 20 grid: per cell a letter layer and a number
// layer (both text, "" when empty), plus the free clue text with CR LF breaks.
// Cells are addressed by a single row-major index 0..399; an index outside that
// range is a programming error and stops the program in every build.
class CrosswordDocument
{
public:
    static constexpr int Rows = 20;
    static constexpr int Columns = 20;
    static constexpr int CellCount = Rows * Columns;

    CrosswordDocument() = default;

    const QString &letter(int cell) const;
    void setLetter(int cell, const QString &letter);
    const QString &number(int cell) const;
    void setNumber(int cell, const QString &number);

    // A cell takes part in the puzzle exactly when its letter layer is not empty.
    bool isPlayable(int cell) const;

    const QString &clueText() const { return m_clueText; }
    void setClueText(const QString &text) { m_clueText = text; }

    static int rowOf(int cell);
    static int columnOf(int cell);
    static int indexOf(int row, int column);
    static bool isValidIndex(int cell) { return cell >= 0 && cell < CellCount; }

    bool operator==(const CrosswordDocument &other) const = default;

private:
    struct Cell
    {
        QString letter;
        QString number;
        bool operator==(const Cell &other) const = default;
    };

    const Cell &cellAt(int cell) const;
    Cell &cellAt(int cell);

    std::array<Cell, CellCount> m_cells;
    QString m_clueText;
};
