#pragma once

#include "crossworddocument.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

// Places a list of answers across and down on the 20 x 20 grid so that they
// cross on equal letters and make a valid crossword: every run of two or more
// letters across or down is one of the words, words touch only where they
// cross, and all placed words are connected. Numbers go in reading order, one
// per starting cell (shared when an across and a down word start together),
// at most 99 of them.
//
// The same words, seed and tries always give the same crossword.
class CrosswordMaker
{
public:
    static constexpr int Size = 20;
    static constexpr int MaxNumbers = 99;
    static constexpr int DefaultTries = 1000;
    static constexpr int MaxTries = 10000;

    struct Word
    {
        QString answer; // 2..20 letters "а".."я"; the caller checks them
        QString clue;
    };

    enum class Direction { Across, Down };

    struct Placement
    {
        int word = 0; // index into the words given
        int row = 0;  // of the first letter, 0..19
        int column = 0;
        Direction direction = Direction::Across;
        int number = 0; // 1..99
    };

    enum class Reason {
        NoCommonLetter, // shares no letter with any placed word
        NoRoom,         // every crossing would touch other words or leave the grid
        NumbersUsedUp,  // it would need a 100th number
    };

    struct Unplaced
    {
        int word = 0;
        Reason reason = Reason::NoRoom;
    };

    struct Result
    {
        QList<Placement> placed;  // by number, across before down on a shared number
        QList<Unplaced> unplaced; // in the order of the words given
        int crossings = 0;        // cells shared by an across and a down word
        int width = 0;            // of the box around the letters
        int height = 0;
        CrosswordDocument document; // letters, numbers and the clue text
    };

    explicit CrosswordMaker(QList<Word> words) : m_words(std::move(words)) {}

    // Called after each attempt with the attempts made and to make.
    using Progress = std::function<void(int done, int total)>;

    // Makes tries attempts (at least one) and keeps the best: most words placed,
    // then most crossings, then the smallest box.
    Result make(quint64 seed, int tries = DefaultTries, const Progress &progress = {}) const;

    const QList<Word> &words() const { return m_words; }

    // The clue text of the usual form: "По горизонтали:", the across clues as
    // "N. clue", an empty line, "По вертикали:", the down clues; CR LF breaks.
    static QString clueText(const QList<Word> &words, const QList<Placement> &placed);

private:
    QList<Word> m_words;
};
