#pragma once

#include "crossworddocument.h"

// Crosswords shared by the tool's tests.

// A small school crossword with nothing wrong: four words, numbered 1 to 4,
// clues in the usual form.
//
//   . . р . . .          1 down  рука
//   . . у . . г          2 down  газета
//   . ш к о л а          3 across школа
//   . . а . . з          4 across тетрадь
//   . . . . . е
//   . . . . . т е т р а д ь
//   . . . . . а
CrosswordDocument cleanCrossword();

// The clean crossword's clue text.
QString cleanClueText();
