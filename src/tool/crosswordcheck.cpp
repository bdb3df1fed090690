#include "crosswordcheck.h"

#include "cluetext.h"
#include "gridwords.h"

CrosswordCheck::CrosswordCheck(const CrosswordDocument &document)
{
    const GridWords words(document);
    for (const GridWord &word : words.words()) {
        m_wordList.append(QStringLiteral("%1 %2: %3 (%4)")
                              .arg(word.number.isEmpty() ? QStringLiteral("—")
                                                         : printable(word.number),
                                   word.direction == GridWord::Direction::Across
                                       ? QStringLiteral("по горизонтали")
                                       : QStringLiteral("по вертикали"),
                                   printable(word.letters), cellPlace(word.startCell)));
    }
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
