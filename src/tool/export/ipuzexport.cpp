#include "ipuzexport.h"

#include "cluetext.h"
#include "gridwords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

QJsonValue puzzleCell(const CrosswordDocument &document, int cell)
{
    if (!document.isPlayable(cell))
        return QJsonValue(QJsonValue::Null);
    const QString &number = document.number(cell);
    if (number.isEmpty())
        return 0;
    const int value = GridWords::numberValue(number);
    // A hand-edited label that is no number still marks the cell as a label.
    return value > 0 ? QJsonValue(value) : QJsonValue(number);
}

QJsonArray clueList(const QList<Clue> &clues)
{
    QJsonArray list;
    for (const Clue &clue : clues)
        list.append(QJsonArray{clue.number, clue.text});
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
            solutionRow.append(document.isPlayable(cell)
                                   ? QJsonValue(document.letter(cell).toUpper())
                                   : QJsonValue(QJsonValue::Null));
        }
        puzzle.append(puzzleRow);
        solution.append(solutionRow);
    }

    QJsonObject root;
    root.insert(QStringLiteral("version"), QStringLiteral("http://ipuz.org/v2"));
    root.insert(QStringLiteral("kind"), QJsonArray{QStringLiteral("http://ipuz.org/crossword#1")});
    root.insert(QStringLiteral("title"), title);
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
            root.insert(QStringLiteral("notes"), document.clueText());
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
