#include "makecommand.h"

#include "cluetext.h"
#include "crosswordcheck.h"
#include "crosswordfile.h"
#include "crosswordmaker.h"
#include "griddrawing.h"
#include "terminalprogress.h"
#include "wordlist.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString OutputOption = QStringLiteral("output");
const QString SeedOption = QStringLiteral("seed");
const QString TriesOption = QStringLiteral("tries");

QString reasonText(CrosswordMaker::Reason reason)
{
    switch (reason) {
    case CrosswordMaker::Reason::NoCommonLetter:
        return QStringLiteral("нет ни одной общей буквы с размещёнными словами");
    case CrosswordMaker::Reason::NoRoom:
        return QStringLiteral("не нашлось места: каждое пересечение задевало бы другие слова или "
                              "выходило за сетку 20 × 20");
    case CrosswordMaker::Reason::NumbersUsedUp:
        return QStringLiteral("номеров в кроссворде не может быть больше 99");
    }
    return {};
}

void writeReport(const WordList &list, const CrosswordMaker::Result &result, QTextStream &out)
{
    const QList<WordList::Entry> &entries = list.entries();
    out << QStringLiteral("Размещено слов: %1 из %2, пересечений: %3, кроссворд занимает %4 × %5 "
                          "клеток.")
               .arg(result.placed.size())
               .arg(entries.size())
               .arg(result.crossings)
               .arg(result.width)
               .arg(result.height)
        << u'\n';

    for (CrosswordMaker::Direction direction :
         {CrosswordMaker::Direction::Across, CrosswordMaker::Direction::Down}) {
        out << u'\n'
            << (direction == CrosswordMaker::Direction::Across ? ClueText::AcrossHeading
                                                               : ClueText::DownHeading)
            << u'\n';
        for (const CrosswordMaker::Placement &p : result.placed) {
            if (p.direction != direction)
                continue;
            out << QStringLiteral("  %1. %2 — %3")
                       .arg(p.number)
                       .arg(entries[p.word].answer,
                            CrosswordCheck::cellPlace(CrosswordDocument::indexOf(p.row, p.column)))
                << u'\n';
        }
    }

    if (!result.unplaced.isEmpty()) {
        out << u'\n' << QStringLiteral("Не размещены:") << u'\n';
        for (const CrosswordMaker::Unplaced &u : result.unplaced) {
            const WordList::Entry &entry = entries[u.word];
            out << QStringLiteral("  %1 (строка списка %2): %3.")
                       .arg(entry.answer)
                       .arg(entry.line)
                       .arg(reasonText(u.reason))
                << u'\n';
        }
    }
}

void writeListNotes(const WordList &list, QTextStream &out)
{
    if (!list.problems().isEmpty()) {
        out << QStringLiteral("Пропущены строки списка:") << u'\n';
        for (const WordList::Problem &problem : list.problems())
            out << QStringLiteral("  ") << CrosswordCheck::printable(problem.message) << u'\n';
        out << u'\n';
    }
    QStringList replaced;
    QStringList unstressed;
    for (const WordList::Entry &entry : list.entries()) {
        const QString written = CrosswordCheck::printable(entry.written);
        if (entry.yoReplaced)
            replaced.append(QStringLiteral("«%1» → «%2» (строка %3)")
                                .arg(written, entry.answer)
                                .arg(entry.line));
        if (entry.stressDropped)
            unstressed.append(QStringLiteral("«%1» (строка %2)").arg(written).arg(entry.line));
    }
    if (!replaced.isEmpty()) {
        out << QStringLiteral("Буква «ё» заменена на «е», её нет на клавиатуре кроссворда: %1.")
                   .arg(replaced.join(QStringLiteral(", ")))
            << u'\n' << u'\n';
    }
    if (!unstressed.isEmpty()) {
        out << QStringLiteral("Знаки ударения убраны из слов и вопросов, в файл кроссворда их не "
                              "записать: %1.")
                   .arg(unstressed.join(QStringLiteral(", ")))
            << u'\n' << u'\n';
    }
}

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
    writeListNotes(list, streams.out);
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

    writeReport(list, result, streams.out);
    streams.out << u'\n' << GridDrawing::draw(result.document) << u'\n';
    streams.out << (isStandardOutput(outputPath)
                        ? QStringLiteral("Кроссворд записан в стандартный вывод.")
                        : QStringLiteral("Кроссворд записан в файл «%1».").arg(shown(outputPath)))
                << u'\n';
    const bool complete = list.problems().isEmpty() && result.unplaced.isEmpty();
    return complete ? ToolExit::Ok : ToolExit::ProblemsFound;
}
