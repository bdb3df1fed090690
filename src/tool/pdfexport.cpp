#include "pdfexport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

QByteArray PdfExport::render(const CrosswordDocument &document, const Options &options)
{
    Q_UNUSED(document);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(options.title);
        QPainter painter(&writer);
        painter.drawText(100, 100, options.title);
    }
    return bytes;
}

PdfExport::GridPlacement PdfExport::worksheetGrid(const CrosswordDocument &document)
{
    Q_UNUSED(document);
    return {};
}
