#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <functional>

// The crossword as an A4 PDF ready to print. Page 1 is the pupils' worksheet:
// the name, a line for the pupil's name and class, the grid with only the
// playable cells drawn as empty squares with their numbers, and the clue text,
// continued on further pages when long. The answer key follows on a page of
// its own: the same grid with the letters.
class PdfExport
{
public:
    // Called as the clue text is laid out and drawn, with the steps done and
    // to do: a megabyte of clues takes a second or more.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    struct Options
    {
        QString title;       // the crossword's name
        bool answers = true; // add the answer key page
        Progress progress;
    };

    // Where the grid stands on page 1: the smallest block of rows and columns
    // that holds every playable cell, in points (1/72 inch) from the page's
    // top-left corner. Empty when the crossword has no playable cell.
    struct GridPlacement
    {
        QRectF rect;
        int firstRow = 0;
        int firstColumn = 0;
        int rows = 0;
        int columns = 0;
        qreal cellSize = 0; // points
    };

    // Needs a QGuiApplication (fonts).
    static QByteArray render(const CrosswordDocument &document, const Options &options);

    static GridPlacement worksheetGrid(const CrosswordDocument &document);
};
