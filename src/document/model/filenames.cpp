#include "filenames.h"

QString &currentFileName()
{
    static QString name;
    return name;
}
