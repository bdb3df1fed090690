#include "checkcommand.h"
#include "ipuzcommand.h"
#include "makecommand.h"
#include "pdfcommand.h"
#include "tooldispatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    ToolDispatch dispatch;
    dispatch.add(std::make_unique<PdfCommand>());
    dispatch.add(std::make_unique<IpuzCommand>());
    dispatch.add(std::make_unique<CheckCommand>());
    dispatch.add(std::make_unique<MakeCommand>());

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ToolCommand *command = dispatch.commandFor(arguments);

    // The tool never shows a window: painting runs on the offscreen platform,
    // so it works the same with or without a display.
    std::unique_ptr<QCoreApplication> app;
    if (command && command->needsGui()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    return dispatch.run(QCoreApplication::arguments(), {out, err});
}
