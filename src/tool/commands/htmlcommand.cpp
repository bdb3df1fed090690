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
    return exportCrossword(parser, QStringLiteral("html"), HtmlExport::toHtml, &path, &document,
                           streams)
               ? ToolExit::Ok
               : ToolExit::Failed;
}
