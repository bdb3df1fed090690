#include "commandline.h"
#include "console.h"
#include "designfonts.h"
#include "program.h"
#include "programarguments.h"
#include "qtplatform.h"
#include "russiantranslation.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstdlib>

namespace {

bool qtStarted = false;
const CommandLine *startingLine = nullptr;
CommandLine::StartFailure startFailure;

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

// Qt's notes on the terminal (a missing runtime folder, a font fallback) are
// in English and mean nothing to a pupil. A fatal one while Qt starts is the
// display or the platform refusing the program: said in Russian, naming what
// Qt tried (its notes before that, by category), without a core dump.
void quietQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &)
{
    if (!qtStarted && context.category) {
        const QByteArrayView category(context.category);
        startFailure.x11 = startFailure.x11 || category == "qt.qpa.xcb";
        startFailure.wayland = startFailure.wayland || category.startsWith("qt.qpa.wayland");
    }
    if (type != QtFatalMsg)
        return;
    if (!qtStarted && startingLine) {
        print(stderr, startingLine->startFailedText(QProcessEnvironment::systemEnvironment(),
                                                    startFailure));
        std::_Exit(1);
    }
    print(stderr, QStringLiteral("kvarcella: внутренняя ошибка библиотеки Qt, программа "
                                 "остановлена.\n"));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietQtMessages);
    const Console console;

    const CommandLine line =
        CommandLine::parse(ProgramArguments::get(argc, argv), QDir::currentPath());
    switch (line.action()) {
    case CommandLine::Action::Help:
        print(stdout, CommandLine::helpText());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Action::Wrong:
        print(stderr, QStringLiteral("kvarcella: %1\nСправка: kvarcella --help\n").arg(line.error()));
        return 2;
    case CommandLine::Action::Start:
        break;
    }
    if (!line.hasDisplay(QProcessEnvironment::systemEnvironment())) {
        print(stderr, CommandLine::noDisplayText());
        return 1;
    }

    startingLine = &line;
    QApplication app(argc, argv);
    qtStarted = true;
    // The windows decide when the program ends, not the last visible window.
    QApplication::setQuitOnLastWindowClosed(false);
    DesignFonts::install();
    RussianTranslation::install();

    QtPlatform platform;
    Program program(platform);
    if (line.fileName().isEmpty())
        program.start();
    else
        program.startWith(line.fileName(), line.fileNameProblem());
    return QApplication::exec();
}
