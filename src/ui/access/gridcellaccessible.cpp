#include "gridcellaccessible.h"

#include "clickablelabel.h"
#include "gridcursor.h"

GridCellAccessible::GridCellAccessible(ClickableLabel *letter, GridCursor *cursor)
    : QAccessibleWidget(letter, QAccessible::Button), m_cursor(cursor)
{
}

int GridCellAccessible::cell() const
{
    return static_cast<ClickableLabel *>(widget())->index();
}

QString GridCellAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && m_cursor)
        return m_cursor->cellName(cell());
    if (t == QAccessible::Name || t == QAccessible::Description)
        return QString();
    return QAccessibleWidget::text(t);
}

QAccessibleInterface *GridCellAccessible::parent() const
{
    return m_cursor ? QAccessible::queryAccessibleInterface(m_cursor.data()) : nullptr;
}

QAccessible::State GridCellAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    s.focused = m_cursor && m_cursor->isFocused() && m_cursor->cell() == cell();
    return s;
}

QStringList GridCellAccessible::actionNames() const
{
    return {pressAction()};
}

void GridCellAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && m_cursor)
        m_cursor->pressCell(cell());
}
