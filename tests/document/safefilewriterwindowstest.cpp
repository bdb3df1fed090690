// The writer's Windows face on a real Windows file system (under Wine in CI):
// what other programs, attributes and full disks do to a save.
#include "fileidentity.h"
#include "testfiles.h"
#include "safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <windows.h>

namespace {

using Outcome = SafeFileWriter::Outcome;

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// Holds a file open as another program would, letting others only read it.
std::shared_ptr<void> holdOpen(const QString &path)
{
    const HANDLE handle = ::CreateFileW(native(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    return std::shared_ptr<void>(handle, [](HANDLE h) { ::CloseHandle(h); });
}

class SafeFileWriterWindowsTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    const QByteArray m_old = QByteArray("old contents\r\n");
    const QByteArray m_new = QByteArray(5000, 'n');
};

} // namespace

// (ReplaceFileW keeps the file's attributes and access rights on Windows; Wine's
// does not, so that is not checked here.)
TEST_F(SafeFileWriterWindowsTest, ReplacingOrMakingAFileLeavesNothingBehind)
{
    putFileBytes(path("a.crs"), m_old);

    EXPECT_EQ(SafeFileWriter::write(path("a.crs"), m_new).outcome, Outcome::Written);
    EXPECT_EQ(fileBytes(path("a.crs")), m_new);
    EXPECT_EQ(SafeFileWriter::write(path("new.crs"), m_new).outcome, Outcome::Written);
    EXPECT_EQ(fileBytes(path("new.crs")), m_new);
    EXPECT_EQ(entries(), (QStringList{"a.crs", "new.crs"}));
}

// Each refusal is worded in Russian, and the old file, if any, is as it was.
TEST_F(SafeFileWriterWindowsTest, RefusedSavesSayWhyAndKeepTheOldFile)
{
    const struct
    {
        const char *name;
        QString target;
        std::function<std::shared_ptr<void>(const QString &)> prepare;
        const char *reason;
    } rows[] = {
        {"held open by another program", QStringLiteral("held.crs"), holdOpen,
         "файл занят другой программой"},
        {"read-only", QStringLiteral("readonly.crs"),
         [](const QString &file) {
             ::SetFileAttributesW(native(file).c_str(), FILE_ATTRIBUTE_READONLY);
             return std::shared_ptr<void>();
         },
         "доступ запрещён"},
        {"a folder", QStringLiteral("folder"),
         [](const QString &file) {
             QFile::remove(file);
             QDir().mkdir(file);
             return std::shared_ptr<void>();
         },
         "это папка, а не файл"},
        {"in a missing folder", QStringLiteral("missing/a.crs"), nullptr,
         "нет такого файла или папки"},
        {"a name Windows does not allow", QStringLiteral("a|b.crs"), nullptr,
         "в имени файла есть недопустимые знаки"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(row.target);
        std::shared_ptr<void> held;
        if (row.prepare) {
            putFileBytes(file, m_old);
            held = row.prepare(file);
        }
        const SafeFileWriter::Result result = SafeFileWriter::write(file, m_new);
        EXPECT_EQ(result.outcome, Outcome::NothingChanged);
        EXPECT_EQ(result.reason(), QString::fromUtf8(row.reason)) << result.error;
        EXPECT_EQ(result.existed, row.prepare != nullptr);
        if (row.prepare && QFileInfo(file).isFile()) {
            EXPECT_EQ(fileBytes(file), m_old);
        }
    }
    EXPECT_EQ(entries(), (QStringList{"folder", "held.crs", "readonly.crs"}))
        << "no temporary file is left behind";
}

// scripts/windows/test.sh names a folder on a full disk where it can make one.
TEST_F(SafeFileWriterWindowsTest, AFullDiskKeepsTheOldFile)
{
    const QString full = qEnvironmentVariable("KVARCELLA_FULL_FOLDER");
    if (full.isEmpty())
        GTEST_SKIP() << "no full disk here (KVARCELLA_FULL_FOLDER)";
    const QString file = QDir(full).filePath(QStringLiteral("old.crs"));
    ASSERT_EQ(fileBytes(file), m_old) << "test.sh puts the old file there, then fills the disk";
    const QByteArray large(8 << 20, 'x');
    for (const QString &target : {file, QDir(full).filePath(QStringLiteral("new.crs"))}) {
        const SafeFileWriter::Result result = SafeFileWriter::write(target, large);
        EXPECT_EQ(result.outcome, Outcome::NothingChanged);
        EXPECT_EQ(result.reason(), QStringLiteral("диск заполнен"));
    }
    EXPECT_EQ(fileBytes(file), m_old);
    EXPECT_EQ(QDir(full).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "old.crs"}))
        << "no temporary file is left behind";
}

// A file with two names is one file: both show the new contents, and the
// identity that keeps the tool from writing over its input sees one file
// however it is named.
TEST_F(SafeFileWriterWindowsTest, AFileWithTwoNamesIsRewrittenForBothAndIsOneFile)
{
    putFileBytes(path("a.crs"), m_old);
    ASSERT_TRUE(::CreateHardLinkW(native(path("b.crs")).c_str(), native(path("a.crs")).c_str(),
                                  nullptr));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));

    const SafeFileWriter::Result result = SafeFileWriter::write(path("b.crs"), m_new);
    EXPECT_EQ(result.outcome, Outcome::Written) << result.error;
    EXPECT_EQ(fileBytes(path("a.crs")), m_new);
    EXPECT_EQ(fileBytes(path("b.crs")), m_new);

    const auto a = FileIdentity::of(path("a.crs"));
    ASSERT_TRUE(a);
    for (const QString &name : {path("b.crs"), path("A.CRS"), path("sub/../a.crs"),
                                QDir::toNativeSeparators(path("a.crs"))})
        EXPECT_EQ(FileIdentity::of(name), a) << name.toStdString();
    putFileBytes(path("c.crs"), m_old);
    EXPECT_NE(FileIdentity::of(path("c.crs")), a);
    EXPECT_FALSE(FileIdentity::of(path("missing.crs")));
}
