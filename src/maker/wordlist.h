#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

// The teacher's list of answers and clues for making a crossword: one entry a
// line, the answer, a separator (" - ", " — ", ":" or a tab), then the clue.
// Blank lines and lines starting with '#' are skipped. Answers are lower-cased
// and "ё" becomes "е", since the letter keyboard has no "ё"; stress marks are
// left out of answers and clues, since neither the keyboard nor Windows-1251
// has them. A line that cannot be used is left out and reported with its
// 1-based number, in Russian.
class WordList
{
public:
    static constexpr int MinLength = 2;
    static constexpr int MaxLength = 20;
    // A list is a few kilobytes; a larger file is not one.
    static constexpr qint64 MaxFileSize = 1024 * 1024;
    // Far more than a 20 x 20 grid can hold; keeps the maker's work bounded.
    static constexpr int MaxEntries = 500;

    struct Entry
    {
        QString answer;  // 2..20 letters "а".."я"
        QString written; // the answer as the list has it
        QString clue;    // trimmed, never empty, every character in Windows-1251
        int line = 0;
        bool yoReplaced = false;    // the answer was written with "ё"
        bool stressDropped = false; // the answer or the clue had stress marks, now left out
    };

    struct Problem
    {
        int line = 0;
        QString message; // a complete Russian sentence naming the line
    };

    enum class Encoding { Utf8, Windows1251, Utf16LittleEndian, Utf16BigEndian };

    // UTF-16 when the bytes start with its byte order mark; UTF-8 (with or
    // without a byte order mark) when most of the bytes are UTF-8, and a line
    // holding a byte that is not is left out; otherwise Windows-1251, and a line
    // that is UTF-8 is left out. Bytes that cannot be a list of words in any of
    // these (a byte Windows-1251 does not define, more control characters than
    // lines, no letter at all) make a refusal instead.
    static WordList parse(QByteArrayView bytes);
    // False with a Russian message when the file cannot be read; problems
    // inside the list are not failures.
    static bool read(const QString &path, WordList *list, QString *error);

    // Why the bytes are no list of words at all, a Russian phrase naming the
    // line and byte; empty when they are one. A refused list has no entries.
    const QString &refusal() const { return m_refusal; }
    const QList<Entry> &entries() const { return m_entries; }
    const QList<Problem> &problems() const { return m_problems; }
    Encoding encoding() const { return m_encoding; }

private:
    // encodingProblem: why the line's bytes do not fit the list's encoding,
    // reported unless the line is blank or a comment.
    void addLine(int number, QStringView line, const QString &encodingProblem = {});
    void addLines(QStringView text);
    void reject(int line, const QString &message);

    QString m_refusal;
    QList<Entry> m_entries;
    QList<Problem> m_problems;
    QHash<QString, int> m_lineOfAnswer;
    bool m_full = false;
    Encoding m_encoding = Encoding::Utf8;
};
