#include "readingcaret.h"

#include "cluepaneaccessible.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

ReadingCaret::ReadingCaret(QPlainTextEdit *text) : QObject(text), m_text(text)
{
    text->installEventFilter(this);
}

bool ReadingCaret::isOn() const
{
    return m_text->textInteractionFlags() & Qt::TextSelectableByKeyboard;
}

void ReadingCaret::turnOn(bool on)
{
    if (on == isOn())
        return;
    m_text->setTextInteractionFlags(m_text->textInteractionFlags().setFlag(
        Qt::TextSelectableByKeyboard, on));
    // Only a caret on show needs to hear of mouse presses.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void ReadingCaret::moveByLine(bool down)
{
    QTextCursor cursor = m_text->textCursor();
    const auto [start, end] = CluePaneAccessible::lineAround(m_text, cursor.position());
    const int last = m_text->document()->characterCount() - 1;
    int target = start;
    if (down && end < last)
        target = end + 1;
    else if (!down && start > 0)
        target = CluePaneAccessible::lineAround(m_text, start - 1).first;
    cursor.setPosition(target);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
}

bool ReadingCaret::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_text && type == QEvent::KeyPress) {
        turnOn(true);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            moveByLine(key->key() == Qt::Key_Down);
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == m_text->window())
            turnOn(false);
    }
    return false;
}
