#include "ipuzcommand.h"

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
    if (!readCrosswordArgument(parser, &path, &document, streams))
        return ToolExit::Failed;
    const QString output = parser.isSet(OutputOption) ? parser.value(OutputOption)
                                                      : siblingPath(path, QStringLiteral("ipuz"));
    if (outputIsInput(path, output, streams))
        return ToolExit::Failed;
    if (!writeOutput(output, IpuzExport::toJson(document, crosswordTitle(path)), streams))
        return ToolExit::Failed;
    streams.out << writtenLine(output) << u'\n';
    return ToolExit::Ok;
}
