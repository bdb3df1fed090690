#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The crossword as one self-contained web page that pupils solve in a browser
// (UTF-8, inline style and script, no request to any server). The page shows
// the grid cut to the cells in use, the numbers and the clue text; it never
// holds the letters, only a salted check value of each, which the page's
// script compares a typed letter against.
class HtmlExport
{
public:
    // title: the crossword's name, normally its file name without ".crs".
    static QByteArray toHtml(const CrosswordDocument &document, const QString &title);

    // The check value of a letter in a cell under a salt: FNV-1a over the
    // UTF-16 code units of "salt|cell|letter", then a final mix. The page's
    // script computes the same; it only hides the letters from a glance.
    static quint32 checkValue(const QString &salt, int cell, const QString &letter);
};
