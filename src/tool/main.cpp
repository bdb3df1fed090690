#include "checkcommand.h"
#include "commandline.h"
#include "console.h"
#include "crosswordcheck.h"
#include "htmlcommand.h"
#include "ipuzcommand.h"
#include "makecommand.h"
#include "paintingplatform.h"
#include "pdfcommand.h"
#include "programarguments.h"
#include "tooldispatch.h"
#include "utf8text.h"

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

// The argument with every byte that is not UTF-8 written as \xNN, or "" when
// it is all UTF-8. Qt would turn such bytes into U+FFFD, so the file named
// could never be opened and would be reported as missing.
QString notUtf8(QByteArrayView argument)
{
    bool bad = false;
    QString shown;
    for (qsizetype at = 0; at < argument.size();) {
        const int length = Utf8Text::sequenceLength(argument, at);
        if (length == 0) {
            bad = true;
            shown += QStringLiteral("\\x%1").arg(
                QString::number(static_cast<unsigned char>(argument[at]), 16).toUpper());
            ++at;
        } else {
            shown += QString::fromUtf8(argument.sliced(at, length));
            at += length;
        }
    }
    return bad ? CrosswordCheck::printable(shown) : QString();
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

    // Arguments after the command are file names (or numbers): treated as the
    // main program treats its file, a local file:// address included.
    const Console console;
    const QList<QByteArray> given = ProgramArguments::get(argc, argv);
    QStringList arguments;
    for (qsizetype i = 0; i < given.size(); ++i) {
        const CommandLine::NamedFile file = CommandLine::namedFile(given[i]);
        if (i >= 2 && (file.notUtf8 || !notUtf8(given[i]).isEmpty())) {
            const QString shown = notUtf8(given[i]);
            QTextStream(stderr) << QStringLiteral("«%1»: имя файла записано не в кодировке UTF-8, "
                                                  "а kvarcella-tool понимает только имена в "
                                                  "UTF-8. Переименуйте файл или выберите другое "
                                                  "имя.")
                                       .arg(shown.isEmpty() ? QString::fromUtf8(given[i]) : shown)
                                << Qt::endl;
            return ToolExit::Failed;
        }
        if (i < 2 || given[i].startsWith('-')) {
            arguments.append(QString::fromUtf8(given[i]));
        } else if (!file.error.isEmpty()) {
            QTextStream(stderr) << file.error << Qt::endl;
            return ToolExit::Failed;
        } else {
            arguments.append(file.name);
        }
    }
    const ToolCommand *command = dispatch.commandFor(arguments);

    // The tool never shows a window: painting runs on a platform that needs
    // no display (PaintingPlatform), so it works the same with or without one.
    std::unique_ptr<QCoreApplication> app;
    if (command && command->needsGui()) {
        const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        const QByteArray chosenPlatform = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", PaintingPlatform::name());
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
    return dispatch.run(arguments, {out, err, Console::isTerminal(stderr)});
}
