#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QWidget;

// Controls that the design keeps in arrays (Label1(0..399), Command3(1..34))
// share their object name and carry their element number in the "index"
// property, so tools and tests find "Label1" element 37 by name.
class ControlArray
{
public:
    static void setIndex(QObject *control, int index);
    static int indexOf(const QObject *control);

    // The element of the named array under parent, or nullptr.
    template <typename T>
    static T *find(const QObject *parent, const QString &name, int index)
    {
        const QList<T *> all = parent->findChildren<T *>(name);
        for (T *control : all) {
            if (indexOf(control) == index)
                return control;
        }
        return nullptr;
    }
};
