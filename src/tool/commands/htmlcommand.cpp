#include "htmlcommand.h"

#include "crosswordcheck.h"
#include "crossworddocument.h"
#include "htmlexport.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

namespace {
const QString OutputOption = QStringLiteral("output");

// Cells named in one warning; a file read in the wrong encoding can spoil them all.
constexpr qsizetype NamedCells = 10;

QString cellList(const QList<int> &cells)
{
    QStringList places;
    for (qsizetype i = 0; i < cells.size() && i < NamedCells; ++i)
        places.append(CrosswordCheck::cellPlace(cells[i]));
    QString list = places.join(QStringLiteral("; "));
    if (cells.size() > NamedCells)
        list += QStringLiteral(" и ещё %1").arg(cells.size() - NamedCells);
    return list;
}
} // namespace

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
    if (!exportCrossword(parser, QStringLiteral("html"), HtmlExport::toHtml, &path, &document,
                         streams))
        return ToolExit::Failed;
    // Written all the same, as ipuz is: the teacher may mend the crossword and export again.
    const QList<int> unmatchable = HtmlExport::unmatchableCells(document);
    if (!unmatchable.isEmpty())
        streams.err << QStringLiteral("Внимание: ответ в клетках (%1) — не одна строчная буква "
                                      "от «а» до «я» без «ё», на странице его не ввести, и "
                                      "кроссворд там не разгадать. Страница записана. "
                                      "Подробности: kvarcella-tool check «%2»")
                           .arg(cellList(unmatchable), CrosswordCheck::printable(path))
                    << Qt::endl;
    const qsizetype dropped = HtmlExport::droppedCombiningMarks(document, crosswordTitle(path));
    if (dropped > 0)
        streams.err << QStringLiteral("Примечание: после некоторых букв стоит больше %1 знаков "
                                      "ударения или других надстрочных знаков подряд; лишние "
                                      "(%2) на страницу не записаны, иначе браузер зависнет.")
                           .arg(HtmlExport::MaxCombiningMarks)
                           .arg(dropped)
                    << Qt::endl;
    return ToolExit::Ok;
}
