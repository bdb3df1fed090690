#include "accessiblefactory.h"

#include "clickablelabel.h"
#include "clientareaaccessible.h"
#include "cluepaneaccessible.h"
#include "gridcellaccessible.h"
#include "gridcursor.h"
#include "gridcursoraccessible.h"
#include "spokenstatusaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPlainTextEdit>

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
    // The start window and the About window are plain widgets, which Qt
    // would present as a bare pane rather than as a window with a title.
    if (className == QLatin1String("Form2") || className == QLatin1String("Form3"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (className == QLatin1String("GridCursor"))
        return new GridCursorAccessible(static_cast<GridCursor *>(object));
    // Qt asks for every label as it is shown, assistive technology or not:
    // the name decides, and the grid is looked up only when a reader asks.
    if (className == QLatin1String("ClickableLabel") &&
        object->objectName() == QLatin1String("Label1"))
        return new GridCellAccessible(static_cast<ClickableLabel *>(object));
    if (className == QLatin1String("SpokenStatus") ||
        (className == QLatin1String("QWidget") &&
         object->objectName() == QLatin1String("SpokenMessage")))
        return new SpokenStatusAccessible(static_cast<QWidget *>(object));
    if (className == QLatin1String("CluePane"))
        return new CluePaneAccessible(static_cast<QPlainTextEdit *>(object));
    if (className == QLatin1String("ClientArea")) {
        auto *area = static_cast<QWidget *>(object);
        if (ClientAreaAccessible::gridCursorOf(area))
            return new ClientAreaAccessible(area);
    }
    return nullptr;
}
