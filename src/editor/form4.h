#pragma once

#include "crossworddocument.h"
#include "grideditor.h"

#include <QMainWindow>

class ClientArea;
class CluePane;
class CrosswordDocument;
class GridCursor;
class GridLabels;
class LetterKeyboard;
class NumberPad;
class QPushButton;

// The teacher's window: a thin view over GridEditor. Each event calls one
// operation of the editor, then the window redraws from the editor's state.
// The clue pane itself holds the clue text. The menu commands are connected
// by the window's owner (find them with MainMenus::action).
class Form4 : public QMainWindow
{
    Q_OBJECT

public:
    static const QString Caption;

    explicit Form4(QWidget *parent = nullptr);

    // The load step: caption, no file name, key 32 named, the grid built.
    void load();

    const GridEditor &editor() const { return m_editor; }

    // The file this window last opened or saved; "" while untitled.
    const QString &editorFileName() const { return m_editorFileName; }
    void setEditorFileName(const QString &fileName) { m_editorFileName = fileName; }
    // The caption followed by "  -  " and the file name.
    void showFileNameInTitle();

    // Both layers of every cell and the clue pane's text.
    CrosswordDocument document() const;
    // Shows a read crossword: every cell shown with both layers, then the clues.
    void showDocument(const CrosswordDocument &document);

    // Whether the window shows anything but what it last loaded, opened or
    // saved (empty after a load). Only asked before a made crossword replaces it.
    bool hasUnsavedChanges() const { return document() != m_saved; }
    // What the window shows now is in a file.
    void markSaved() { m_saved = document(); }

    // Opens the number pad (number) or the letter keyboard at the cell,
    // showing the whole grid first when a preview hides the cell.
    void selectCell(int cell, bool number);
    // Selects line 1.. of the clues in the clue pane and gives it the focus.
    void selectClueLine(int line);

    void hidePopups();
    qreal clueFontSize() const;
    void setClueFontSize(qreal points);

    GridLabels *grid() const { return m_grid; }
    GridCursor *gridCursor() const { return m_cursor; }
    LetterKeyboard *keyboard() const { return m_keyboard; }
    NumberPad *numberPad() const { return m_numberPad; }
    CluePane *cluePane() const { return m_cluePane; }

private:
    void buildControls();
    template <typename Operation> void apply(Operation operation);
    void redraw();

    GridEditor m_editor;
    QString m_editorFileName;
    CrosswordDocument m_saved;
    ClientArea *m_client = nullptr;
    GridLabels *m_grid = nullptr;
    GridCursor *m_cursor = nullptr;
    CluePane *m_cluePane = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_preview = nullptr;
    LetterKeyboard *m_keyboard = nullptr;
    NumberPad *m_numberPad = nullptr;
};
