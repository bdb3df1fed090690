// The POSIX face of FileBytes.
#include "filebytes.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileBytes::Status FileBytes::read(const QString &path, qint64 limit, QByteArray *bytes, int *error)
{
    // Opened without blocking, in case a pipe took the file's place.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        *error = errno;
        return Status::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Status::NotAFile;
    }
    // Bounded even if the file grew since it was measured.
    QByteArray read(limit + 1, Qt::Uninitialized);
    qsizetype got = 0;
    int readError = 0;
    while (got < read.size()) {
        const ssize_t n = ::read(fd, read.data() + got, size_t(read.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readError = errno;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    if (readError != 0) {
        *error = readError;
        return Status::Failed;
    }
    read.truncate(got);
    *bytes = std::move(read);
    return Status::Read;
}
