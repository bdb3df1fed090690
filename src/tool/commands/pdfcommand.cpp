#include "pdfcommand.h"

#include "crossworddocument.h"
#include "pdfexport.h"
#include "pdfopener.h"
#include "terminalprogress.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <chrono>

namespace {
const QString OutputOption = QStringLiteral("output");
const QString NoAnswersOption = QStringLiteral("no-answers");
const QString OpenOption = QStringLiteral("open");

// A viewer started by a bare xdg-open keeps it running; one that failed has
// told so well within this (2.5 s measured on a loaded machine).
constexpr std::chrono::seconds ViewerPatience(5);

// Next to the crossword when that folder takes new files, else in the user's
// own folder under the temporary folder, the same for every run: the viewer
// may still show the file, so nothing removes it when the tool ends.
bool openTarget(const QString &defaultPath, QString *target, ToolStreams streams)
{
    const QFileInfo info(defaultPath);
    if (QFileInfo(info.absolutePath()).isWritable() && (!info.exists() || info.isWritable())) {
        *target = defaultPath;
        return true;
    }
    QString folder;
    QString reason;
    if (!PdfOpener::privateFolder(&folder, &reason)) {
        streams.err << QStringLiteral("Папка кроссворда закрыта для записи, а во временную папку "
                                      "«%1» PDF записать нельзя: %2.")
                           .arg(folder, reason)
                    << Qt::endl;
        return false;
    }
    *target = folder + u'/' + info.fileName();
    return true;
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
    if (open && !parser.isSet(OutputOption) && !openTarget(output, &output, streams))
        return ToolExit::Failed;
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

    if (!open)
        return ToolExit::Ok;
    switch (PdfOpener::show(QFileInfo(output).absoluteFilePath(), ViewerPatience)) {
    case PdfOpener::Outcome::Shown:
        return ToolExit::Ok;
    case PdfOpener::Outcome::NoViewer:
        streams.err << QStringLiteral("Не удалось открыть файл «%1»: нет программы, которая "
                                      "показывает файлы PDF.")
                           .arg(shown(output))
                    << Qt::endl;
        break;
    case PdfOpener::Outcome::NoOpener:
        streams.err << QStringLiteral("Не удалось открыть файл «%1»: не запускается %2.")
                           .arg(shown(output), PdfOpener::openerName())
                    << Qt::endl;
        break;
    }
    return ToolExit::Failed;
}
