#include "spokenstatusaccessible.h"

#include "spokenstatus.h"

SpokenStatusAccessible::SpokenStatusAccessible(QWidget *widget)
    : QAccessibleWidget(widget, qobject_cast<SpokenStatus *>(widget) ? QAccessible::StatusBar
                                                                     : QAccessible::Notification)
{
}

const SpokenStatus *SpokenStatusAccessible::status() const
{
    return qobject_cast<const SpokenStatus *>(widget()->parentWidget());
}

QString SpokenStatusAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && role() == QAccessible::Notification && status())
        return status()->words();
    return QAccessibleWidget::text(t);
}
