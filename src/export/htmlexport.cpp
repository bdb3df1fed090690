#include "htmlexport.h"

#include "cluetext.h"
#include "gridgeometry.h"
#include "gridwords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

// The browser hashes a script or style after turning CR LF into LF, so the
// policy's hashes must be taken over the same text. The script and the style
// sheet lose their comments and indentation, a quarter of the page: they hold
// no string that spans lines.
QString resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/htmlpage/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("HtmlExport: the page resource %s is missing", qPrintable(name));
    QString text = QString::fromUtf8(file.readAll());
    const bool script = name.endsWith(QStringLiteral(".js"));
    if (!script && !name.endsWith(QStringLiteral(".css")))
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!script)
        text.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                       QRegularExpression::DotMatchesEverythingOption));
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        const QString code = line.trimmed();
        if (!code.isEmpty() && !(script && code.startsWith(QStringLiteral("//"))))
            lines.append(code);
    }
    return lines.join(u'\n');
}

// The one answers the page can match: an exact keyboard letter, as in GridSolver.
QStringList keyboardLetters()
{
    QStringList letters;
    for (int key = 1; key < GridGeometry::EraseKey; ++key)
        letters.append(GridGeometry::letterKeyCaption(key));
    return letters;
}

QByteArray contentDigest(const CrosswordDocument &document)
{
    // Separators that a .crs field cannot hold keep "ab","" and "a","b" apart.
    QString text;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
        text += document.letter(cell) + u'\x1f' + document.number(cell) + u'\x1e';
    text += document.clueText();
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
}

// Each answer's check value must differ from that of every other key press
// (the 31 other letters and the erase key), or a wrong letter could pass.
bool checksAreDistinct(const CrosswordDocument &document, const QString &salt,
                       const QStringList &letters)
{
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const QString &answer = document.letter(cell);
        if (!letters.contains(answer))
            continue;
        const quint32 check = HtmlExport::checkValue(salt, cell, answer);
        if (HtmlExport::checkValue(salt, cell, QString()) == check)
            return false;
        for (const QString &other : letters) {
            if (other != answer && HtmlExport::checkValue(salt, cell, other) == check)
                return false;
        }
    }
    return true;
}

bool isCombiningMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// The text with at most MaxCombiningMarks combining marks after each letter;
// dropped, when given, counts the marks left out.
QString boundedMarks(const QString &text, qsizetype *dropped = nullptr)
{
    QString result;
    result.reserve(text.size());
    int run = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar first = text.at(i);
        const bool pair = first.isHighSurrogate() && i + 1 < text.size() &&
                          text.at(i + 1).isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(first, text.at(i + 1)) : first.unicode();
        const qsizetype width = pair ? 2 : 1;
        run = isCombiningMark(c) ? run + 1 : 0;
        if (run > HtmlExport::MaxCombiningMarks) {
            if (dropped)
                ++*dropped;
        } else {
            result += QStringView(text).mid(i, width);
        }
        i += width;
    }
    return result;
}

// The grid's words for the page: start cell, 0 across or 1 down, length, and
// the 1-based line of the clue text that is the word's clue (0 when none is),
// found under its heading by number as the check command reads clues.
QJsonArray pageWords(const CrosswordDocument &document)
{
    const ClueText clues = ClueText::parse(document.clueText());
    const GridWords gridWords(document);
    QJsonArray words;
    for (const GridWord &word : gridWords.words()) {
        const bool across = word.direction == GridWord::Direction::Across;
        int line = 0;
        for (const Clue &clue : across ? clues.across() : clues.down()) {
            if (clue.number == word.numberValue()) {
                line = clue.line;
                break;
            }
        }
        words.append(QJsonArray{word.startCell, across ? 0 : 1, word.length, line});
    }
    return words;
}

QString sha256Source(const QString &text)
{
    return QStringLiteral("'sha256-") +
           QString::fromLatin1(
               QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64()) +
           u'\'';
}

// JSON inside <script type="application/json">: no "<" may stand in it, or a
// clue holding "</script>" would end the element early.
QString scriptSafeJson(const QJsonObject &object)
{
    QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    json.replace(u'<', QStringLiteral("\\u003c"));
    json.replace(u'>', QStringLiteral("\\u003e"));
    json.replace(u'&', QStringLiteral("\\u0026"));
    return json;
}

} // namespace

quint32 HtmlExport::checkValue(const QString &salt, int cell, const QString &letter)
{
    const QString text = salt + u'|' + QString::number(cell) + u'|' + letter;
    quint32 hash = 0x811c9dc5u;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 0x01000193u;
    }
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    hash *= 0xc2b2ae35u;
    hash ^= hash >> 16;
    return hash;
}

QList<int> HtmlExport::unmatchableCells(const CrosswordDocument &document)
{
    const QStringList letters = keyboardLetters();
    QList<int> cells;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (document.isPlayable(cell) && !letters.contains(document.letter(cell)))
            cells.append(cell);
    }
    return cells;
}

qsizetype HtmlExport::droppedCombiningMarks(const CrosswordDocument &document,
                                            const QString &title)
{
    qsizetype dropped = 0;
    boundedMarks(title, &dropped);
    boundedMarks(document.clueText(), &dropped);
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (document.isPlayable(cell))
            boundedMarks(document.number(cell), &dropped);
    }
    return dropped;
}

QByteArray HtmlExport::toHtml(const CrosswordDocument &document, const QString &title)
{
    // Salt and storage key come from the crossword itself, so the same file
    // always makes the same page and a pupil's letters survive a new export.
    const QByteArray digest = contentDigest(document);
    const QString key = QString::fromLatin1(digest.left(8).toHex());
    const QString baseSalt = QString::fromLatin1(digest.mid(8, 8).toHex());
    const QStringList letters = keyboardLetters();
    QString salt = baseSalt;
    for (int round = 1; !checksAreDistinct(document, salt, letters); ++round)
        salt = baseSalt + u'-' + QString::number(round);

    int firstRow = CrosswordDocument::Rows;
    int lastRow = -1;
    int firstColumn = CrosswordDocument::Columns;
    int lastColumn = -1;
    QJsonArray cells;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (!document.isPlayable(cell))
            continue;
        const int row = CrosswordDocument::rowOf(cell);
        const int column = CrosswordDocument::columnOf(cell);
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
        const QString &answer = document.letter(cell);
        // A letter no key types can never be matched: the page gets no value to match.
        const QJsonValue check = letters.contains(answer)
                                     ? QJsonValue(qint64(checkValue(salt, cell, answer)))
                                     : QJsonValue(QJsonValue::Null);
        cells.append(QJsonArray{cell, boundedMarks(document.number(cell)), check});
    }

    QJsonObject data;
    data.insert(QStringLiteral("title"), boundedMarks(title));
    data.insert(QStringLiteral("key"), key);
    data.insert(QStringLiteral("salt"), salt);
    data.insert(QStringLiteral("firstRow"), lastRow < 0 ? 0 : firstRow);
    data.insert(QStringLiteral("firstColumn"), lastColumn < 0 ? 0 : firstColumn);
    data.insert(QStringLiteral("rows"), lastRow < 0 ? 0 : lastRow - firstRow + 1);
    data.insert(QStringLiteral("columns"), lastColumn < 0 ? 0 : lastColumn - firstColumn + 1);
    data.insert(QStringLiteral("cells"), cells);
    data.insert(QStringLiteral("words"), pageWords(document));
    data.insert(QStringLiteral("clues"), boundedMarks(document.clueText()));

    const QString style = resourceText(QStringLiteral("page.css"));
    const QString script = resourceText(QStringLiteral("page.js"));
    const QString policy = QStringLiteral("default-src 'none'; script-src %1; style-src %2; "
                                          "base-uri 'none'; form-action 'none'")
                               .arg(sha256Source(script), sha256Source(style));
    // The crossword's data goes in last, so nothing in it is taken for a placeholder.
    QString page = resourceText(QStringLiteral("page.html"));
    page.replace(QStringLiteral("@POLICY@"), policy);
    page.replace(QStringLiteral("@STYLE@"), style);
    page.replace(QStringLiteral("@SCRIPT@"), script);
    page.replace(QStringLiteral("@DATA@"), scriptSafeJson(data));
    return page.toUtf8();
}
