#include "htmlcommand.h"

#include "crossworddocument.h"
#include "htmlexport.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {
const QString OutputOption = QStringLiteral("output");
}

QString HtmlCommand::name() const
{
    return QStringLiteral("html");
}

QString HtmlCommand::description() const
{
    return QStringLiteral("Записать кроссворд веб-страницей, которую ученики разгадывают в "
                          "любом браузере.");
}

QString HtmlCommand::argumentSyntax() const
{
    return QStringLiteral("ФАЙЛ.crs");
}

QList<QCommandLineOption> HtmlCommand::options() const
{
    return {QCommandLineOption({QStringLiteral("o"), OutputOption},
                               QStringLiteral("Куда записать (по умолчанию рядом с кроссвордом, "
                                              "с расширением .html; «-» — в стандартный вывод)."),
                               QStringLiteral("ФАЙЛ.html"))};
}

int HtmlCommand::run(const QCommandLineParser &parser, ToolStreams streams)
{
    QString path;
    CrosswordDocument document;
    if (!readCrosswordArgument(parser, &path, &document, streams))
        return ToolExit::Failed;
    const QString output = parser.isSet(OutputOption) ? parser.value(OutputOption)
                                                      : siblingPath(path, QStringLiteral("html"));
    if (outputIsInput(path, output, streams))
        return ToolExit::Failed;
    if (!writeOutput(output, HtmlExport::toHtml(document, crosswordTitle(path)), streams))
        return ToolExit::Failed;
    streams.out << writtenLine(output) << u'\n';
    return ToolExit::Ok;
}
