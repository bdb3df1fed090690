#pragma once

#include "crossworddocument.h"

#include <QList>
#include <QString>

// One word of the grid: a run of two or more playable cells across or down,
// bounded by blank squares or the edge of the grid.
struct GridWord
{
    enum class Direction { Across, Down };

    int startCell = 0; // 0..399
    Direction direction = Direction::Across;
    int length = 0;  // 2..20
    QString letters; // the cells' letter layers joined, exactly as stored
    QString number;  // the start cell's number layer as stored, "" when it has none

    // The cell at position 0..length-1 of the word.
    int cell(int position) const;
    // The number as a value, or -1 when the number layer is not one or two digits
    // (so "05" and "5" are the same number).
    int numberValue() const;

    bool operator==(const GridWord &other) const = default;
};

// The words of a crossword, as the grid shows them: what the number layer and
// the clues ought to agree with.
class GridWords
{
public:
    explicit GridWords(const CrosswordDocument &document);

    // Across words in reading order of their start cells, then the down words.
    const QList<GridWord> &words() const { return m_words; }
    QList<GridWord> across() const;
    QList<GridWord> down() const;

    // Whether a word across or down starts on the cell.
    bool startsWord(int cell) const;

    // The value of a number layer: -1 unless it is one or two decimal digits.
    static int numberValue(const QString &number);

private:
    QList<GridWord> m_words;
};
