#include "gridcellaccessible.h"

#include "clickablelabel.h"
#include "clientareaaccessible.h"
#include "gridcursor.h"

GridCellAccessible::GridCellAccessible(ClickableLabel *letter)
    : QAccessibleWidget(letter, QAccessible::Button)
{
}

GridCursor *GridCellAccessible::cursor() const
{
    if (!m_cursor)
        m_cursor = ClientAreaAccessible::gridCursorOf(widget()->parentWidget());
    return m_cursor;
}

int GridCellAccessible::cell() const
{
    return static_cast<ClickableLabel *>(widget())->index();
}

QString GridCellAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && cursor())
        return cursor()->cellName(cell());
    if (t == QAccessible::Description && cursor())
        return cursor()->cellDescription(cell());
    if (t == QAccessible::Name || t == QAccessible::Description)
        return QString();
    return QAccessibleWidget::text(t);
}

QAccessibleInterface *GridCellAccessible::parent() const
{
    return cursor() ? QAccessible::queryAccessibleInterface(cursor()) : QAccessibleWidget::parent();
}

QAccessible::State GridCellAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    s.focused = cursor() && cursor()->isFocused() && cursor()->cell() == cell();
    return s;
}

QStringList GridCellAccessible::actionNames() const
{
    return {pressAction()};
}

void GridCellAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && cursor())
        cursor()->pressCell(cell());
}
