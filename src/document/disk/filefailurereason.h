#pragma once

#include <QFileDevice>
#include <QString>

// Why a file operation failed, as a short Russian phrase that fits after a
// colon in a message ("Не удалось сохранить файл «x.crs»: диск заполнен.").
// The system's own texts (strerror, errorString) are English and never shown.
class FileFailureReason
{
public:
    // From an errno value; any value not named here gets a general phrase with its number.
    static QString fromErrno(int error);
    // From Qt's error class, for failures that come without an errno.
    static QString fromFileError(QFileDevice::FileError error);
    // Why nothing can be reached at a path where QFileInfo finds nothing: a
    // loop of symbolic links, a folder that may not be entered; "" when there
    // is simply no such file. QFileInfo says "does not exist" to all of them.
    static QString ofMissingPath(const QString &path);
};
