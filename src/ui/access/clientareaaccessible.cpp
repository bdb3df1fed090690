#include "clientareaaccessible.h"

#include "clickablelabel.h"
#include "gridcursor.h"

ClientAreaAccessible::ClientAreaAccessible(QWidget *area)
    : QAccessibleWidget(area, QAccessible::Client)
{
}

GridCursor *ClientAreaAccessible::gridCursorOf(const QWidget *area)
{
    return area ? area->findChild<GridCursor *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QList<QWidget *> ClientAreaAccessible::shownChildren() const
{
    QList<QWidget *> widgets;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow())
            continue;
        const QString name = child->objectName();
        // The grid's labels are reached through the grid; the etched lines
        // under the menu bar are decoration.
        const bool gridLabel = qobject_cast<ClickableLabel *>(child) &&
                               (name == QLatin1String("Label1") || name == QLatin1String("Label2"));
        if (!gridLabel && name != QLatin1String("Line1") && name != QLatin1String("Line2"))
            widgets.append(child);
    }
    return widgets;
}

int ClientAreaAccessible::childCount() const
{
    return int(shownChildren().size());
}

QAccessibleInterface *ClientAreaAccessible::child(int index) const
{
    const QList<QWidget *> widgets = shownChildren();
    if (index < 0 || index >= widgets.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(widgets.at(index));
}

int ClientAreaAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}
