#pragma once

#include "crossworddocument.h"

// Crosswords the benchmarks share.
class BenchCrosswords
{
public:
    // The largest crossword a teacher makes: every cell lettered, a number on
    // every fifth, and about 5 KB of clues in the usual form.
    static CrosswordDocument full();
};
