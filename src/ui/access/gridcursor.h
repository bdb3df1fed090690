#pragma once

#include "crossworddocument.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class CellClues;
class GridLabels;
class PopupKeys;
class SpokenStatus;

// The grid as one stop of the keyboard's Tab order. The arrow keys move a
// focus frame between the cells on show, Enter or Space press the cell as a
// click on its letter does, and a typed letter opens the cell's keyboard and
// types it; the frame then moves on to the next cell, to the right or, after
// Up or Down, downwards. The frame is drawn only after a key press and goes at
// the next mouse press, so a mouse user sees the window as it always was. The
// widget lies over the focused cell and lets every mouse press through.
//
// It also stands for the grid before a screen reader: its cells are the ones
// on show, each named by its place and contents and described by the clues of
// its words. A typed letter, an opened pop-up and the edge of the grid are
// said through a SpokenStatus.
class GridCursor : public QWidget
{
    Q_OBJECT

public:
    // What a cell holds, as its window shows it.
    struct CellFacts
    {
        QString number;
        QString letter;
        bool wrong = false;
    };
    using Describe = std::function<CellFacts(int cell)>;
    // The crossword as the window shows it, for the clues of the cells.
    using Crossword = std::function<CrosswordDocument()>;

    GridCursor(GridLabels *grid, Describe describe, Crossword crossword, QWidget *clientArea);
    ~GridCursor() override;

    // The keyboard a typed letter opens; the number pad that Ctrl+Enter or
    // "#" opens, where the window has one.
    void setLetterKeys(PopupKeys *keys);
    void setNumberKeys(PopupKeys *keys) { m_numberKeys = keys; }

    GridLabels *grid() const { return m_grid; }
    int cell() const { return m_cell; }
    // The keyboard's focus of the window is here.
    bool isFocused() const;
    bool isFrameShown() const;
    bool isExposed(int cell) const;
    // The cells on show, in reading order.
    QList<int> exposedCells() const;
    // "строка 3, столбец 5, номер 2, буква к", "..., пусто", "..., ошибка".
    QString cellName(int cell) const;
    // "1 по горизонтали: Мурлычет.", the clues of the cell's words.
    QString cellDescription(int cell) const;
    // The grid's words or the clue text changed: descriptions are made anew
    // when next asked for.
    void crosswordChanged();
    SpokenStatus *spokenStatus() const { return m_status; }

    // The same as a click on the cell's letter label.
    void pressCell(int cell);
    // Tells a screen reader that the cells' names changed, all or one.
    void cellsRenamed();
    void cellRenamed(int cell);

    // Where a navigation key leads from a cell, over the cells on show:
    // arrows to the next one in that direction, Home and End to the ends of
    // the row, PageUp and PageDown to the ends of the column. A key that
    // leads nowhere stays on the cell.
    static int step(int cell, int key, const std::function<bool(int)> &exposed);
    // Where the frame goes after a letter typed on a cell: the neighbour to
    // the right, or below when down is true; the cell itself when that
    // neighbour is not on show.
    static int afterLetter(int cell, bool down, const std::function<bool(int)> &exposed);

signals:
    // A key, not the mouse, is about to press the cell: the window may move
    // the focus to what the press shows.
    void pressingByKey(int cell);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveTo(int cell);
    void setKeyboardUse(bool used);
    void dismissPopups();
    void announceFocus();
    void letterTyped(int key);
    // Says which pop-up a key opened, if one did.
    void sayOpenedPopup();

    GridLabels *m_grid;
    Describe m_describe;
    Crossword m_crossword;
    SpokenStatus *m_status;
    PopupKeys *m_letterKeys = nullptr;
    PopupKeys *m_numberKeys = nullptr;
    mutable std::unique_ptr<CellClues> m_clues;
    int m_cell = 0;
    bool m_keyboardUse = false;
    // Up or Down was the last arrow: typed letters move on downwards.
    bool m_down = false;
};
