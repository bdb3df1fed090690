#include "spokenstatus.h"

#include "accessiblefactory.h"

#include <QAccessible>

SpokenStatus::SpokenStatus(QWidget *parent) : QWidget(parent), m_message(new QWidget(this))
{
    AccessibleFactory::install();
    setObjectName(QStringLiteral("SpokenStatus"));
    m_message->setObjectName(QStringLiteral("SpokenMessage"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SpokenStatus::say(const QString &words)
{
    m_words = words;
    emit spoken(words);
    // The notification is said to show without showing: the event is what a
    // reader speaks, and nothing appears on the screen.
    if (!QAccessible::isActive() || words.isEmpty())
        return;
    QAccessibleEvent event(m_message, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}
