#pragma once

#include "crossworddocument.h"

#include <QString>

// The letters of a crossword drawn as text for a terminal: the whole 20 x 20
// grid with row and column numbers counted from 1, a letter in capitals for
// each playable cell and a dot for the others. Lines end with "\n".
class GridDrawing
{
public:
    static QString draw(const CrosswordDocument &document);
};
