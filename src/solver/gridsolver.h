#pragma once

#include "crossworddocument.h"
#include "gridgeometry.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

// The rules for solving one loaded crossword, apart from any toolkit.
// The solving window calls one operation per user action and then shows the
// read-only state below. The loaded letters are the answer key and are never shown.
//
// Calls the window never makes (a click in Solved, a key while the keyboard is
// closed, a button that is disabled, a click on a hidden cell) change nothing.
// A cell index outside 0..399 or a key outside 1..34 stops the program.
class GridSolver
{
public:
    enum class State { Solving, Reviewing, Solved };
    enum class Mark { None, Correct, Wrong };
    // The values are the clue pane's Alignment property of the design.
    enum class Alignment { Left = 0, Centre = 2 };

    struct Colour
    {
        int red = 0;
        int green = 0;
        int blue = 0;
        bool operator==(const Colour &) const = default;
    };

    struct PaneStyle
    {
        Alignment alignment = Alignment::Left;
        qreal fontSize = 12;
        Colour colour;
        bool operator==(const PaneStyle &) const = default;
    };

    static const PaneStyle ClueStyle;   // left, 12, black
    static const PaneStyle ResultStyle; // centre, 22, blue (0, 0, 255)

    static QString successText();
    static QString failureText(qint16 mistakes);
    static QString hintText();
    // A counter as text: one space, then its decimal digits (3 gives " 3").
    static QString numberText(qint32 value);
    static QString historyLine(qint32 attempts, qint16 mistakes);

    // The same as after loading an empty crossword; the selected cell is 0.
    GridSolver();

    void loadPuzzle(const CrosswordDocument &document);
    // A click on cell i's letter or number label; true when the keyboard opened at cell i.
    bool selectCell(int cell);
    // Key k (1..34) of the letter keyboard; its caption is GridGeometry::letterKeyCaption(k).
    void pressLetterKey(int key);
    void finishCheck();
    void backToSolving();
    void hideKeyboard();
    // The font menu command changes only the size of the pane's current style.
    void setClueFontSize(qreal points);

    // Read-only state for the view. cell is 0..399.
    const QString &answerLetter(int cell) const;
    // The cell's number layer as loaded (named apart from the static numberText).
    const QString &cellNumber(int cell) const;
    const QString &enteredLetter(int cell) const;
    Mark mark(int cell) const;
    bool isCellEnabled(int cell) const;
    bool isPlayable(int cell) const;    // letter label visible
    bool isNumberShown(int cell) const; // number label visible: playable and number not ""
    int selectedCell() const { return m_selectedCell; }
    qint16 mistakes() const { return m_mistakes; }
    qint32 attempts() const { return m_attempts; }
    const QStringList &history() const { return m_history; }
    const QString &historyEditText() const { return m_historyEditText; }
    const QString &clueText() const { return m_puzzle.clueText(); } // as loaded
    const CrosswordDocument &puzzle() const { return m_puzzle; }     // as loaded
    const QString &cluePaneText() const { return m_cluePaneText; }
    const PaneStyle &cluePaneStyle() const { return m_cluePaneStyle; }
    bool isKeyboardShown() const { return m_keyboardShown; }
    // Where the keyboard stands (or stood last); the design place until first opened.
    TwipPoint keyboardPosition() const { return m_keyboardPosition; }
    bool isFinishEnabled() const { return m_state == State::Solving; }
    bool isBackEnabled() const { return m_state == State::Reviewing; }
    State state() const { return m_state; }

private:
    struct CellState
    {
        QString entered;
        Mark mark = Mark::None;
        bool enabled = true;
    };

    const CellState &cellAt(int cell) const;
    CellState &cellAt(int cell);

    CrosswordDocument m_puzzle;
    std::array<CellState, CrosswordDocument::CellCount> m_cells;
    qint16 m_selectedCell = 0;
    qint16 m_mistakes = 0;
    qint32 m_attempts = 0;
    QStringList m_history;
    QString m_historyEditText;
    QString m_cluePaneText;
    PaneStyle m_cluePaneStyle;
    bool m_keyboardShown = false;
    TwipPoint m_keyboardPosition;
    State m_state = State::Solving;
};
