#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// Makes the accessible objects of the grid: the grid itself, its cells, and a
// client area that shows a screen reader the grid instead of its 800 labels.
class AccessibleFactory
{
public:
    // Safe to call more than once.
    static void install();

private:
    static QAccessibleInterface *create(const QString &className, QObject *object);
};
