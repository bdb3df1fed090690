#include "gridcursoraccessible.h"

#include "clickablelabel.h"
#include "gridcursor.h"
#include "gridlabels.h"

GridCursorAccessible::GridCursorAccessible(GridCursor *cursor)
    : QAccessibleWidget(cursor, QAccessible::Grouping)
{
}

GridCursor *GridCursorAccessible::cursor() const
{
    return static_cast<GridCursor *>(widget());
}

QString GridCursorAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return QStringLiteral("сетка кроссворда");
    return QAccessibleWidget::text(t);
}

int GridCursorAccessible::childCount() const
{
    return int(cursor()->exposedCells().size());
}

QAccessibleInterface *GridCursorAccessible::child(int index) const
{
    const QList<int> cells = cursor()->exposedCells();
    if (index < 0 || index >= cells.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(cursor()->grid()->letterLabel(cells.at(index)));
}

int GridCursorAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *label = child ? qobject_cast<const ClickableLabel *>(child->object()) : nullptr;
    if (!label || label->parentWidget() != cursor()->parentWidget())
        return -1;
    return int(cursor()->exposedCells().indexOf(label->index()));
}

QAccessibleInterface *GridCursorAccessible::focusChild() const
{
    if (!cursor()->isFocused() || !cursor()->isExposed(cursor()->cell()))
        return nullptr;
    return QAccessible::queryAccessibleInterface(cursor()->grid()->letterLabel(cursor()->cell()));
}
