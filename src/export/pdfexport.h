#pragma once

#include "crossworddocument.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <functional>

class QPagedPaintDevice;

// The crossword as A4 pages ready to print. Page 1 is the pupils' worksheet:
// the name, a line for the pupil's name and class, the grid with only the
// playable cells drawn as empty squares with their numbers, and the clue text,
// continued on further pages when long. The answer key follows on a page of
// its own: the same grid with the letters. The same painting serves a PDF, a
// printer and a print preview.
class PdfExport
{
public:
    // Called as the clue text is laid out and drawn, with the steps done and
    // to do: a megabyte of clues takes a second or more.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    struct Options
    {
        QString title;         // the crossword's name
        bool worksheet = true; // the pupils' pages
        bool answers = true;   // the answer key page
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
    // Paints the pages on a device whose page is A4 with its top-left corner at
    // the origin (a printer in full-page mode); a smaller page gets them shrunk
    // to fit. False when the device cannot be painted on (a printer that cannot
    // start the job).
    static bool paint(QPagedPaintDevice *device, const CrosswordDocument &document,
                      const Options &options);

    static GridPlacement worksheetGrid(const CrosswordDocument &document);
};
