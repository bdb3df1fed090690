#include "cellclues.h"

#include "cluetext.h"
#include "gridwords.h"

CellClues::CellClues(const CrosswordDocument &crossword)
{
    const ClueText clues = ClueText::parse(crossword.clueText());
    const GridWords words(crossword);
    for (const GridWord &word : words.words()) {
        const int number = word.numberValue();
        if (number < 0)
            continue;
        const bool across = word.direction == GridWord::Direction::Across;
        QString said = QString::number(number) +
                       (across ? QStringLiteral(" по горизонтали") : QStringLiteral(" по вертикали"));
        for (const Clue &clue : across ? clues.across() : clues.down()) {
            if (clue.number == number) {
                if (!clue.text.isEmpty())
                    said += QStringLiteral(": ") + clue.text;
                break;
            }
        }
        if (!said.endsWith(u'.') && !said.endsWith(u'!') && !said.endsWith(u'?'))
            said += u'.';
        for (int i = 0; i < word.length; ++i) {
            QString &cell = m_clues[word.cell(i)];
            cell += (cell.isEmpty() ? QString() : QStringLiteral(" ")) + said;
        }
    }
}

const QString &CellClues::of(int cell) const
{
    return m_clues.at(cell);
}
