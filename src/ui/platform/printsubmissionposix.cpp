#include "printsubmission.h"

#include <QPrinter>

#include <dlfcn.h>

namespace {

// IPP status codes (RFC 8011, and CUPS's own), as cupsLastError() gives them.
QString statusReason(int status)
{
    switch (status) {
    case 0x0401: // forbidden
    case 0x0403: // not authorized
        return QStringLiteral("печатать на нём не разрешено");
    case 0x0402: // not authenticated
    case 0x1000: // authentication cancelled
        return QStringLiteral("служба печати требует войти под именем и паролем");
    case 0x0406: // not found
    case 0x0407: // gone
        return QStringLiteral("такого принтера больше нет");
    case 0x040A: // document format not supported
        return QStringLiteral("он не принимает такие задания");
    case 0x0502: // service unavailable
        return QStringLiteral("служба печати не отвечает");
    case 0x0506: // not accepting jobs
        return QStringLiteral("он сейчас не принимает задания");
    case 0x0507: // busy
        return QStringLiteral("он занят");
    default:
        return QStringLiteral("служба печати ответила ошибкой 0x%1")
            .arg(status, 4, 16, QLatin1Char('0'));
    }
}

} // namespace

QString PrintSubmission::refusal(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return {};
    // The print service's library is loaded by Qt's printing, never by the
    // program itself; its last answer is kept per thread.
    void *cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!cups)
        return {};
    using LastError = int (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const int status = lastError ? lastError() : 0;
    dlclose(cups);
    // Below 0x0400 the job was taken, perhaps with some options changed.
    if (status < 0x0400)
        return {};
    return QStringLiteral("принтер «%1» не принял задание: %2")
        .arg(printer.printerName(), statusReason(status));
}
