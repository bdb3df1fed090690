#include "boardtext.h"

CrosswordDocument boardFromRows(std::initializer_list<QString> rows,
                                std::initializer_list<std::pair<int, QString>> numbers,
                                const QString &clueText)
{
    CrosswordDocument document;
    int row = 0;
    for (const QString &text : rows) {
        for (int column = 0; column < text.size() && column < CrosswordDocument::Columns; ++column) {
            if (text[column] != u'.')
                document.setLetter(CrosswordDocument::indexOf(row, column), QString(text[column]));
        }
        ++row;
    }
    for (const auto &[cell, number] : numbers)
        document.setNumber(cell, number);
    document.setClueText(clueText);
    return document;
}
