#include "pdfcommand.h"

#include "crossworddocument.h"
#include "pdfexport.h"
#include "terminalprogress.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
const QString OutputOption = QStringLiteral("output");
const QString NoAnswersOption = QStringLiteral("no-answers");
const QString OpenOption = QStringLiteral("open");

// Next to the crossword when that folder takes new files, else in a new
// folder of our own under the temporary folder: a name there that anyone can
// guess could be a file or link someone else put in place.
QString openTarget(const QString &defaultPath)
{
    const QFileInfo info(defaultPath);
    if (QFileInfo(info.absolutePath()).isWritable() && (!info.exists() || info.isWritable()))
        return defaultPath;
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("kvarcella-XXXXXX")));
    if (!folder.isValid())
        return defaultPath; // writing there fails with the reason
    folder.setAutoRemove(false);
    return folder.filePath(info.fileName());
}
} // namespace

QString PdfCommand::name() const
{
    return QStringLiteral("pdf");
}

QString PdfCommand::description() const
{
    return QStringLiteral("Записать кроссворд в PDF для печати: лист для учеников и лист с "
                          "ответами.");
}

QString PdfCommand::argumentSyntax() const
{
    return QStringLiteral("ФАЙЛ.crs");
}

QList<QCommandLineOption> PdfCommand::options() const
{
    return {
        QCommandLineOption({QStringLiteral("o"), OutputOption},
                           QStringLiteral("Куда записать (по умолчанию рядом с кроссвордом, с "
                                          "расширением .pdf; «-» — в стандартный вывод)."),
                           QStringLiteral("ФАЙЛ.pdf")),
        QCommandLineOption(NoAnswersOption, QStringLiteral("Не добавлять лист с ответами.")),
        QCommandLineOption(OpenOption,
                           QStringLiteral("Открыть PDF в программе просмотра; если папка "
                                          "кроссворда закрыта для записи, PDF пишется во "
                                          "временную папку.")),
    };
}

int PdfCommand::run(const QCommandLineParser &parser, ToolStreams streams)
{
    QString path;
    CrosswordDocument document;
    if (!readCrosswordArgument(parser, &path, &document, streams))
        return ToolExit::Failed;

    const bool open = parser.isSet(OpenOption);
    QString output = parser.isSet(OutputOption) ? parser.value(OutputOption)
                                                : siblingPath(path, QStringLiteral("pdf"));
    if (open && !parser.isSet(OutputOption))
        output = openTarget(output);
    if (open && isStandardOutput(output)) {
        streams.err << QStringLiteral("С --open PDF нельзя записать в стандартный вывод: его "
                                      "нужно открыть из файла.")
                    << Qt::endl;
        return ToolExit::Failed;
    }

    if (outputIsInput(path, output, streams))
        return ToolExit::Failed;
    PdfExport::Options options;
    options.title = crosswordTitle(path);
    options.answers = !parser.isSet(NoAnswersOption);
    TerminalProgress progress(streams, QStringLiteral("Запись PDF"));
    options.progress = [&progress](qint64 done, qint64 total) { progress.report(done, total); };
    const QByteArray pdf = PdfExport::render(document, options);
    progress.finish();
    if (!writeOutput(output, pdf, streams))
        return ToolExit::Failed;
    streams.out << writtenLine(output) << u'\n';

    if (open && !QProcess::startDetached(QStringLiteral("xdg-open"),
                                         {QFileInfo(output).absoluteFilePath()})) {
        streams.err << QStringLiteral("Не удалось открыть файл «%1»: не запускается программа "
                                      "xdg-open.")
                           .arg(output)
                    << Qt::endl;
        return ToolExit::Failed;
    }
    return ToolExit::Ok;
}
