#include "griddrawing.h"

QString GridDrawing::draw(const CrosswordDocument &document)
{
    QString text = QStringLiteral("  ");
    for (int column = 0; column < CrosswordDocument::Columns; ++column)
        text += QStringLiteral("%1").arg(column + 1, 3);
    text += u'\n';
    for (int row = 0; row < CrosswordDocument::Rows; ++row) {
        text += QStringLiteral("%1").arg(row + 1, 2);
        for (int column = 0; column < CrosswordDocument::Columns; ++column) {
            const QString &letter = document.letter(CrosswordDocument::indexOf(row, column));
            // A cell of a hand-made file may hold more than one character; one column each.
            const QString shown = letter.isEmpty() ? QStringLiteral(".") : letter.left(1).toUpper();
            text += QStringLiteral("  ") + shown;
        }
        text += u'\n';
    }
    return text;
}
