#include "safefilewriter.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Result = SafeFileWriter::Result;
using Outcome = SafeFileWriter::Outcome;

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now, since close() itself can report a lost write.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// A write past the process's file-size limit raises SIGXFSZ, which ends the
// program by default and loses the crossword on screen. While saving it is
// ignored, so the write fails with EFBIG and is reported like a full disk.
class FileSizeSignalIgnored
{
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        m_active = ::sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
    }
    ~FileSizeSignalIgnored()
    {
        if (m_active)
            ::sigaction(SIGXFSZ, &m_previous, nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored &) = delete;
    FileSizeSignalIgnored &operator=(const FileSizeSignalIgnored &) = delete;

private:
    struct sigaction m_previous {};
    bool m_active = false;
};

Result failure(Outcome outcome, int error, bool existed)
{
    return Result{outcome, error, existed};
}

// A short write is followed by a failing one that names the reason (ENOSPC,
// EFBIG); a write that makes no progress at all is a full disk as well.
bool writeAll(int fd, QByteArrayView bytes, int *error, off_t offset = 0)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(left), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0) {
            *error = ENOSPC;
            return false;
        }
        data += n;
        left -= n;
        offset += n;
    }
    return true;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the file itself is already on disk
        ::close(fd);
    }
}

Result writeInPlace(const QByteArray &target, const QByteArray &bytes)
{
    // O_NONBLOCK: a pipe put at the path since it was examined must not hang the window.
    Descriptor fd(::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid())
        return failure(Outcome::NothingChanged, errno, true);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return failure(Outcome::NothingChanged, errno, true);
    if (!S_ISREG(st.st_mode))
        return failure(Outcome::NothingChanged, ENODEV, true);

    const off_t oldSize = st.st_size;
    const off_t newSize = bytes.size();
    int error = 0;
    if (newSize > oldSize) {
        // The room is claimed by writing the part past the old end first: a
        // full disk then fails here, with the old contents untouched.
        // posix_fallocate would do on some file systems only, and elsewhere
        // needs a readable descriptor.
        const bool reserved =
            writeAll(fd.get(), QByteArrayView(bytes).sliced(oldSize), &error, oldSize) &&
            ::fsync(fd.get()) == 0;
        if (!reserved) {
            if (error == 0)
                error = errno;
            if (::ftruncate(fd.get(), oldSize) != 0)
                return failure(Outcome::PartlyWritten, error, true);
            return failure(Outcome::NothingChanged, error, true);
        }
    }
    if (!writeAll(fd.get(), bytes, &error))
        return failure(Outcome::PartlyWritten, error, true);
    if (newSize < oldSize && ::ftruncate(fd.get(), newSize) != 0)
        return failure(Outcome::PartlyWritten, errno, true);
    if (::fsync(fd.get()) != 0 || fd.close() != 0)
        return failure(Outcome::PartlyWritten, errno, true);
    return Result{};
}

} // namespace

SafeFileWriter::Result SafeFileWriter::write(const QString &path, const QByteArray &bytes)
{
    const FileSizeSignalIgnored noSignal;
    QByteArray target = QFile::encodeName(path);
    struct stat st {};
    const bool existed = ::stat(target.constData(), &st) == 0;
    if (!existed && errno != ENOENT)
        return failure(Outcome::NothingChanged, errno, false);
    if (existed) {
        if (S_ISDIR(st.st_mode))
            return failure(Outcome::NothingChanged, EISDIR, true);
        if (!S_ISREG(st.st_mode))
            return failure(Outcome::NothingChanged, ENODEV, true);
        // A file the user may not write stays so, even where the folder would
        // let it be replaced.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            return failure(Outcome::NothingChanged, errno, true);
        // Through a symbolic link the file it points to is replaced, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved))
            target = resolved;
        // Replacing one name would split the file from its other names.
        if (st.st_nlink > 1)
            return writeInPlace(target, bytes);
    }

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
    const QByteArray name = target.mid(slash + 1);
    QByteArray temporary = folder + "/." + name + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        const int error = errno;
        // A folder the user cannot write may still hold a file the user can.
        if (existed && (error == EACCES || error == EPERM || error == EROFS))
            return writeInPlace(target, bytes);
        return failure(Outcome::NothingChanged, error, existed);
    }

    auto abandon = [&](int error) {
        ::unlink(temporary.constData());
        return failure(Outcome::NothingChanged, error, existed);
    };
    int error = 0;
    if (!writeAll(fd.get(), bytes, &error))
        return abandon(error);
    if (existed) {
        // Owner and group first: changing them clears the set-id bits that
        // the mode below puts back. A group the user does not belong to
        // cannot be given; the save goes on with the user's own.
        if (::fchown(fd.get(), st.st_uid, st.st_gid) != 0)
            (void)::fchown(fd.get(), uid_t(-1), st.st_gid);
    }
    const mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd.get(), mode) != 0)
        return abandon(errno);
    if (::fsync(fd.get()) != 0)
        return abandon(errno);
    if (fd.close() != 0)
        return abandon(errno);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return abandon(errno);
    syncFolder(folder);
    return Result{};
}
