#pragma once

#include "crossworddocument.h"

#include <QString>

#include <array>

// The clue of each cell's word or words, as a screen reader gives it for the
// cell: "1 по горизонтали: Мурлычет. 2 по вертикали: Бежит по проводам."
// The words are the grid's runs of letters; their clues are found by number
// under "По горизонтали:" and "По вертикали:" of the clue text, the way
// `kvarcella-tool check` reads them. A word whose clue the text does not hold
// in that form gives its number and direction only; a word without a number
// gives nothing. Made only when a reader asks for a cell's description.
class CellClues
{
public:
    explicit CellClues(const CrosswordDocument &crossword);

    const QString &of(int cell) const;

private:
    std::array<QString, CrosswordDocument::CellCount> m_clues;
};
