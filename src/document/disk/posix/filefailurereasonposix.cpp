#include "filefailurereason.h"

#include <QFile>

#include <cerrno>

#include <sys/stat.h>

QString FileFailureReason::ofMissingPath(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 || errno == ENOENT ||
        errno == ENOTDIR)
        return {};
    return fromErrno(errno);
}
