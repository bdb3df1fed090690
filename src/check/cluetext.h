#pragma once

#include <QList>
#include <QString>

// One clue of a clue text in the usual form.
struct Clue
{
    int number = 0;
    QString text; // after "N. ", trailing blanks dropped
    int line = 0; // 1-based line of the clue text it was read from; 0 when composed

    bool operator==(const Clue &other) const = default;
};

// The clue text as teachers usually write it:
//
//   По горизонтали:
//   1. Домашнее животное.
//   ...
//   По вертикали:
//   2. ...
//
// Each heading at most once, in either order; empty lines anywhere. Any other
// line (a title, a clue wrapped onto a second line, text before the first
// heading) makes the text free-form: nothing is then split out of it.
class ClueText
{
public:
    static const QString AcrossHeading; // "По горизонтали:"
    static const QString DownHeading;   // "По вертикали:"

    // Lines may be separated by CR LF, LF or a lone CR.
    static ClueText parse(const QString &text);

    // The text in the usual form, lines joined by CR LF: the across heading and
    // clues, an empty line, the down heading and clues. parse() reads it back.
    static QString compose(const QList<Clue> &across, const QList<Clue> &down);

    // True when the text follows the usual form and holds at least one heading.
    bool isUsualForm() const { return m_usualForm; }
    // Empty unless isUsualForm().
    const QList<Clue> &across() const { return m_across; }
    const QList<Clue> &down() const { return m_down; }
    // The first line (1-based) that breaks the usual form; 0 when none does.
    int strayLine() const { return m_strayLine; }
    // The whole text as given.
    const QString &text() const { return m_text; }

private:
    QString m_text;
    QList<Clue> m_across;
    QList<Clue> m_down;
    bool m_usualForm = false;
    int m_strayLine = 0;
};
