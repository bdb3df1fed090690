// The POSIX face of the writer: see safefilewriter.h.
#include "safefilewriter.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/resource.h>
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
// ignored, so that a write the limit stops fails with EFBIG instead.
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
bool writeAll(int fd, QByteArrayView bytes, int *error)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    off_t offset = 0;
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

// Up to size bytes from the start; fewer where the file has become shorter.
bool readAll(int fd, off_t size, QByteArray *bytes, int *error)
{
    bytes->resize(qsizetype(size));
    off_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes->data() + got, size_t(size - got), got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    bytes->truncate(qsizetype(got));
    return true;
}

bool beyondSizeLimit(qsizetype size)
{
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           rlim_t(size) > limit.rlim_cur;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool inGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    QList<gid_t> groups(count);
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

// A file that a new one would not fully stand in for: its other names would
// keep the old contents, and its owner or group could not be given to a new
// file. That also covers a shared folder with the sticky bit (mode 1777), where
// only the owner may replace a file.
bool replacingLosesIdentity(const struct stat &st)
{
    if (st.st_nlink > 1)
        return true;
    if (::geteuid() == 0)
        return false;
    return st.st_uid != ::geteuid() || !inGroup(st.st_gid);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
}

// As the kernel's protected_symlinks does: in a folder that anyone may write
// and only owners may delete from (/tmp), a link is followed only when it is
// the user's own or the folder owner's, so that nobody can plant one there
// that makes the user's save create a file elsewhere.
bool mayFollow(const QByteArray &link, const struct stat &linkStat)
{
    struct stat folder {};
    if (::stat(folderOf(link).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
}

// The path with its symbolic links followed, so that saving writes the file a
// link points to instead of replacing the link: by the kernel when the file
// exists, by hand for a link that points to nothing yet. Null, with error
// set, when a link cannot be followed.
QByteArray finalTarget(QByteArray path, int *error)
{
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return resolved;
    if (errno != ENOENT) {
        *error = errno;
        return {};
    }
    constexpr int MaxLinks = 40; // as the kernel allows in one path
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            if (errno == ENOENT)
                return path;
            *error = errno;
            return {};
        }
        if (!S_ISLNK(st.st_mode))
            return path;
        if (links == MaxLinks || !mayFollow(path, st)) {
            *error = links == MaxLinks ? ELOOP : EACCES;
            return {};
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (n < 0 || n == link.size()) {
            *error = n < 0 ? errno : ENAMETOOLONG;
            return {};
        }
        link.truncate(n);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
}

// ".NAME.XXXXXX" beside the file. NAME is cut, at a character boundary, where
// the whole would be longer than a name may be, so that a file whose name is
// close to the limit can still be saved.
QByteArray temporaryPath(const QByteArray &folder, const QByteArray &name)
{
    long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    qsizetype keep = std::clamp<qsizetype>(limit - 8, 0, name.size());
    while (keep > 0 && keep < name.size() && (uchar(name[keep]) & 0xC0) == 0x80)
        --keep;
    return folder + "/." + name.left(keep) + ".XXXXXX";
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
    // Read-write: the old contents are kept, and where the file system has no
    // fallocate, glibc's stand-in for it reads before it writes.
    // O_NONBLOCK: a pipe put at the path since it was examined must not hang the window.
    Descriptor fd(::open(target.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid())
        return failure(Outcome::NothingChanged, errno, true);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return failure(Outcome::NothingChanged, errno, true);
    if (!S_ISREG(st.st_mode))
        return failure(Outcome::NothingChanged, ENODEV, true);
    if (st.st_size > SafeFileWriter::MaxKeptBytes)
        return failure(Outcome::NothingChanged, SafeFileWriter::TooLargeToKeep, true);

    int error = 0;
    QByteArray old;
    if (!readAll(fd.get(), st.st_size, &old, &error))
        return failure(Outcome::NothingChanged, error, true);
    const off_t oldSize = old.size();
    const off_t newSize = bytes.size();

    // The room for the whole new contents, the holes of a sparse old file
    // included, is claimed before the first byte changes.
    if (newSize > 0) {
        const int reserved = ::posix_fallocate(fd.get(), 0, newSize);
        if (reserved != 0) {
            const bool unsupported = reserved == EOPNOTSUPP || reserved == ENOSYS ||
                                     reserved == EINVAL;
            // A reservation that failed part-way may have made the file longer.
            if (::fstat(fd.get(), &st) == 0 && st.st_size != oldSize &&
                ::ftruncate(fd.get(), oldSize) != 0)
                return failure(Outcome::PartlyWritten, errno, true);
            return failure(Outcome::NothingChanged,
                           unsupported ? SafeFileWriter::CannotReserve : reserved, true);
        }
    }

    // Whatever stops the write from here on, the old contents go back before
    // anything is reported.
    const auto restore = [&](int reason) {
        int ignored = 0;
        const bool restored = writeAll(fd.get(), old, &ignored) &&
                              ::ftruncate(fd.get(), oldSize) == 0 && ::fsync(fd.get()) == 0;
        return failure(restored ? Outcome::NothingChanged : Outcome::PartlyWritten, reason, true);
    };
    if (!writeAll(fd.get(), bytes, &error))
        return restore(error);
    if (newSize < oldSize && ::ftruncate(fd.get(), newSize) != 0)
        return restore(errno);
    if (::fsync(fd.get()) != 0)
        return restore(errno);
    if (fd.close() != 0)
        return failure(Outcome::PartlyWritten, errno, true);
    return Result{};
}

} // namespace

SafeFileWriter::Result SafeFileWriter::write(const QString &path, const QByteArray &bytes)
{
    const FileSizeSignalIgnored noSignal;
    int error = 0;
    const QByteArray target = finalTarget(QFile::encodeName(path), &error);
    if (target.isNull())
        return failure(Outcome::NothingChanged, error, false);
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
    }
    // Found now, not by a write that the limit stops half-way.
    if (beyondSizeLimit(bytes.size()))
        return failure(Outcome::NothingChanged, EFBIG, existed);
    if (existed && replacingLosesIdentity(st))
        return writeInPlace(target, bytes);

    const QByteArray folder = folderOf(target);
    QByteArray temporary = temporaryPath(folder, target.mid(target.lastIndexOf('/') + 1));
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        error = errno;
        // A folder the user cannot write may still hold a file the user can.
        if (existed && (error == EACCES || error == EPERM || error == EROFS))
            return writeInPlace(target, bytes);
        return failure(Outcome::NothingChanged, error, existed);
    }

    auto abandon = [&](int reason) {
        ::unlink(temporary.constData());
        return failure(Outcome::NothingChanged, reason, existed);
    };
    if (!writeAll(fd.get(), bytes, &error))
        return abandon(error);
    // Owner and group first: changing them clears the set-id bits that the
    // mode below puts back. Where they cannot be given after all, the file is
    // rewritten in place and keeps them.
    if (existed && ::fchown(fd.get(), st.st_uid, st.st_gid) != 0) {
        abandon(errno);
        return writeInPlace(target, bytes);
    }
    const mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd.get(), mode) != 0)
        return abandon(errno);
    if (::fsync(fd.get()) != 0)
        return abandon(errno);
    if (fd.close() != 0)
        return abandon(errno);
    if (::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
        // Refused by the folder (sticky bit, a security module) or by a file
        // mounted at the name: the file itself may still be written.
        if (existed && (error == EPERM || error == EACCES || error == EBUSY)) {
            abandon(error);
            return writeInPlace(target, bytes);
        }
        return abandon(error);
    }
    syncFolder(folder);
    return Result{};
}
