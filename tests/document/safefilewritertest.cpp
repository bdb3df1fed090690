#include "ordinaryuser.h"
#include "testfiles.h"
#include "safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = SafeFileWriter::Outcome;

constexpr uid_t Nobody = OrdinaryUser::Nobody;
constexpr gid_t NoGroup = OrdinaryUser::NoGroup;
constexpr gid_t UsersGroup = OrdinaryUser::SecondGroup;

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

// Runs body as an ordinary user, so that permissions bite also under root.
std::optional<SafeFileWriter::Result> runAsOrdinaryUser(
    const std::function<SafeFileWriter::Result()> &body)
{
    const std::optional<QByteArray> bytes = OrdinaryUser::run([&] {
        const SafeFileWriter::Result result = body();
        return QByteArray(reinterpret_cast<const char *>(&result), sizeof result);
    });
    if (!bytes || bytes->size() != sizeof(SafeFileWriter::Result))
        return std::nullopt;
    SafeFileWriter::Result result;
    std::memcpy(&result, bytes->constData(), sizeof result);
    return result;
}

// Writes past a small file-size limit fail with EFBIG, as on a full disk. The
// signal that such a write raises keeps its default action, which would end
// the program.
SafeFileWriter::Result writeWithSizeLimit(const QString &path, const QByteArray &bytes,
                                          rlim_t limit)
{
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_DFL);
    struct rlimit small = saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const SafeFileWriter::Result result = SafeFileWriter::write(path, bytes);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

class SafeFileWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Reachable for the unprivileged child.
        ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList allEntries(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir{QStringLiteral("/tmp/safefilewriter-XXXXXX")};
    const QByteArray m_old = QByteArray("old contents of a shared file\r\n");
    const QByteArray m_new = QByteArray(5000, 'n');
};

} // namespace

TEST_F(SafeFileWriterTest, ReplacingAFileKeepsItsModeOwnerAndGroup)
{
    putFileBytes(path("a.crs"), m_old);
    ASSERT_EQ(::chmod(QFile::encodeName(path("a.crs")).constData(), 0640), 0);
    if (::geteuid() == 0) { // someone else's file, as in a shared folder
        ASSERT_EQ(::chown(QFile::encodeName(path("a.crs")).constData(), Nobody, UsersGroup), 0);
    }
    const struct stat before = statOf(path("a.crs"));

    const SafeFileWriter::Result result = SafeFileWriter::write(path("a.crs"), m_new);
    EXPECT_EQ(result.outcome, Outcome::Written);
    EXPECT_EQ(fileBytes(path("a.crs")), m_new);
    const struct stat after = statOf(path("a.crs"));
    EXPECT_NE(after.st_ino, before.st_ino) << "a single-named file in an open folder is replaced";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(allEntries(m_dir.path()), QStringList{"a.crs"}) << "no temporary file is left";

    // A new file gets the usual mode for the user's umask, not a private one.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(SafeFileWriter::write(path("new.crs"), m_new).outcome, Outcome::Written);
    ::umask(mask);
    EXPECT_EQ(statOf(path("new.crs")).st_mode & 07777, 0644u);
}

// Replacing one name of a file left its other names with the old contents.
TEST_F(SafeFileWriterTest, AFileWithOtherNamesIsRewrittenInPlaceForAllOfThem)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("class")));
    putFileBytes(path("a.crs"), m_new);
    ASSERT_EQ(::link(QFile::encodeName(path("a.crs")).constData(),
                     QFile::encodeName(path("class/copy.crs")).constData()),
              0);
    ASSERT_TRUE(QFile::link(path("a.crs"), path("shortcut.crs")));
    const ino_t inode = statOf(path("a.crs")).st_ino;

    // Shrinking, then growing, through the symbolic link and the other name.
    for (const auto &[name, bytes] :
         {std::pair{QStringLiteral("a.crs"), m_old}, std::pair{QStringLiteral("shortcut.crs"), m_new},
          std::pair{QStringLiteral("class/copy.crs"), QByteArray("x")}}) {
        const SafeFileWriter::Result result = SafeFileWriter::write(path(name), bytes);
        EXPECT_EQ(result.outcome, Outcome::Written) << name.toStdString();
        EXPECT_EQ(fileBytes(path("a.crs")), bytes);
        EXPECT_EQ(fileBytes(path("class/copy.crs")), bytes);
        EXPECT_EQ(statOf(path("a.crs")).st_ino, inode);
        EXPECT_EQ(statOf(path("a.crs")).st_nlink, 2u);
    }
    EXPECT_TRUE(QFileInfo(path("shortcut.crs")).isSymLink());
}

// On a nearly full disk a failed save left a half-written file, or said
// "Unknown error" after a short write.
TEST_F(SafeFileWriterTest, AFullDiskIsFoundBeforeAnyFileIsTouched)
{
    putFileBytes(path("single.crs"), m_old);
    SafeFileWriter::Result result = writeWithSizeLimit(path("single.crs"), m_new, 3000);
    EXPECT_EQ(result.outcome, Outcome::NothingChanged);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_TRUE(result.existed);
    EXPECT_EQ(fileBytes(path("single.crs")), m_old);

    result = writeWithSizeLimit(path("absent.crs"), m_new, 3000);
    EXPECT_EQ(result.outcome, Outcome::NothingChanged);
    EXPECT_FALSE(result.existed);
    EXPECT_EQ(allEntries(m_dir.path()), QStringList{"single.crs"});

    // In place, the room for the new size is asked for before writing.
    ASSERT_EQ(::link(QFile::encodeName(path("single.crs")).constData(),
                     QFile::encodeName(path("linked.crs")).constData()),
              0);
    result = writeWithSizeLimit(path("single.crs"), m_new, 3000);
    EXPECT_EQ(result.outcome, Outcome::NothingChanged);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(fileBytes(path("linked.crs")), m_old);
    EXPECT_EQ(statOf(path("linked.crs")).st_size, m_old.size());
}

TEST_F(SafeFileWriterTest, FoldersAndMissingFoldersAreRefused)
{
    SafeFileWriter::Result result = SafeFileWriter::write(m_dir.path(), m_new);
    EXPECT_EQ(result.outcome, Outcome::NothingChanged);
    EXPECT_EQ(result.error, EISDIR);

    result = SafeFileWriter::write(path("no/such/folder/x.crs"), m_new);
    EXPECT_EQ(result.outcome, Outcome::NothingChanged);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_FALSE(result.existed);
}

// A writable file in a folder the user cannot write could not be saved at all
// ("Permission denied").
TEST_F(SafeFileWriterTest, AWritableFileInAClosedFolderIsRewrittenInPlace)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("closed")));
    const QString shared = path("closed/shared.crs");
    const QString locked = path("closed/locked.crs");
    putFileBytes(shared, m_old);
    putFileBytes(locked, m_old);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("closed")).constData(), 0555), 0);
    const ino_t inode = statOf(shared).st_ino;

    const auto saved = runAsOrdinaryUser([&] { return SafeFileWriter::write(shared, m_new); });
    const auto refused = runAsOrdinaryUser([&] { return SafeFileWriter::write(locked, m_new); });
    const auto created = runAsOrdinaryUser(
        [&] { return SafeFileWriter::write(path("closed/new.crs"), m_new); });
    ::chmod(QFile::encodeName(path("closed")).constData(), 0755);

    ASSERT_TRUE(saved && refused && created) << "the child process failed";
    EXPECT_EQ(saved->outcome, Outcome::Written);
    EXPECT_EQ(fileBytes(shared), m_new);
    EXPECT_EQ(statOf(shared).st_ino, inode);
    EXPECT_EQ(statOf(shared).st_mode & 07777, 0666u);

    EXPECT_EQ(refused->outcome, Outcome::NothingChanged);
    EXPECT_EQ(refused->error, EACCES);
    EXPECT_TRUE(refused->existed);
    EXPECT_EQ(fileBytes(locked), m_old);

    EXPECT_EQ(created->outcome, Outcome::NothingChanged);
    EXPECT_EQ(created->error, EACCES);
    EXPECT_FALSE(created->existed);
    EXPECT_EQ(allEntries(path("closed")), (QStringList{"locked.crs", "shared.crs"}));
}

TEST_F(SafeFileWriterTest, AReadOnlyFileIsNotReplacedEvenInAnOpenFolder)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("open")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("open")).constData(), 0777), 0);
    const QString kept = path("open/kept.crs");
    putFileBytes(kept, m_old);
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0444), 0);

    const auto result = runAsOrdinaryUser([&] { return SafeFileWriter::write(kept, m_new); });
    ASSERT_TRUE(result) << "the child process failed";
    EXPECT_EQ(result->outcome, Outcome::NothingChanged);
    EXPECT_EQ(result->error, EACCES);
    EXPECT_EQ(fileBytes(kept), m_old);
    EXPECT_EQ(allEntries(path("open")), QStringList{"kept.crs"});
}

// Saving gave the file the user's own group, shutting out colleagues.
TEST_F(SafeFileWriterTest, TheFilesGroupIsKeptWhereTheUserBelongsToIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a user with a second group";
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("teacher")));
    const QString file = path("teacher/lesson.crs");
    putFileBytes(file, m_old);
    ASSERT_EQ(::chown(QFile::encodeName(path("teacher")).constData(), Nobody, NoGroup), 0);
    ASSERT_EQ(::chown(QFile::encodeName(file).constData(), Nobody, UsersGroup), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0664), 0);
    const ino_t inode = statOf(file).st_ino;

    const auto result = runAsOrdinaryUser([&] { return SafeFileWriter::write(file, m_new); });
    ASSERT_TRUE(result) << "the child process failed";
    EXPECT_EQ(result->outcome, Outcome::Written);
    EXPECT_EQ(fileBytes(file), m_new);
    const struct stat after = statOf(file);
    EXPECT_NE(after.st_ino, inode) << "replaced atomically";
    EXPECT_EQ(after.st_gid, UsersGroup);
    EXPECT_EQ(after.st_uid, Nobody);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
}
