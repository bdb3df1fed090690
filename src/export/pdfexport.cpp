#include "pdfexport.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

// Page geometry in points (1/72 inch): A4 with 15 mm margins.
constexpr qreal PageWidth = 595.276;
constexpr qreal PageHeight = 841.89;
constexpr qreal Margin = 42.52;
constexpr qreal ContentWidth = PageWidth - 2 * Margin;
constexpr qreal TitleHeight = 30;
constexpr qreal PupilLineHeight = 30;
constexpr qreal GridTop = Margin + TitleHeight + PupilLineHeight + 8;
// A small crossword still prints with squares a child can write in, not posters.
constexpr qreal MaxCellSize = 40;
// Squares are made smaller to bring the clues onto the worksheet, but not below this.
constexpr qreal MinWritableCellSize = 26;
// Page 1 keeps room below the grid for the first lines of the clues.
constexpr qreal MinClueRoom = 80;
constexpr qreal ClueGap = 16;
constexpr qreal ClueFontSize = 12;
constexpr qreal ClueLineHeight = 14;
constexpr int ClueCharactersPerLine = 85;

// What the PDF counts in; a printer or a preview counts in its own resolution.
constexpr int PdfResolution = 1200;

QFont makeFont(const QString &family, qreal points, bool bold = false)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Keep glyph outlines exact in the PDF rather than hinted for a screen.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont sansFont(qreal points, bool bold = false)
{
    return makeFont(QStringLiteral("Liberation Sans"), points, bold);
}

QFont serifFont(qreal points)
{
    return makeFont(QStringLiteral("Liberation Serif"), points);
}

// Draws in points on a paged device that counts in its own dots per inch, the
// page's top-left corner at the origin. A page smaller than A4 (a printer set
// to Letter, or to landscape) gets the A4 page shrunk to fit.
class PageWriter
{
public:
    explicit PageWriter(QPagedPaintDevice *device)
        : m_device(device), m_dpi(device->logicalDpiY())
    {
    }

    bool begin()
    {
        if (!m_painter.begin(m_device))
            return false;
        // The device rounds the page to whole dots; a point less is still A4.
        const qreal width = m_device->width() + device(1);
        const qreal height = m_device->height() + device(1);
        m_fit = std::min({1.0, width / device(PageWidth), height / device(PageHeight)});
        if (m_fit < 1.0)
            m_painter.scale(m_fit, m_fit);
        m_painter.setRenderHint(QPainter::Antialiasing);
        return true;
    }
    bool end() { return m_painter.end(); }

    QPainter &painter() { return m_painter; }
    qreal device(qreal points) const { return points * m_dpi / 72.0; }
    QRectF device(const QRectF &points) const
    {
        return {device(points.x()), device(points.y()), device(points.width()),
                device(points.height())};
    }
    qreal points(qreal device) const { return device * 72.0 / m_dpi; }
    void newPage()
    {
        m_device->newPage();
        if (m_fit < 1.0) {
            m_painter.resetTransform();
            m_painter.scale(m_fit, m_fit);
        }
    }

private:
    QPagedPaintDevice *m_device;
    QPainter m_painter;
    int m_dpi;
    qreal m_fit = 1.0;
};

QRectF cellRect(const PdfExport::GridPlacement &grid, int cell)
{
    const int row = CrosswordDocument::rowOf(cell) - grid.firstRow;
    const int column = CrosswordDocument::columnOf(cell) - grid.firstColumn;
    return {grid.rect.x() + column * grid.cellSize, grid.rect.y() + row * grid.cellSize,
            grid.cellSize, grid.cellSize};
}

void drawGrid(PageWriter &page, const CrosswordDocument &document,
              const PdfExport::GridPlacement &grid, bool withLetters)
{
    QPainter &painter = page.painter();
    QPen pen(Qt::black);
    pen.setWidthF(page.device(1.0));
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    const QFont numberFont = sansFont(std::max(5.0, grid.cellSize * 0.28));
    const QFont letterFont = sansFont(grid.cellSize * 0.55, true);
    const qreal inset = grid.cellSize * 0.07;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!document.isPlayable(cell))
            continue;
        const QRectF square = cellRect(grid, cell);
        painter.drawRect(page.device(square));
        if (!document.number(cell).isEmpty()) {
            painter.setFont(numberFont);
            painter.drawText(page.device(square.adjusted(inset, inset * 0.5, 0, 0)),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             document.number(cell));
        }
        if (withLetters) {
            painter.setFont(letterFont);
            // Lowered a little so that the letter clears the number in the corner.
            painter.drawText(page.device(square.adjusted(0, grid.cellSize * 0.12, 0, 0)),
                             Qt::AlignCenter | Qt::TextSingleLine, document.letter(cell).toUpper());
        }
    }
}

void drawTitle(PageWriter &page, const QString &title)
{
    QPainter &painter = page.painter();
    const QFont font = sansFont(16, true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    const QString shown =
        metrics.elidedText(title, Qt::ElideRight, page.device(ContentWidth));
    painter.drawText(page.device(QRectF(Margin, Margin, ContentWidth, TitleHeight)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
}

void drawPupilLine(PageWriter &page)
{
    QPainter &painter = page.painter();
    const QFont font = sansFont(11);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const qreal baseline = Margin + TitleHeight + 16;
    const auto labelledLine = [&](const QString &label, qreal left, qreal right) {
        painter.drawText(QPointF(page.device(left), page.device(baseline)), label);
        const qreal lineStart = left + page.points(metrics.horizontalAdvance(label)) + 6;
        QPen pen(Qt::black);
        pen.setWidthF(page.device(0.6));
        painter.setPen(pen);
        painter.drawLine(QPointF(page.device(lineStart), page.device(baseline + 2)),
                         QPointF(page.device(right), page.device(baseline + 2)));
        painter.setPen(Qt::black);
    };
    const qreal classStart = Margin + ContentWidth * 0.72;
    labelledLine(QStringLiteral("Фамилия, имя:"), Margin, classStart - 14);
    labelledLine(QStringLiteral("Класс:"), classStart, Margin + ContentWidth);
}

// The lines of the clue text, without the empty ones at its end: they would
// only push the text onto a page of its own.
QStringList splitLines(const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    while (normalized.endsWith(u'\n'))
        normalized.chop(1);
    return normalized.isEmpty() ? QStringList() : normalized.split(u'\n');
}

// Qt looks for a word boundary in the whole rest of a word before it breaks
// the word anywhere, for every line: a megabyte without a space took seconds
// per page. A word longer than any line breaks anywhere regardless.
bool hasOverlongWord(QStringView paragraph)
{
    constexpr qsizetype LongestWord = 256;
    qsizetype run = 0;
    for (const QChar c : paragraph) {
        run = c == u' ' || c == u'\t' ? 0 : run + 1;
        if (run > LongestWord)
            return true;
    }
    return false;
}

// The clue text from the top edge down, wrapped to the content width; continues
// at the top of a new page whenever a line would cross the bottom margin.
void drawClues(PageWriter &page, const QString &text, qreal top,
               const PdfExport::Progress &progress)
{
    QPainter &painter = page.painter();
    const QFont font = serifFont(ClueFontSize);
    painter.setFont(font);
    painter.setPen(Qt::black);

    // Laying a character out and drawing it count one step each.
    const QStringList paragraphs = splitLines(text);
    qint64 total = 0;
    for (const QString &paragraph : paragraphs)
        total += 2 * paragraph.size();
    qint64 done = 0;
    const auto report = [&](qint64 step) {
        done += step;
        if (progress)
            progress(done, total);
    };

    const qreal bottom = page.device(PageHeight - Margin);
    qreal y = page.device(top);
    for (const QString &paragraph : paragraphs) {
        QTextLayout layout(paragraph, font, painter.device());
        QTextOption option;
        option.setWrapMode(hasOverlongWord(paragraph) ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        QList<QTextLine> lines;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(page.device(ContentWidth));
            line.setPosition(QPointF(0, 0));
            lines.append(line);
            report(line.textLength());
        }
        layout.endLayout();
        for (const QTextLine &line : lines) {
            if (y + line.height() > bottom) {
                page.newPage();
                painter.setFont(font);
                y = page.device(Margin);
            }
            line.draw(&painter, QPointF(page.device(Margin), y));
            y += line.height();
            report(line.textLength());
        }
    }
}

// Roughly how tall the clue text prints; exact wrapping needs the fonts, and the
// grid must be placed without them.
qreal estimatedClueHeight(const QString &text)
{
    qreal lines = 0;
    for (const QString &paragraph : splitLines(text))
        lines += std::max<qsizetype>(1, (paragraph.size() + ClueCharactersPerLine - 1) /
                                            ClueCharactersPerLine);
    return lines * ClueLineHeight;
}

} // namespace

PdfExport::GridPlacement PdfExport::worksheetGrid(const CrosswordDocument &document)
{
    int firstRow = CrosswordDocument::Rows;
    int lastRow = -1;
    int firstColumn = CrosswordDocument::Columns;
    int lastColumn = -1;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!document.isPlayable(cell))
            continue;
        firstRow = std::min(firstRow, CrosswordDocument::rowOf(cell));
        lastRow = std::max(lastRow, CrosswordDocument::rowOf(cell));
        firstColumn = std::min(firstColumn, CrosswordDocument::columnOf(cell));
        lastColumn = std::max(lastColumn, CrosswordDocument::columnOf(cell));
    }
    GridPlacement grid;
    if (lastRow < 0)
        return grid;
    grid.firstRow = firstRow;
    grid.firstColumn = firstColumn;
    grid.rows = lastRow - firstRow + 1;
    grid.columns = lastColumn - firstColumn + 1;
    const qreal room = PageHeight - Margin - GridTop - ClueGap;
    const qreal byWidth = std::min(ContentWidth / grid.columns, MaxCellSize);
    const qreal clueRoom = std::clamp(estimatedClueHeight(document.clueText()), MinClueRoom, room);
    grid.cellSize =
        std::max(std::min(byWidth, (room - clueRoom) / grid.rows),
                 std::min({byWidth, MinWritableCellSize, (room - MinClueRoom) / grid.rows}));
    const qreal width = grid.cellSize * grid.columns;
    grid.rect =
        QRectF(Margin + (ContentWidth - width) / 2, GridTop, width, grid.cellSize * grid.rows);
    return grid;
}

bool PdfExport::paint(QPagedPaintDevice *device, const CrosswordDocument &document,
                      const Options &options)
{
    PageWriter page(device);
    if (!page.begin())
        return false;
    const GridPlacement grid = worksheetGrid(document);
    if (options.worksheet) {
        drawTitle(page, options.title);
        drawPupilLine(page);
        drawGrid(page, document, grid, false);
        const qreal cluesTop = grid.rows > 0 ? grid.rect.bottom() + ClueGap : GridTop;
        drawClues(page, document.clueText(), cluesTop, options.progress);
    }
    if (options.answers) {
        if (options.worksheet)
            page.newPage();
        drawTitle(page, options.title.isEmpty() ? QStringLiteral("Ответы")
                                                : QStringLiteral("Ответы: ") + options.title);
        drawGrid(page, document, grid, true);
    }
    return page.end();
}

QByteArray PdfExport::render(const CrosswordDocument &document, const Options &options)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(PdfResolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(options.title);
        writer.setCreator(QStringLiteral("kvarcella-tool"));
        paint(&writer, document, options);
    }
    return bytes;
}
