#include "accessiblefactory.h"

#include "clickablelabel.h"
#include "clientareaaccessible.h"
#include "gridcellaccessible.h"
#include "gridcursor.h"
#include "gridcursoraccessible.h"

#include <QAccessible>

void AccessibleFactory::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&AccessibleFactory::create);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface *AccessibleFactory::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("GridCursor"))
        return new GridCursorAccessible(static_cast<GridCursor *>(object));
    if (className == QLatin1String("ClickableLabel")) {
        auto *label = static_cast<ClickableLabel *>(object);
        if (GridCursor *cursor = ClientAreaAccessible::gridCursorOf(label->parentWidget());
            cursor && label->objectName() == QLatin1String("Label1"))
            return new GridCellAccessible(label, cursor);
        return nullptr;
    }
    if (className == QLatin1String("ClientArea")) {
        auto *area = static_cast<QWidget *>(object);
        if (ClientAreaAccessible::gridCursorOf(area))
            return new ClientAreaAccessible(area);
    }
    return nullptr;
}
