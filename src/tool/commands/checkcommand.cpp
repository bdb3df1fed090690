#include "checkcommand.h"

#include "crosswordcheck.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {
const QString WordsOption = QStringLiteral("words");
}

QString CheckCommand::name() const
{
    return QStringLiteral("check");
}

QString CheckCommand::description() const
{
    return QStringLiteral("Проверить кроссворд: номера, слова, вопросы и буквы.");
}

QString CheckCommand::argumentSyntax() const
{
    return QStringLiteral("ФАЙЛ.crs");
}

QList<QCommandLineOption> CheckCommand::options() const
{
    return {QCommandLineOption(
        WordsOption, QStringLiteral("Перечислить все слова с номерами и направлениями."))};
}

int CheckCommand::run(const QCommandLineParser &parser, ToolStreams streams)
{
    QString path;
    CrosswordDocument document;
    if (!readCrosswordArgument(parser, &path, &document, streams))
        return ToolExit::Failed;

    const CrosswordCheck check(document);
    if (parser.isSet(WordsOption)) {
        for (const QString &line : check.wordList())
            streams.out << line << u'\n';
    }
    for (const QString &line : check.problems())
        streams.out << line << u'\n';
    for (const QString &line : check.notes())
        streams.out << line << u'\n';
    if (check.problems().isEmpty()) {
        streams.out << QStringLiteral("Ошибок не найдено.") << u'\n';
        return ToolExit::Ok;
    }
    streams.out << QStringLiteral("Найдено ошибок: %1.").arg(check.problems().size()) << u'\n';
    return ToolExit::ProblemsFound;
}
