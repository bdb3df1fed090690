#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class Form1;
class Form2;
class Form3;
class Form4;
class QWidget;

// The one place that knows which of the four windows are loaded. Each window
// has at most one instance; unloading destroys it with all its state, and the
// program ends when the last loaded window is gone.
class WindowRegistry : public QObject
{
    Q_OBJECT

public:
    explicit WindowRegistry(std::function<void()> quit);
    ~WindowRegistry() override;

    Form3 *startWindow() const;
    Form1 *solvingWindow() const;
    Form4 *editingWindow() const;
    Form2 *aboutWindow() const;

    // Take over a freshly built window, replacing (and unloading) any previous
    // instance of the same kind.
    void adopt(Form3 *window);
    void adopt(Form1 *window);
    void adopt(Form4 *window);
    void adopt(Form2 *window);

    // Hides the window at once and destroys it when control returns to the
    // event loop, since it may be unloaded from its own menu command.
    void unload(QWidget *window);

    int loadedCount() const;

private:
    void track(QWidget *window);
    void quitIfNoneLeft();

    std::function<void()> m_quit;
    QPointer<Form3> m_start;
    QPointer<Form1> m_solving;
    QPointer<Form4> m_editing;
    QPointer<Form2> m_about;
};
