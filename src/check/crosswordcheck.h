#pragma once

#include "crossworddocument.h"

#include <QStringList>

class GridWords;

// Finds what the editing window lets through but a pupil would stumble on: words
// without numbers, numbers without words, numbers used twice, clues and words
// that do not match, and letters the letter keyboard cannot enter.
class CrosswordCheck
{
public:
    // One problem and where to mend it.
    struct Finding
    {
        QString text;         // the Russian sentence of problems()
        int cell = -1;        // 0..399, the cell to mend; -1 for a clue of the text
        bool number = false;  // the cell's number is what to mend, not its letter
        int clueLine = 0;     // 1-based line of the clue text for a clue; 0 otherwise
    };

    explicit CrosswordCheck(const CrosswordDocument &document);

    // One Russian sentence per problem, grouped by kind, each kind in reading order.
    const QStringList &problems() const { return m_problems; }
    // The same problems in the same order, each with its place.
    const QList<Finding> &findings() const { return m_findings; }
    // Remarks that are no problem, such as clues in free form that could not be matched.
    const QStringList &notes() const { return m_notes; }
    // One line per word: its number, direction, letters and start cell.
    const QStringList &wordList() const { return m_wordList; }

    // "строка R, столбец C", both counted from 1.
    static QString cellPlace(int cell);
    // Text from the file made safe to print on a terminal: control characters
    // are written as U+XXXX.
    static QString printable(const QString &text);

private:
    void checkClues(const CrosswordDocument &document, const GridWords &words);
    void add(const QString &text, int cell, bool number, int clueLine = 0);

    QStringList m_problems;
    QList<Finding> m_findings;
    QStringList m_notes;
    QStringList m_wordList;
};
