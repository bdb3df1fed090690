#include "controlarray.h"

#include <QVariant>

namespace {
constexpr const char *IndexProperty = "index";
}

void ControlArray::setIndex(QObject *control, int index)
{
    control->setProperty(IndexProperty, index);
}

int ControlArray::indexOf(const QObject *control)
{
    const QVariant value = control->property(IndexProperty);
    return value.isValid() ? value.toInt() : -1;
}
