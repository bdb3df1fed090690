#include "ipuzexport.h"

#include "cluetext.h"
#include "gridwords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

// ipuz strings are HTML: a clue "<мяу>" written as it stands would show as
// nothing in a reader that renders it. Line breaks become <br/>, which HTML
// readers and the XML-minded ones (that refuse an unclosed <br>) both take.
QString html(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text[i].unicode()) {
        case u'&':
            result += QStringLiteral("&amp;");
            break;
        case u'<':
            result += QStringLiteral("&lt;");
            break;
        case u'>':
            result += QStringLiteral("&gt;");
            break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += QStringLiteral("<br/>");
            break;
        case u'\n':
            result += QStringLiteral("<br/>");
            break;
        default:
            result += text[i];
        }
    }
    return result;
}

// Only what the crossword keyboard could show goes out as a label: a number of
// one or two digits. Anything else ("<b>9</b>", "123") marks a plain cell (0).
QJsonValue puzzleCell(const CrosswordDocument &document, int cell)
{
    if (!document.isPlayable(cell))
        return QJsonValue(QJsonValue::Null);
    const int value = GridWords::numberValue(document.number(cell));
    return value > 0 ? value : 0;
}

// A cell's solution is one letter. A cell holding anything else (two letters,
// a digit, a sign) still belongs to the grid, so it is neither omitted (null)
// nor a block ("#"): it gets ipuz's empty value, 0, a cell whose answer is
// not given, rather than a rebus no pupil could type.
QJsonValue solutionCell(const CrosswordDocument &document, int cell)
{
    if (!document.isPlayable(cell))
        return QJsonValue(QJsonValue::Null);
    const QString &letter = document.letter(cell);
    if (letter.size() != 1 || !letter[0].isLetter())
        return 0;
    return letter.toUpper();
}

QJsonArray clueList(const QList<Clue> &clues)
{
    QJsonArray list;
    for (const Clue &clue : clues)
        list.append(QJsonArray{clue.number, html(clue.text)});
    return list;
}

} // namespace

QByteArray IpuzExport::toJson(const CrosswordDocument &document, const QString &title)
{
    QJsonArray puzzle;
    QJsonArray solution;
    for (int row = 0; row < CrosswordDocument::Rows; ++row) {
        QJsonArray puzzleRow;
        QJsonArray solutionRow;
        for (int column = 0; column < CrosswordDocument::Columns; ++column) {
            const int cell = CrosswordDocument::indexOf(row, column);
            puzzleRow.append(puzzleCell(document, cell));
            solutionRow.append(solutionCell(document, cell));
        }
        puzzle.append(puzzleRow);
        solution.append(solutionRow);
    }

    QJsonObject root;
    root.insert(QStringLiteral("version"), QStringLiteral("http://ipuz.org/v2"));
    root.insert(QStringLiteral("kind"), QJsonArray{QStringLiteral("http://ipuz.org/crossword#1")});
    root.insert(QStringLiteral("title"), html(title));
    root.insert(QStringLiteral("dimensions"),
                QJsonObject{{QStringLiteral("width"), CrosswordDocument::Columns},
                            {QStringLiteral("height"), CrosswordDocument::Rows}});
    root.insert(QStringLiteral("puzzle"), puzzle);
    root.insert(QStringLiteral("solution"), solution);

    const ClueText clues = ClueText::parse(document.clueText());
    if (clues.isUsualForm()) {
        root.insert(QStringLiteral("clues"),
                    QJsonObject{{QStringLiteral("Across"), clueList(clues.across())},
                                {QStringLiteral("Down"), clueList(clues.down())}});
    } else {
        root.insert(QStringLiteral("clues"), QJsonObject{});
        if (!document.clueText().isEmpty())
            root.insert(QStringLiteral("notes"), html(document.clueText()));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
