#include "cluetext.h"

#include <QStringList>

const QString ClueText::AcrossHeading = QStringLiteral("По горизонтали:");
const QString ClueText::DownHeading = QStringLiteral("По вертикали:");

namespace {

QStringList splitLines(const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    return normalized.split(u'\n');
}

// "N. text" with N of one to three digits; the text may be empty.
bool parseClueLine(const QString &line, int lineNumber, Clue *clue)
{
    qsizetype digits = 0;
    while (digits < line.size() && line[digits] >= u'0' && line[digits] <= u'9')
        ++digits;
    if (digits == 0 || digits > 3 || digits >= line.size() || line[digits] != u'.')
        return false;
    // "1.5 м" is not clue 1; "1.Кот." is, and so is "3. 1990 год".
    if (digits + 1 < line.size() && line[digits + 1].isDigit())
        return false;
    const QString rest = line.mid(digits + 1).trimmed();
    clue->number = line.left(digits).toInt();
    clue->text = rest;
    clue->line = lineNumber;
    return true;
}

} // namespace

ClueText ClueText::parse(const QString &text)
{
    ClueText result;
    result.m_text = text;

    enum class Section { None, Across, Down };
    Section section = Section::None;
    bool seenAcross = false;
    bool seenDown = false;
    QList<Clue> across;
    QList<Clue> down;
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int lineNumber = i + 1;
        if (line.isEmpty())
            continue;
        if (line == AcrossHeading && !seenAcross) {
            section = Section::Across;
            seenAcross = true;
            continue;
        }
        if (line == DownHeading && !seenDown) {
            section = Section::Down;
            seenDown = true;
            continue;
        }
        Clue clue;
        if (section == Section::None || !parseClueLine(line, lineNumber, &clue)) {
            result.m_strayLine = lineNumber;
            return result;
        }
        (section == Section::Across ? across : down).append(clue);
    }
    if (section == Section::None)
        return result;
    result.m_usualForm = true;
    result.m_across = across;
    result.m_down = down;
    return result;
}

QString ClueText::compose(const QList<Clue> &across, const QList<Clue> &down)
{
    QStringList lines;
    lines.append(AcrossHeading);
    for (const Clue &clue : across)
        lines.append(QStringLiteral("%1. %2").arg(clue.number).arg(clue.text));
    lines.append(QString());
    lines.append(DownHeading);
    for (const Clue &clue : down)
        lines.append(QStringLiteral("%1. %2").arg(clue.number).arg(clue.text));
    return lines.join(QStringLiteral("\r\n"));
}
