#pragma once

#include "crossworddocument.h"
#include "gridgeometry.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The rules for filling the grid in the editing window, apart from any toolkit.
// The window forwards each click to one operation and then redraws from the
// read-only state below. At most one of the two pop-ups is shown at any time.
//
// Keys pressed while their pop-up is hidden change nothing. A cell index
// outside 0..399 or a letter key outside 1..34 stops the program; a pad key
// outside 1..12 is ignored. Layers are kept as text exactly as written or
// loaded: nothing here validates or converts them.
class GridEditor
{
public:
    // All cells "" and shown, nothing open, selection 0, empty pad display,
    // both pop-ups at their design places.
    GridEditor();

    // Hides whichever pop-up is shown; the selection and the pad display stay.
    void hidePopups();
    // Moves the keyboard if it is already open.
    void openLetterKeyboard(int cell);
    // The pad display starts from the cell's own number, whatever was left in it.
    void openNumberPad(int cell);
    // Key k (1..34), captioned GridGeometry::letterKeyCaption(k). Every key
    // closes the keyboard, so one opening writes at most one letter.
    void pressLetterKey(int key);
    // Keys 1..10 type the digits 0..9 (at most two; a third starts over),
    // 11 clears the display, 12 stores the display as the cell's number and closes.
    void pressPadKey(int key);
    // Hides every cell without a letter, numbered or not.
    void showPuzzle();
    void backToGrid();

    const QString &letter(int cell) const;
    const QString &number(int cell) const;
    // A cell's letter and number labels are always shown or hidden together.
    bool isShown(int cell) const;
    int selectedCell() const { return m_selectedCell; }
    bool isLetterKeyboardShown() const { return m_letterKeyboardShown; }
    // Where the keyboard stands, or stood when last shown.
    TwipPoint letterKeyboardPosition() const { return m_letterKeyboardPosition; }
    bool isNumberPadShown() const { return m_numberPadShown; }
    TwipPoint numberPadPosition() const { return m_numberPadPosition; }
    // The caption of the pad's display key; kept while the pad is hidden.
    const QString &padDisplay() const { return m_padDisplay; }

    // For the file commands: both layers of every cell plus the given clue text.
    CrosswordDocument toDocument(const QString &clueText) const;
    // Loading a crossword: every cell becomes shown, which ends a preview.
    // Pop-ups, selection and pad display are left alone; the document's clue
    // text is not kept here.
    void loadDocument(const CrosswordDocument &document);

private:
    // Only the two layers are used; the clue text belongs to the window.
    CrosswordDocument m_layers;
    std::array<bool, CrosswordDocument::CellCount> m_shown;
    qint16 m_selectedCell = 0;
    bool m_letterKeyboardShown = false;
    TwipPoint m_letterKeyboardPosition;
    bool m_numberPadShown = false;
    TwipPoint m_numberPadPosition;
    QString m_padDisplay;
};
