#include "popupkeys.h"

#include "gridgeometry.h"
#include "letterkeyboard.h"
#include "letterkeymap.h"
#include "numberpad.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Escape on the pad has no key of its own.
constexpr int Dismiss = -1;

int padKeyFor(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0 + 1;
    const QString text = event.text();
    if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9')
        return text.at(0).unicode() - u'0' + 1;
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return GridGeometry::PadClearKey;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridGeometry::PadDisplayKey;
    case Qt::Key_Escape:
        return Dismiss;
    default:
        return 0;
    }
}

} // namespace

PopupKeys::PopupKeys(KeyPanel *panel, KeyFor keyFor, int closeKey)
    : QObject(panel), m_panel(panel), m_keyFor(keyFor), m_closeKey(closeKey)
{
    panel->installEventFilter(this);
}

PopupKeys *PopupKeys::forLetterKeyboard(LetterKeyboard *keyboard)
{
    return new PopupKeys(keyboard, &LetterKeyMap::keyFor, GridGeometry::CloseKey);
}

PopupKeys *PopupKeys::forNumberPad(NumberPad *pad)
{
    return new PopupKeys(pad, &padKeyFor, 0);
}

bool PopupKeys::isOpen() const
{
    return m_panel->isVisible();
}

int PopupKeys::keyFor(const QKeyEvent &event) const
{
    return m_keyFor(event);
}

bool PopupKeys::press(const QKeyEvent &event)
{
    if (!isOpen())
        return false;
    const int key = m_keyFor(event);
    if (key == Dismiss) {
        dismiss();
    } else if (key > 0) {
        m_panel->key(key)->click();
        emit typed(key);
    }
    return key != 0;
}

void PopupKeys::dismiss()
{
    if (!isOpen())
        return;
    if (m_closeKey > 0)
        m_panel->key(m_closeKey)->click();
    else
        emit dismissRequested();
}

bool PopupKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Hide)
            watch(type == QEvent::Show);
        return false;
    }
    if (watched != m_focus || event->type() != QEvent::KeyPress)
        return false;
    return press(*static_cast<QKeyEvent *>(event));
}

void PopupKeys::watch(bool shown)
{
    if (shown == m_watching)
        return;
    m_watching = shown;
    if (shown) {
        connect(qApp, &QApplication::focusChanged, this, &PopupKeys::followFocus);
        followFocus();
    } else {
        disconnect(qApp, &QApplication::focusChanged, this, &PopupKeys::followFocus);
        if (m_focus)
            m_focus->removeEventFilter(this);
        m_focus = nullptr;
    }
}

void PopupKeys::followFocus()
{
    // Keys go to the window's focus widget, or to the window when it has none.
    QWidget *window = m_panel->window();
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    if (target == m_focus)
        return;
    if (m_focus)
        m_focus->removeEventFilter(this);
    m_focus = target;
    m_focus->installEventFilter(this);
}
