#pragma once

#include <QByteArray>
#include <QString>

// Reads a regular file whole and byte for byte (never in a text mode), without
// blocking on anything that took the file's place since it was looked at: a
// pipe or a device is refused. A POSIX and a Windows face.
class FileBytes
{
public:
    enum class Status { Read, NotAFile, Failed };

    // Reads at most limit + 1 bytes, so that a file grown past limit shows.
    // Failed leaves the errno value in error (Windows' errors translated, see
    // windowserror.h).
    static Status read(const QString &path, qint64 limit, QByteArray *bytes, int *error);
};
