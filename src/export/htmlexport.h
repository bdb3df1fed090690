#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// The crossword as one self-contained web page that pupils solve in a browser
// (UTF-8, inline style and script, no request to any server). The page shows
// the grid cut to the cells in use, the numbers and the clue text; it never
// holds the letters, only a salted check value of each, which the page's
// script compares a typed letter against. It also holds the grid's words,
// each with the line of the clue text that is its clue, if any.
class HtmlExport
{
public:
    // Combining marks kept after one letter of the page's text (a stress mark
    // needs one): thousands on one letter stall or crash the browser's layout.
    static constexpr int MaxCombiningMarks = 4;

    // title: the crossword's name, normally its file name without ".crs".
    static QByteArray toHtml(const CrosswordDocument &document, const QString &title);

    // Playable cells, in reading order, whose answer is not exactly one letter
    // of the page's keyboard: the page can never count them right.
    static QList<int> unmatchableCells(const CrosswordDocument &document);
    // How many combining marks toHtml leaves out of the title, the numbers and
    // the clue text (beyond MaxCombiningMarks after one letter).
    static qsizetype droppedCombiningMarks(const CrosswordDocument &document,
                                           const QString &title);

    // The check value of a letter in a cell under a salt: FNV-1a over the
    // UTF-16 code units of "salt|cell|letter", then a final mix. The page's
    // script computes the same; it only hides the letters from a glance.
    static quint32 checkValue(const QString &salt, int cell, const QString &letter);
};
