#include "ipuzcommand.h"

#include "crosswordcheck.h"
#include "crossworddocument.h"
#include "ipuzexport.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {
const QString OutputOption = QStringLiteral("output");
}

QString IpuzCommand::name() const
{
    return QStringLiteral("ipuz");
}

QString IpuzCommand::description() const
{
    return QStringLiteral("Записать кроссворд в открытом формате ipuz (JSON) для других "
                          "программ.");
}

QString IpuzCommand::argumentSyntax() const
{
    return QStringLiteral("ФАЙЛ.crs");
}

QList<QCommandLineOption> IpuzCommand::options() const
{
    return {QCommandLineOption({QStringLiteral("o"), OutputOption},
                               QStringLiteral("Куда записать (по умолчанию рядом с кроссвордом, "
                                              "с расширением .ipuz; «-» — в стандартный вывод)."),
                               QStringLiteral("ФАЙЛ.ipuz"))};
}

int IpuzCommand::run(const QCommandLineParser &parser, ToolStreams streams)
{
    QString path;
    CrosswordDocument document;
    if (!exportCrossword(parser, QStringLiteral("ipuz"), IpuzExport::toJson, &path, &document,
                         streams))
        return ToolExit::Failed;
    // Written all the same: the teacher may want to finish it elsewhere.
    const qsizetype problems = CrosswordCheck(document).problems().size();
    if (problems > 0)
        streams.err << QStringLiteral("Внимание: в кроссворде найдены ошибки (%1), файл ipuz "
                                      "записан с ними. Подробности: kvarcella-tool check «%2»")
                           .arg(problems)
                           .arg(CrosswordCheck::printable(path))
                    << Qt::endl;
    return ToolExit::Ok;
}
