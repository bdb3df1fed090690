#include "makerreport.h"

#include "cluetext.h"
#include "crosswordcheck.h"
#include "wordlist.h"

#include <QStringList>

QString MakerReport::reasonText(CrosswordMaker::Reason reason)
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

QString MakerReport::placement(const WordList &list, const CrosswordMaker::Result &result)
{
    const QList<WordList::Entry> &entries = list.entries();
    QString out = QStringLiteral("Размещено слов: %1 из %2, пересечений: %3, кроссворд занимает "
                                 "%4 × %5 клеток.\n")
                      .arg(result.placed.size())
                      .arg(entries.size())
                      .arg(result.crossings)
                      .arg(result.width)
                      .arg(result.height);

    for (CrosswordMaker::Direction direction :
         {CrosswordMaker::Direction::Across, CrosswordMaker::Direction::Down}) {
        out += u'\n';
        out += direction == CrosswordMaker::Direction::Across ? ClueText::AcrossHeading
                                                              : ClueText::DownHeading;
        out += u'\n';
        for (const CrosswordMaker::Placement &p : result.placed) {
            if (p.direction != direction)
                continue;
            out += QStringLiteral("  %1. %2 — %3\n")
                       .arg(p.number)
                       .arg(entries[p.word].answer,
                            CrosswordCheck::cellPlace(CrosswordDocument::indexOf(p.row, p.column)));
        }
    }

    if (!result.unplaced.isEmpty()) {
        out += QStringLiteral("\nНе размещены:\n");
        for (const CrosswordMaker::Unplaced &u : result.unplaced) {
            const WordList::Entry &entry = entries[u.word];
            out += QStringLiteral("  %1 (строка списка %2): %3.\n")
                       .arg(entry.answer)
                       .arg(entry.line)
                       .arg(reasonText(u.reason));
        }
    }
    return out;
}

QString MakerReport::listNotes(const WordList &list)
{
    QString out;
    if (!list.problems().isEmpty()) {
        out += QStringLiteral("Пропущены строки списка:\n");
        for (const WordList::Problem &problem : list.problems())
            out += QStringLiteral("  ") + CrosswordCheck::printable(problem.message) + u'\n';
        out += u'\n';
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
        out += QStringLiteral("Буква «ё» заменена на «е», её нет на клавиатуре кроссворда: %1.\n\n")
                   .arg(replaced.join(QStringLiteral(", ")));
    }
    if (!unstressed.isEmpty()) {
        out += QStringLiteral("Знаки ударения убраны из слов и вопросов, в файл кроссворда их не "
                              "записать: %1.\n\n")
                   .arg(unstressed.join(QStringLiteral(", ")));
    }
    return out;
}
