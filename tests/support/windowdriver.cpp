#include "windowdriver.h"

#include "clickablelabel.h"
#include "cluepane.h"
#include "controlarray.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

ClickableLabel *WindowDriver::letter(int cell) const
{
    return ControlArray::find<ClickableLabel>(&m_window, QStringLiteral("Label1"), cell);
}

ClickableLabel *WindowDriver::number(int cell) const
{
    return ControlArray::find<ClickableLabel>(&m_window, QStringLiteral("Label2"), cell);
}

QPushButton *WindowDriver::key(int index) const
{
    return ControlArray::find<QPushButton>(&m_window, QStringLiteral("Command3"), index);
}

QPushButton *WindowDriver::padKey(int index) const
{
    return ControlArray::find<QPushButton>(&m_window, QStringLiteral("Command4"), index);
}

QWidget *WindowDriver::keyboard() const
{
    return named<QWidget>(QStringLiteral("Frame1"));
}

CluePane *WindowDriver::pane() const
{
    return named<CluePane>(QStringLiteral("Text3"));
}

void WindowDriver::clickAt(QPoint clientPoint)
{
    QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {},
                      client()->mapTo(&m_window, clientPoint));
}

void WindowDriver::clickLetter(int cell)
{
    clickAt(letter(cell)->geometry().bottomRight() - QPoint(2, 2));
}

void WindowDriver::clickNumber(int cell)
{
    clickAt(number(cell)->geometry().center());
}

QStringList WindowDriver::describeMenus(const QList<QAction *> &actions)
{
    QStringList items;
    for (const QAction *action : actions) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else if (action->menu())
            items << action->text() + u'[' + describeMenus(action->menu()->actions()).join(u',') +
                         u']';
        else
            items << action->text() + u':' + action->objectName();
    }
    return items;
}

bool WindowDriver::anyShortcut(const QList<QAction *> &actions)
{
    for (const QAction *action : actions) {
        if (!action->shortcut().isEmpty() || action->text().contains(u'&'))
            return true;
        if (action->menu() && anyShortcut(action->menu()->actions()))
            return true;
    }
    return false;
}
