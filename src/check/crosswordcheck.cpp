#include "crosswordcheck.h"

#include "cluetext.h"
#include "gridwords.h"

#include <QMap>

#include <algorithm>

namespace {

QString directionName(GridWord::Direction direction)
{
    return direction == GridWord::Direction::Across ? QStringLiteral("по горизонтали")
                                                    : QStringLiteral("по вертикали");
}

// Hand-edited files may hold anything; long values are cut for the report.
QString shown(const QString &text)
{
    constexpr qsizetype Limit = 24;
    const QString safe = CrosswordCheck::printable(text.left(Limit));
    return text.size() > Limit ? safe + QStringLiteral("…") : safe;
}

bool isKeyboardLetter(const QString &letter)
{
    return letter.size() == 1 && letter[0] >= u'а' && letter[0] <= u'я';
}

// Numbers are compared by value ("05" is 5); anything else by its text.
QString numberKey(const QString &number)
{
    const int value = GridWords::numberValue(number);
    return value >= 0 ? QString::number(value) : number;
}

} // namespace

CrosswordCheck::CrosswordCheck(const CrosswordDocument &document)
{
    const GridWords words(document);
    for (const GridWord &word : words.words()) {
        m_wordList.append(QStringLiteral("%1 %2: %3 (%4)")
                              .arg(word.number.isEmpty() ? QStringLiteral("—") : shown(word.number),
                                   directionName(word.direction), shown(word.letters),
                                   cellPlace(word.startCell)));
    }

    // Words that start without a number.
    for (const GridWord &word : words.words()) {
        if (word.number.isEmpty()) {
            add(QStringLiteral("Слово «%1» %2 (%3) начинается в клетке без номера.")
                    .arg(shown(word.letters), directionName(word.direction),
                         cellPlace(word.startCell)),
                word.startCell, true);
        }
    }
    // Number layers that are not a number at all.
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const QString &number = document.number(cell);
        if (!number.isEmpty() && document.isPlayable(cell) && GridWords::numberValue(number) < 0) {
            add(QStringLiteral("Номер «%1» в клетке (%2) — не число из одной или двух цифр.")
                    .arg(shown(number), cellPlace(cell)),
                cell, true);
        }
    }
    // Numbers where no word starts.
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const QString &number = document.number(cell);
        if (number.isEmpty() || words.startsWord(cell))
            continue;
        if (document.isPlayable(cell))
            add(QStringLiteral("Номер %1 в клетке (%2): здесь не начинается ни одно слово.")
                    .arg(shown(number), cellPlace(cell)),
                cell, true);
        else
            add(QStringLiteral("Номер %1 стоит на пустой клетке (%2): в ней нет буквы, и ученик "
                               "его не увидит.")
                    .arg(shown(number), cellPlace(cell)),
                cell, true);
    }
    // Letters that belong to no word: the pupil sees a square without a clue.
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!document.isPlayable(cell))
            continue;
        const bool inWord =
            std::any_of(words.words().begin(), words.words().end(), [cell](const GridWord &word) {
                for (int i = 0; i < word.length; ++i) {
                    if (word.cell(i) == cell)
                        return true;
                }
                return false;
            });
        if (!inWord)
            add(QStringLiteral("Буква «%1» в клетке (%2) не входит ни в одно слово.")
                    .arg(shown(document.letter(cell)), cellPlace(cell)),
                cell, false);
    }
    // The same number on two or more cells the pupil sees.
    QMap<QString, QList<int>> cellsByNumber;
    QStringList numberOrder;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const QString &number = document.number(cell);
        if (number.isEmpty() || !document.isPlayable(cell))
            continue;
        const QString key = numberKey(number);
        if (!cellsByNumber.contains(key))
            numberOrder.append(key);
        cellsByNumber[key].append(cell);
    }
    for (const QString &key : numberOrder) {
        const QList<int> &cells = cellsByNumber[key];
        if (cells.size() < 2)
            continue;
        QStringList places;
        for (int cell : cells)
            places.append(cellPlace(cell));
        // One pass of arg(): a number from the file may itself contain "%2".
        // The first cell is taken to be right; the second is the one to mend.
        add(QStringLiteral("Номер %1 стоит в %2 клетках: %3.")
                .arg(shown(key), QString::number(cells.size()), places.join(QStringLiteral("; "))),
            cells[1], true);
    }

    checkClues(document, words);

    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const QString &letter = document.letter(cell);
        if (!letter.isEmpty() && !isKeyboardLetter(letter)) {
            add(QStringLiteral("В клетке (%1) записано «%2», а не одна строчная буква от «а» до "
                               "«я» без «ё»: ученик не сможет это ввести.")
                    .arg(cellPlace(cell), shown(letter)),
                cell, false);
        }
    }
}

void CrosswordCheck::checkClues(const CrosswordDocument &document, const GridWords &words)
{
    const ClueText clues = ClueText::parse(document.clueText());
    if (!clues.isUsualForm()) {
        if (document.clueText().trimmed().isEmpty()) {
            m_notes.append(QStringLiteral("Примечание: текста вопросов нет, сверять номера не "
                                          "с чем."));
        } else {
            m_notes.append(QStringLiteral("Примечание: вопросы записаны не в обычной форме "
                                          "(заголовок «%1» или «%2», затем строки «N. вопрос»; "
                                          "иначе — строка %3 текста), поэтому номера в них не "
                                          "сверялись.")
                               .arg(ClueText::AcrossHeading, ClueText::DownHeading)
                               .arg(clues.strayLine()));
        }
        return;
    }

    for (const GridWord::Direction direction :
         {GridWord::Direction::Across, GridWord::Direction::Down}) {
        const bool across = direction == GridWord::Direction::Across;
        const QList<Clue> &list = across ? clues.across() : clues.down();
        const QList<GridWord> gridWords = across ? words.across() : words.down();
        for (const GridWord &word : gridWords) {
            const int value = word.numberValue();
            if (value < 0)
                continue;
            const bool mentioned = std::any_of(
                list.begin(), list.end(), [value](const Clue &c) { return c.number == value; });
            if (!mentioned)
                add(QStringLiteral("Для слова %1 %2 («%3») в тексте нет вопроса.")
                        .arg(value)
                        .arg(directionName(direction), shown(word.letters)),
                    word.startCell, true);
        }
        for (int i = 0; i < list.size(); ++i) {
            const Clue &clue = list[i];
            const bool earlier =
                std::any_of(list.begin(), list.begin() + i,
                            [&clue](const Clue &c) { return c.number == clue.number; });
            if (earlier) {
                add(QStringLiteral("Вопрос %1 %2 повторяется (строка %3 текста).")
                        .arg(clue.number)
                        .arg(directionName(direction))
                        .arg(clue.line),
                    -1, false, clue.line);
                continue;
            }
            const bool hasWord =
                std::any_of(gridWords.begin(), gridWords.end(), [&clue](const GridWord &word) {
                    return word.numberValue() == clue.number;
                });
            if (!hasWord)
                add(QStringLiteral("Вопрос %1 %2 (строка %3 текста): в сетке нет слова %2 с этим "
                                   "номером.")
                        .arg(clue.number)
                        .arg(directionName(direction))
                        .arg(clue.line),
                    -1, false, clue.line);
        }
    }
}

void CrosswordCheck::add(const QString &text, int cell, bool number, int clueLine)
{
    m_problems.append(text);
    m_findings.append({text, cell, number, clueLine});
}

QString CrosswordCheck::cellPlace(int cell)
{
    return QStringLiteral("строка %1, столбец %2")
        .arg(CrosswordDocument::rowOf(cell) + 1)
        .arg(CrosswordDocument::columnOf(cell) + 1);
}

QString CrosswordCheck::printable(const QString &text)
{
    QString result;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            result += QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            result += c;
    }
    return result;
}
