#pragma once

#include "crossworddocument.h"

#include <QByteArrayView>
#include <QString>

// How the tool reads a crossword: stricter than the windows, which take
// whatever a hand-edited file holds. Printing or exporting a file that is no
// crossword (a photo, a crossword missing one line, a UTF-16 copy) would give
// pages of noise; such files are refused, naming the first line that is wrong.
//
// A crossword's first 400 lines are its cells, each exactly "letter","number"
// (two quoted fields, no blanks); the clue text follows.
class StrictCrosswordReader
{
public:
    // The first thing wrong with the bytes as a crossword file, as a Russian
    // sentence that names the file; empty when nothing is.
    static QString problem(QByteArrayView bytes, const QString &fileName);

    // Reads the file; false with a Russian message when it cannot be read or
    // is no crossword file. Control characters in the file's name are written
    // as U+XXXX in the message, which goes to a terminal.
    static bool read(const QString &path, CrosswordDocument *document, QString *message);
};
