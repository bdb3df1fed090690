#pragma once

#include "windowregistry.h"

#include <QObject>

#include <functional>

class CrosswordDocument;
class CrosswordFileError;
class Form3;
class Platform;
class QMainWindow;

// The program as a whole: the start window, which window follows which, the
// solving window's Open, and the commands both main windows share.
class Program : public QObject
{
    Q_OBJECT

public:
    // quit ends the event loop; tests pass their own.
    explicit Program(Platform &platform, std::function<void()> quit = {});
    ~Program() override;

    // Loads and shows the start window.
    void start();
    // Opens a crossword named on the command line as if it had been chosen
    // after "открыть" on the start window. problem: why the name cannot be
    // read at all, or "".
    void startWith(const QString &fileName, const QString &problem = {});

    // Start window buttons.
    void openFromStart();
    void createFromStart();
    // "Выход": ends at once, asking nothing.
    void endProgram();

    // The solving window's "Открыть...".
    void openCrossword();

    // Shared commands; window is the main window whose menu was used.
    void cycleClueFontSize(QMainWindow *window);
    void openHelp(QMainWindow *window);
    void showAbout(QMainWindow *window);

    const WindowRegistry &windows() const { return m_windows; }

private:
    bool readCrossword(QWidget *owner, const QString &path, CrosswordDocument *document);
    Form3 *loadStart();
    void showStart(Form3 *start);
    bool replaceStart(Form3 *start, const QString &fileName, CrosswordFileError *error);
    void showSolving(const QString &fileName, const CrosswordDocument &document);
    // A fresh editing window, showing the crossword when one is given.
    void showEditing(const CrosswordDocument *crossword = nullptr);
    void connectSharedMenus(QMainWindow *window);
    void hidePopups(QMainWindow *window);
    static void centre(QWidget *window);

    Platform &m_platform;
    std::function<void()> m_quit;
    WindowRegistry m_windows;
};
