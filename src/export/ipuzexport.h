#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QString>

// The crossword in the open ipuz format (JSON, UTF-8, kind crossword#1) on the
// full 20 x 20 grid: blank squares are omitted cells (null), numbers of one or
// two digits come from the number layer (0 for any other), the solution holds
// single letters in upper case (0 for a cell holding anything else). Clues in
// the usual form go to "Across" and "Down"; any other clue text goes whole to
// "notes". Every text is written as ipuz wants it, as HTML.
class IpuzExport
{
public:
    // title: the crossword's name, normally its file name without ".crs".
    static QByteArray toJson(const CrosswordDocument &document, const QString &title);
};
