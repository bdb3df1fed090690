#include "windowregistry.h"

#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"

#include <QTimer>

#include <utility>

WindowRegistry::WindowRegistry(std::function<void()> quit) : m_quit(std::move(quit)) {}

WindowRegistry::~WindowRegistry()
{
    // Nothing may quit any more while the windows go down with the registry.
    m_quit = nullptr;
    delete m_start.data();
    delete m_solving.data();
    delete m_editing.data();
    delete m_about.data();
}

Form3 *WindowRegistry::startWindow() const
{
    return m_start;
}

Form1 *WindowRegistry::solvingWindow() const
{
    return m_solving;
}

Form4 *WindowRegistry::editingWindow() const
{
    return m_editing;
}

Form2 *WindowRegistry::aboutWindow() const
{
    return m_about;
}

void WindowRegistry::track(QWidget *window)
{
    connect(window, &QObject::destroyed, this, [this] {
        // Queued: a window unloaded to be shown afresh is replaced before this runs.
        QTimer::singleShot(0, this, &WindowRegistry::quitIfNoneLeft);
    });
}

void WindowRegistry::adopt(Form3 *window)
{
    if (m_start)
        unload(m_start);
    m_start = window;
    track(window);
}

void WindowRegistry::adopt(Form1 *window)
{
    if (m_solving)
        unload(m_solving);
    m_solving = window;
    track(window);
}

void WindowRegistry::adopt(Form4 *window)
{
    if (m_editing)
        unload(m_editing);
    m_editing = window;
    track(window);
}

void WindowRegistry::adopt(Form2 *window)
{
    if (m_about)
        unload(m_about);
    m_about = window;
    track(window);
}

void WindowRegistry::unload(QWidget *window)
{
    if (!window)
        return;
    if (window == m_start)
        m_start = nullptr;
    else if (window == m_solving)
        m_solving = nullptr;
    else if (window == m_editing)
        m_editing = nullptr;
    else if (window == m_about)
        m_about = nullptr;
    window->hide();
    window->deleteLater();
}

int WindowRegistry::loadedCount() const
{
    return int(!m_start.isNull()) + int(!m_solving.isNull()) + int(!m_editing.isNull()) +
           int(!m_about.isNull());
}

void WindowRegistry::quitIfNoneLeft()
{
    // Several windows may go in one pass of the event loop; end only once.
    if (loadedCount() == 0 && m_quit) {
        const auto quit = std::exchange(m_quit, nullptr);
        quit();
    }
}
