// The POSIX face of FileIdentity.
#include "fileidentity.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity(quint64(st.st_dev), quint64(st.st_ino));
}

std::optional<FileIdentity> FileIdentity::ofStandardOutput()
{
    struct stat st {};
    if (::fstat(STDOUT_FILENO, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileIdentity(quint64(st.st_dev), quint64(st.st_ino));
}
