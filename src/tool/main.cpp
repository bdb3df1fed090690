#include "checkcommand.h"
#include "htmlcommand.h"
#include "ipuzcommand.h"
#include "makecommand.h"
#include "pdfcommand.h"
#include "tooldispatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <QtGlobal>

#include <cstdio>
#include <memory>

namespace {

// Qt's own notes (a missing runtime folder, font fallbacks) are in English and
// mean nothing to a teacher; the tool's messages go to its streams instead.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietQtMessages);

    ToolDispatch dispatch;
    dispatch.add(std::make_unique<PdfCommand>());
    dispatch.add(std::make_unique<IpuzCommand>());
    dispatch.add(std::make_unique<CheckCommand>());
    dispatch.add(std::make_unique<MakeCommand>());
    dispatch.add(std::make_unique<HtmlCommand>());

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ToolCommand *command = dispatch.commandFor(arguments);

    // The tool never shows a window: painting runs on the offscreen platform,
    // so it works the same with or without a display.
    std::unique_ptr<QCoreApplication> app;
    if (command && command->needsGui()) {
        const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        const QByteArray chosenPlatform = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The PDF viewer that --open starts must appear on the desktop, not offscreen.
        if (platformChosen)
            qputenv("QT_QPA_PLATFORM", chosenPlatform);
        else
            qunsetenv("QT_QPA_PLATFORM");
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    return dispatch.run(QCoreApplication::arguments(), {out, err});
}
