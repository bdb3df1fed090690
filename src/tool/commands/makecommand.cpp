#include "makecommand.h"

#include "crosswordfile.h"
#include "crosswordmaker.h"
#include "griddrawing.h"
#include "makerreport.h"
#include "terminalprogress.h"
#include "wordlist.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString OutputOption = QStringLiteral("output");
const QString SeedOption = QStringLiteral("seed");
const QString TriesOption = QStringLiteral("tries");

} // namespace

QString MakeCommand::name() const
{
    return QStringLiteral("make");
}

QString MakeCommand::description() const
{
    return QStringLiteral("Составить кроссворд из списка слов с вопросами.");
}

QString MakeCommand::argumentSyntax() const
{
    return QStringLiteral("СЛОВА.txt -o ФАЙЛ.crs");
}

QList<QCommandLineOption> MakeCommand::options() const
{
    return {
        QCommandLineOption({QStringLiteral("o"), OutputOption},
                           QStringLiteral("Куда записать кроссворд («-» — в стандартный вывод)."),
                           QStringLiteral("ФАЙЛ.crs")),
        QCommandLineOption(SeedOption,
                           QStringLiteral("Число, от которого зависит расстановка слов; при том "
                                          "же числе получается тот же кроссворд (по умолчанию 1)."),
                           QStringLiteral("N"), QStringLiteral("1")),
        QCommandLineOption(TriesOption,
                           QStringLiteral("Сколько расстановок попробовать, чтобы выбрать лучшую "
                                          "(от 1 до %1, по умолчанию %2).")
                               .arg(CrosswordMaker::MaxTries)
                               .arg(CrosswordMaker::DefaultTries),
                           QStringLiteral("N"), QString::number(CrosswordMaker::DefaultTries)),
    };
}

int MakeCommand::run(const QCommandLineParser &parser, ToolStreams streams)
{
    QString wordsPath;
    if (!singleArgument(parser, QStringLiteral("файл со списком слов"), &wordsPath, streams))
        return ToolExit::Failed;
    const QString outputPath = parser.value(OutputOption);
    if (outputPath.isEmpty()) {
        streams.err << QStringLiteral("Не указано, куда записать кроссворд: -o ФАЙЛ.crs")
                    << Qt::endl;
        return ToolExit::Failed;
    }
    bool ok = false;
    const quint64 seed = parser.value(SeedOption).toULongLong(&ok);
    if (!ok) {
        streams.err << QStringLiteral("Параметр «--seed» должен быть целым числом от 0 и больше, "
                                      "а не «%1».")
                           .arg(shown(parser.value(SeedOption)))
                    << Qt::endl;
        return ToolExit::Failed;
    }
    const int tries = parser.value(TriesOption).toInt(&ok);
    if (!ok || tries < 1 || tries > CrosswordMaker::MaxTries) {
        streams.err << QStringLiteral("Параметр «--tries» должен быть целым числом от 1 до %1, "
                                      "а не «%2».")
                           .arg(CrosswordMaker::MaxTries)
                           .arg(shown(parser.value(TriesOption)))
                    << Qt::endl;
        return ToolExit::Failed;
    }
    // Writing the crossword over the list would lose the teacher's words.
    if (sameFile(wordsPath, outputPath)) {
        if (isStandardOutput(outputPath))
            streams.err << QStringLiteral("Кроссворд нельзя записать в стандартный вывод: он "
                                          "направлен в файл «%1», а это и есть список слов.")
                               .arg(shown(wordsPath));
        else
            streams.err << QStringLiteral("Кроссворд нельзя записать в файл «%1»: это и есть "
                                          "список слов.")
                               .arg(shown(outputPath));
        streams.err << Qt::endl;
        return ToolExit::Failed;
    }

    WordList list;
    QString error;
    if (!WordList::read(wordsPath, &list, &error)) {
        streams.err << error << Qt::endl;
        return ToolExit::Failed;
    }
    streams.out << MakerReport::listNotes(list);
    if (list.entries().isEmpty()) {
        streams.out << QStringLiteral("В списке «%1» нет ни одного слова, из которого можно "
                                      "составить кроссворд. Файл не записан.")
                           .arg(shown(wordsPath))
                    << u'\n';
        return ToolExit::ProblemsFound;
    }

    QList<CrosswordMaker::Word> words;
    for (const WordList::Entry &entry : list.entries())
        words.append({entry.answer, entry.clue});
    const CrosswordMaker maker(words);
    TerminalProgress progress(streams, QStringLiteral("Составление кроссворда"));
    const CrosswordMaker::Result result =
        maker.make(seed, tries, [&progress](int done, int total) { progress.report(done, total); });
    progress.finish();

    // Encoded here and written like every command's output, so that "-" works too.
    QByteArray bytes;
    CrosswordFileError encodeError;
    if (!CrosswordFile::encode(result.document, &bytes, &encodeError)) {
        streams.err << encodeError.withFileName(shown(outputPath)).message() << Qt::endl;
        return ToolExit::Failed;
    }
    if (!writeOutput(outputPath, bytes, streams))
        return ToolExit::Failed;

    streams.out << MakerReport::placement(list, result);
    streams.out << u'\n' << GridDrawing::draw(result.document) << u'\n';
    streams.out << (isStandardOutput(outputPath)
                        ? QStringLiteral("Кроссворд записан в стандартный вывод.")
                        : QStringLiteral("Кроссворд записан в файл «%1».").arg(shown(outputPath)))
                << u'\n';
    const bool complete = list.problems().isEmpty() && result.unplaced.isEmpty();
    return complete ? ToolExit::Ok : ToolExit::ProblemsFound;
}
