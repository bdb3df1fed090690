#pragma once

#include "crosswordmaker.h"

#include <QString>

class WordList;

// What making a crossword from a list did, in Russian, for a teacher to read:
// the same text on the terminal and in the editing window. Lines end with "\n".
class MakerReport
{
public:
    // The list's lines that were left out, each with its reason, and the answers
    // whose "ё" became "е"; "" when there are none.
    static QString listNotes(const WordList &list);
    // How many words were placed, each placed word with its number and first
    // cell, and each word that found no place, with the reason.
    static QString placement(const WordList &list, const CrosswordMaker::Result &result);

    static QString reasonText(CrosswordMaker::Reason reason);
};
