// Hostile places to write to, through both writers a teacher meets: the
// editor's Save (CrosswordFile::write) and kvarcella-tool. Each case is built
// afresh in a child process, with mounts of its own where it needs them, and
// written by an ordinary user.
#include "childprocess.h"
#include "testfiles.h"
#include "crosswordfile.h"
#include "ordinaryuser.h"
#include "toolboards.h"

#include <QDataStream>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <functional>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr uid_t Owner = OrdinaryUser::Nobody;
constexpr qint64 OldSize = 64 * 1024;
const bool Root = ::geteuid() == 0;

QByteArray name(const QString &path)
{
    return QFile::encodeName(path);
}

// Setting up runs as root where it can and gives everything to Owner; a step
// that fails ends the child, and the test with it.
void put(const QString &path, const QByteArray &bytes, mode_t mode = 0664)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ::_exit(5);
    file.close();
    ::chmod(name(path).constData(), mode);
    if (Root)
        ::chown(name(path).constData(), Owner, OrdinaryUser::SecondGroup);
}

void folder(const QString &path, mode_t mode, uid_t owner = Owner)
{
    if (!QDir().mkpath(path) || (Root && ::chown(name(path).constData(), owner, 0) != 0) ||
        ::chmod(name(path).constData(), mode) != 0)
        ::_exit(5);
}

void check(bool done)
{
    if (!done)
        ::_exit(6);
}

QString withSecondName(const QString &f, qint64 size)
{
    put(f + "/home/lesson.crs", QByteArray(size, 'o'));
    check(::link(name(f + "/home/lesson.crs").constData(), name(f + "/home/copy.crs").constData())
          == 0);
    return f + "/home/lesson.crs";
}

// ftruncate to exactly length fails with EIO from here on, also in programs
// started: a fault of the disk that comes after the first byte is written.
bool failTruncatingTo(qint64 length)
{
#if defined(__x86_64__)
    constexpr __u32 Arch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr __u32 Arch = AUDIT_ARCH_AARCH64;
#else
    return false;
#endif
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Arch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_ftruncate, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[1])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(length), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

// The exit status and standard error of kvarcella-tool; prepare runs in its
// process before it starts.
std::pair<int, QString> runTool(const QStringList &arguments,
                                const std::function<void()> &prepare = {},
                                const QString &appendOutputTo = {})
{
    QProcess process;
    if (prepare)
        process.setChildProcessModifier(prepare);
    process.setStandardOutputFile(appendOutputTo.isEmpty() ? QProcess::nullDevice()
                                                           : appendOutputTo,
                                  QIODevice::Append);
    process.start(QStringLiteral(KVARCELLA_TOOL), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// Its file fills several pages of a disk, so that a rewrite reaches past the
// first page of a sparse old file.
CrosswordDocument lesson()
{
    CrosswordDocument document = cleanCrossword();
    QString clues = cleanClueText();
    while (clues.size() < 10000)
        clues += QStringLiteral("\r\nЗаметка для учителя: проверить слова на уроке.");
    document.setClueText(clues);
    return document;
}

enum class Writer { Editor, Tool };

struct Row
{
    const char *id;
    // Builds the case in folder f, which holds "home", a folder of Owner's;
    // returns the path to write to.
    std::function<QString(const QString &f)> setup;
    bool needsRoot = false; // another user's files, mounts
    QString otherName = {}; // another name whose contents must follow the target's
    uid_t writer = Owner;
    rlim_t sizeLimit = RLIM_INFINITY;
    bool diskFaultAfterFirstByte = false;
    const char *refusal = nullptr; // the reason given when nothing may be written
};

struct Facts
{
    int status = -1;
    QString message;
    QByteArray old, bytes, other;
    bool existed = false, exists = false, linkBefore = false, linkAfter = false;
    QList<quint32> before, after; // mode, owner, group, links
};

QDataStream &operator<<(QDataStream &s, const Facts &f)
{
    return s << f.status << f.message << f.old << f.bytes << f.other << f.existed << f.exists
             << f.linkBefore << f.linkAfter << f.before << f.after;
}

QDataStream &operator>>(QDataStream &s, Facts &f)
{
    return s >> f.status >> f.message >> f.old >> f.bytes >> f.other >> f.existed >> f.exists >>
           f.linkBefore >> f.linkAfter >> f.before >> f.after;
}

QList<quint32> identityOf(const QString &path)
{
    struct stat st {};
    if (::stat(name(path).constData(), &st) != 0)
        return {};
    return {st.st_mode & 07777, st.st_uid, st.st_gid, quint32(st.st_nlink)};
}

bool isLink(const QString &path)
{
    struct stat st {};
    return ::lstat(name(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

const QList<Row> &rows()
{
    static const QList<Row> rows = {
        {"SecondNameInAnotherFolder",
         [](const QString &f) {
             put(f + "/lesson.crs", QByteArray(OldSize, 'o'));
             check(::link(name(f + "/lesson.crs").constData(),
                          name(f + "/home/copy.crs").constData()) == 0);
             return f + "/home/copy.crs";
         },
         false, "lesson.crs"},
        {"FileMountedOverAnother",
         [](const QString &f) {
             put(f + "/home/lesson.crs", QByteArray(OldSize, 'o'));
             put(f + "/home/view.crs", "covered");
             check(::mount(name(f + "/home/lesson.crs").constData(),
                           name(f + "/home/view.crs").constData(), nullptr, MS_BIND,
                           nullptr) == 0);
             return f + "/home/view.crs";
         },
         true, "home/lesson.crs"},
        {"SymbolicLink",
         [](const QString &f) {
             put(f + "/lesson.crs", QByteArray(OldSize, 'o'));
             check(QFile::link("../lesson.crs", f + "/home/link.crs"));
             return f + "/home/link.crs";
         },
         false, "lesson.crs"},
        {"DanglingSymbolicLink",
         [](const QString &f) {
             check(QFile::link("new.crs", f + "/home/link.crs"));
             return f + "/home/link.crs";
         },
         false, "home/new.crs"},
        {"ColleaguesDanglingLinkInStickyFolder",
         [](const QString &f) {
             folder(f + "/shared", 01777, 0);
             check(QFile::link("../home/planted.crs", f + "/shared/lesson.crs") &&
                   ::lchown(name(f + "/shared/lesson.crs").constData(), OrdinaryUser::Colleague,
                            0) == 0);
             return f + "/shared/lesson.crs";
         },
         true, "home/planted.crs", Owner, RLIM_INFINITY, false, "доступ запрещён"},
        {"ColleaguesFileInStickyFolder",
         [](const QString &f) {
             folder(f + "/shared", 01777, 0);
             put(f + "/shared/lesson.crs", QByteArray(OldSize, 'o'), 0666);
             return f + "/shared/lesson.crs";
         },
         true, {}, OrdinaryUser::Colleague},
        {"ColleaguesFileInOpenFolder",
         [](const QString &f) {
             folder(f + "/shared", 0777, 0);
             put(f + "/shared/lesson.crs", QByteArray(OldSize, 'o'), 0666);
             return f + "/shared/lesson.crs";
         },
         true, {}, OrdinaryUser::Colleague},
        {"WritableFileInClosedFolder",
         [](const QString &f) {
             put(f + "/home/lesson.crs", QByteArray(OldSize, 'o'));
             check(::chmod(name(f + "/home").constData(), 0555) == 0);
             return f + "/home/lesson.crs";
         }},
        {"SizeLimitBelowTheNewSize", [](const QString &f) { return withSecondName(f, OldSize); },
         false, "home/copy.crs", Owner, 4096, false, "превышен допустимый размер файла"},
        {"SparseFileOnFullDisk",
         [](const QString &f) {
             check(::mount("tmpfs", name(f + "/home").constData(), "tmpfs", 0,
                           "size=256k,mode=0777") == 0);
             const QString file = withSecondName(f, 4096);
             check(::truncate(name(file).constData(), OldSize) == 0);
             QFile filler(f + "/home/filler");
             check(filler.open(QIODevice::WriteOnly));
             while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
             }
             return file;
         },
         true, "home/copy.crs", Owner, RLIM_INFINITY, false, "диск заполнен"},
        {"DiskFaultAfterTheFirstByte", [](const QString &f) { return withSecondName(f, OldSize); },
         false, "home/copy.crs", Owner, RLIM_INFINITY, true, "ошибка чтения или записи на диске"},
        {"SecondNameOfAFileOverOneMebibyte",
         [](const QString &f) { return withSecondName(f, 2 * 1024 * 1024); }, false,
         "home/copy.crs", Owner, RLIM_INFINITY, false, "больше 1 МиБ"},
        {"NameOf250Bytes",
         [](const QString &f) { return f + "/home/" + QString(123, u'я') + ".crs"; }},
        {"SymbolicLinkToItself",
         [](const QString &f) {
             check(QFile::link("loop.crs", f + "/home/loop.crs"));
             return f + "/home/loop.crs";
         },
         false, {}, Owner, RLIM_INFINITY, false, "слишком много символических ссылок"},
    };
    return rows;
}

class HostileOutputTest : public ::testing::TestWithParam<std::tuple<int, Writer>>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ::chmod(name(m_dir.path()).constData(), 0755);
        CrosswordFileError error;
        ASSERT_TRUE(CrosswordFile::write(m_input, lesson(), &error));
        ASSERT_TRUE(CrosswordFile::encode(lesson(), &m_editorBytes, &error));
        const QString reference = m_dir.filePath("reference.ipuz");
        ASSERT_EQ(runTool({"ipuz", m_input, "-o", reference}).first, 0);
        m_toolBytes = fileBytes(reference);
        ASSERT_GT(m_toolBytes.size(), 8192);
        ASSERT_LT(m_toolBytes.size(), OldSize);
    }

    // Everything the case leaves, looked at by root before its mounts go.
    std::optional<Facts> run(const Row &row, Writer writer, const QByteArray &newBytes) const
    {
        const auto body = [&] {
            const QString f = m_dir.filePath("case");
            folder(f, 0755, 0);
            folder(f + "/home", 0755);
            const QString target = row.setup(f);
            Facts facts;
            facts.old = fileBytes(target);
            facts.existed = QFile::exists(target);
            facts.linkBefore = isLink(target);
            facts.before = identityOf(target);

            const auto prepare = [&] {
                const rlimit limit{row.sizeLimit, RLIM_INFINITY};
                ::umask(022);
                if (!OrdinaryUser::become(row.writer) || ::setrlimit(RLIMIT_FSIZE, &limit) != 0 ||
                    (row.diskFaultAfterFirstByte && !failTruncatingTo(newBytes.size())))
                    ::_exit(7);
            };
            if (writer == Writer::Tool) {
                std::tie(facts.status, facts.message) =
                    runTool({"ipuz", m_input, "-o", target}, prepare);
            } else {
                const std::optional<QByteArray> message = ChildProcess::run([&] {
                    prepare();
                    CrosswordFileError error;
                    return CrosswordFile::write(target, lesson(), &error)
                               ? QByteArray()
                               : error.message().toUtf8();
                });
                facts.status = !message ? -1 : message->isEmpty() ? 0 : 2;
                facts.message = QString::fromUtf8(message.value_or(QByteArray()));
            }

            facts.bytes = fileBytes(target);
            facts.other = row.otherName.isEmpty() ? QByteArray() : fileBytes(f + "/" + row.otherName);
            facts.exists = QFile::exists(target);
            facts.linkAfter = isLink(target);
            facts.after = identityOf(target);
            // A closed folder would outlive the test for an ordinary user.
            ::chmod(name(f + "/home").constData(), 0755);
            QByteArray out;
            QDataStream stream(&out, QIODevice::WriteOnly);
            stream << facts;
            return out;
        };
        const std::optional<QByteArray> out =
            row.needsRoot ? ChildProcess::runWithOwnMounts(body) : ChildProcess::run(body);
        if (!out)
            return std::nullopt;
        Facts facts;
        QDataStream stream(*out);
        stream >> facts;
        return facts;
    }

    QTemporaryDir m_dir{QStringLiteral("/tmp/hostileoutput-XXXXXX")};
    QString m_input = m_dir.filePath(QStringLiteral("Урок.crs"));
    QByteArray m_editorBytes;
    QByteArray m_toolBytes;
};

} // namespace

// Faults this guards, each shown by its row before the change: a size limit
// (reported as a full disk), a sparse old file on a full disk and a disk fault
// after the first byte all stopped a rewrite in place half-way and lost the old
// file; a colleague's file could not be saved in a sticky shared folder and
// lost its owner in an open one; a dangling link was replaced by a file; a
// file mounted over another and a 250-byte name were refused, and a link loop
// with a number for a reason.
TEST_P(HostileOutputTest, EitherWritesTheWholeFileKeepingItsIdentityOrKeepsTheOldOneAndSaysWhy)
{
    const auto [index, writer] = GetParam();
    const Row &row = rows()[index];
    if (row.needsRoot && !Root)
        GTEST_SKIP() << "needs root for another user's files and for mounts";
    const QByteArray &newBytes = writer == Writer::Tool ? m_toolBytes : m_editorBytes;
    const std::optional<Facts> facts = run(row, writer, newBytes);
    ASSERT_TRUE(facts) << "the case could not be set up";

    if (!row.refusal) {
        EXPECT_EQ(facts->status, 0) << facts->message.toStdString();
        EXPECT_TRUE(facts->bytes == newBytes) << facts->bytes.size() << " bytes written";
        EXPECT_TRUE(row.otherName.isEmpty() || facts->other == newBytes) << "other name differs";
    } else {
        EXPECT_EQ(facts->status, 2);
        EXPECT_TRUE(facts->message.contains(QString::fromUtf8(row.refusal)) &&
                    (!facts->existed ||
                     facts->message.contains(QStringLiteral("Прежнее содержимое файла не изменено"))))
            << facts->message.toStdString();
        EXPECT_EQ(facts->exists, facts->existed);
        EXPECT_TRUE(facts->bytes == facts->old) << "the old file changed";
    }
    EXPECT_EQ(facts->linkAfter, facts->linkBefore) << "a symbolic link stays a link";
    if (facts->existed) { // mode, owner, group and links are kept
        EXPECT_EQ(facts->after, facts->before);
    } else if (facts->exists) {
        EXPECT_EQ(facts->after, (QList<quint32>{0644, Root ? row.writer : ::geteuid(),
                                                facts->after.value(2), 1}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileOutputTest,
    ::testing::Combine(::testing::Range(0, int(rows().size())),
                       ::testing::Values(Writer::Editor, Writer::Tool)),
    [](const ::testing::TestParamInfo<std::tuple<int, Writer>> &info) {
        return std::string(rows()[std::get<0>(info.param)].id) +
               (std::get<1>(info.param) == Writer::Tool ? "_Tool" : "_Editor");
    });

// The same-file check compared paths only: a hard link or a mount of the
// crossword (or of the word list) given as the output was overwritten, and so
// was the input when standard output was appended to it.
TEST(OutputOntoTheInputTest, EveryOtherNameOfTheInputIsRefusedAndTheInputKept)
{
    QTemporaryDir dir(QStringLiteral("/tmp/sameoutput-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const struct
    {
        const char *what;
        std::function<QString(const QString &input, const QString &f)> output;
        bool needsMounts = false;
    } cases[] = {
        {"a hard link",
         [](const QString &input, const QString &f) {
             check(::link(name(input).constData(), name(f + "/copy").constData()) == 0);
             return f + "/copy";
         }},
        {"a symbolic link",
         [](const QString &input, const QString &f) {
             check(QFile::link(input, f + "/link"));
             return f + "/link";
         }},
        {"a mount of the input",
         [](const QString &input, const QString &f) {
             put(f + "/view", "covered");
             check(::mount(name(input).constData(), name(f + "/view").constData(), nullptr,
                           MS_BIND, nullptr) == 0);
             return f + "/view";
         },
         true},
        {"standard output appended to the input",
         [](const QString &, const QString &) { return QStringLiteral("-"); }},
    };
    const struct
    {
        const char *command, *input, *phrase;
    } commands[] = {
        {"pdf", "Урок.crs", "это сам кроссворд"},
        {"ipuz", "Урок.crs", "это сам кроссворд"},
        {"make", "слова.txt", "это и есть список слов"},
    };
    int index = 0;
    for (const auto &c : cases) {
        for (const auto &command : commands) {
            SCOPED_TRACE(std::string(c.what) + ", " + command.command);
            if (c.needsMounts && !ChildProcess::canMount())
                continue; // mounting needs root
            const QString f = dir.filePath(QString::number(index++));
            const auto body = [&] {
                folder(f, 0755);
                check(::chdir(name(f).constData()) == 0); // where a file named "-" would land
                const QString input = f + "/" + QString::fromUtf8(command.input);
                CrosswordFileError error;
                if (command.command == std::string("make"))
                    put(input, QStringLiteral("школа - Там учатся.\nкласс - Комната.\n").toUtf8());
                else
                    check(CrosswordFile::write(input, cleanCrossword(), &error));
                const QByteArray before = fileBytes(input);
                const QString output = c.output(input, f);
                const auto [status, err] = runTool({command.command, input, "-o", output}, {},
                                                   output == "-" ? input : QString());
                return QByteArray::number(status) +
                       (fileBytes(input) == before ? " kept " : " changed ") + err.toUtf8();
            };
            const std::optional<QByteArray> result =
                c.needsMounts ? ChildProcess::runWithOwnMounts(body) : ChildProcess::run(body);
            ASSERT_TRUE(result);
            EXPECT_TRUE(result->startsWith("2 kept ") &&
                        QString::fromUtf8(*result).contains(QString::fromUtf8(command.phrase)))
                << result->toStdString();
        }
    }
}
