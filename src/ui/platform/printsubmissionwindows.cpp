#include "printsubmission.h"

#include <QPrinter>

QString PrintSubmission::refusal(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return {};
    // The Windows spooler answers while the pages are sent, and Qt keeps that.
    if (printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted)
        return {};
    return QStringLiteral("принтер «%1» не принял задание").arg(printer.printerName());
}
