#pragma once

#include "gridsolver.h"

#include <QMainWindow>

class ClickableLabel;
class ClientArea;
class CluePane;
class CrosswordDocument;
class GridCursor;
class GridLabels;
class LetterKeyboard;
class QComboBox;
class QPushButton;

// The pupil's window: a thin view over GridSolver. Each event calls one
// operation of the solver, then the window redraws from the solver's state.
// The menu commands are connected by the window's owner (find them with
// MainMenus::action).
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    // The load step: title from the file name, the solver loaded, the grid built.
    void load(const QString &fileName, const CrosswordDocument &document);

    const GridSolver &solver() const { return m_solver; }

    // Closes the letter keyboard, as every menu command but "Выход" does first.
    void hideKeyboard();
    qreal clueFontSize() const;
    void setClueFontSize(qreal points);

    GridLabels *grid() const { return m_grid; }
    GridCursor *gridCursor() const { return m_cursor; }
    LetterKeyboard *keyboard() const { return m_keyboard; }
    CluePane *cluePane() const { return m_cluePane; }

signals:
    // A double click on the "попыток - ошибок" caption.
    void aboutRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void selectCell(int cell);
    void pressLetterKey(int key);
    void finishCheck();
    void backToSolving();
    void redraw();
    void redrawCell(int cell);
    // The history's edit field is the pupil's: it is set only at load and by a check.
    void showLastHistoryLine();

    GridSolver m_solver;
    ClientArea *m_client = nullptr;
    GridLabels *m_grid = nullptr;
    GridCursor *m_cursor = nullptr;
    CluePane *m_cluePane = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_finish = nullptr;
    ClickableLabel *m_historyCaption = nullptr;
    QComboBox *m_history = nullptr;
    LetterKeyboard *m_keyboard = nullptr;
    // "закончить" was pressed with a key, so the focus moves to the result.
    bool m_checkByKey = false;
    // A key pressed a cell; in review the focus moves to the hint.
    bool m_cellByKey = false;
};
