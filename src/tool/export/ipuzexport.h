#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QString>

// The crossword in the open ipuz format (JSON, UTF-8, kind crossword#1) on the
// full 20 x 20 grid: blank squares are omitted cells (null), numbers come from
// the number layer, the solution holds the letters in upper case. Clues in the
// usual form go to "Across" and "Down"; any other clue text goes whole to "notes".
class IpuzExport
{
public:
    // title: the crossword's name, normally its file name without ".crs".
    static QByteArray toJson(const CrosswordDocument &document, const QString &title);
};
