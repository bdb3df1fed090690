// Hostile places to write to, through both writers a teacher meets: the
// editor's Save (CrosswordFile::write) and kvarcella-tool (`ipuz -o`). Each
// case is built afresh in a child process, with mounts of its own where it
// needs them, and written by an ordinary user.
#include "childprocess.h"
#include "crosswordfile.h"
#include "ordinaryuser.h"
#include "toolboards.h"

#include <QDataStream>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <iostream>

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t Owner = OrdinaryUser::Nobody;
constexpr uid_t Colleague = OrdinaryUser::Colleague;
constexpr gid_t Group = OrdinaryUser::SecondGroup;
constexpr qint64 OldSize = 64 * 1024;

bool isRoot()
{
    return ::geteuid() == 0;
}

QByteArray name(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Setting up runs as root where it can, handing everything to the row's owner.
void put(const QString &path, const QByteArray &bytes, mode_t mode = 0666, uid_t owner = Owner)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ::_exit(5);
    file.close();
    ::chmod(name(path).constData(), mode);
    if (isRoot())
        ::chown(name(path).constData(), owner, Group);
}

void folder(const QString &path, mode_t mode = 0755, uid_t owner = 0)
{
    if (!QDir().mkpath(path))
        ::_exit(5);
    if (isRoot())
        ::chown(name(path).constData(), owner, 0);
    ::chmod(name(path).constData(), mode);
}

void hardLink(const QString &from, const QString &to)
{
    if (::link(name(from).constData(), name(to).constData()) != 0)
        ::_exit(5);
}

// Makes ftruncate to exactly length fail with EIO in this process and what it
// starts: a fault of the disk that comes only after the first byte is written.
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

struct ToolRun
{
    int status = -1;
    QString err;
};

// kvarcella-tool in a child prepared by prepare; stdout goes to standardOutput
// when given, else nowhere.
ToolRun runTool(const QStringList &arguments, const std::function<bool()> &prepare,
                int standardOutput = -1)
{
    int errors[2];
    if (::pipe(errors) != 0)
        return {};
    QList<QByteArray> words{QByteArray(KVARCELLA_TOOL)};
    for (const QString &argument : arguments)
        words.append(name(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        if (!prepare())
            ::_exit(120);
        ::dup2(errors[1], 2);
        const int out = standardOutput >= 0 ? standardOutput : ::open("/dev/null", O_WRONLY);
        ::dup2(out, 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(errors[1]);
    QByteArray err;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(errors[0], buffer, sizeof buffer)) > 0)
        err.append(buffer, n);
    ::close(errors[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromUtf8(err)};
}

// A crossword whose file fills several pages of a disk, so that a rewrite
// reaches past the first page of a sparse old file.
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
    bool needsRoot; // other owners, a second user, mounts
    // Builds the case in its folder and returns the path to write to.
    std::function<QString(const QString &folder)> setup;
    // Another name whose contents must follow the target's.
    QString otherName = {};
    uid_t writer = Owner;
    rlim_t sizeLimit = RLIM_INFINITY;
    bool diskFaultAfterFirstByte = false;

    bool written = true;
    const char *reason = nullptr; // in the message when not written
    bool fresh = false;           // no file stood at the target
};

struct Facts
{
    int status = -1;
    QString message;
    bool existed = false;
    bool exists = false;
    QByteArray old;
    QByteArray bytes;
    QByteArray other;
    bool linkBefore = false;
    bool linkAfter = false;
    struct Identity
    {
        quint32 mode = 0, uid = 0, gid = 0, links = 0;
        quint64 inode = 0;
        bool operator==(const Identity &) const = default;
    } before, after;
};

Facts::Identity identityOf(const QString &path)
{
    struct stat st {};
    if (::stat(name(path).constData(), &st) != 0)
        return {};
    return {st.st_mode & 07777, st.st_uid, st.st_gid, quint32(st.st_nlink), st.st_ino};
}

bool isLink(const QString &path)
{
    struct stat st {};
    return ::lstat(name(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QDataStream &operator<<(QDataStream &s, const Facts::Identity &i)
{
    return s << i.mode << i.uid << i.gid << i.links << i.inode;
}
QDataStream &operator>>(QDataStream &s, Facts::Identity &i)
{
    return s >> i.mode >> i.uid >> i.gid >> i.links >> i.inode;
}

QString longName()
{
    return QString(123, u'я') + QStringLiteral(".crs"); // 250 bytes in UTF-8
}

const QList<Row> &rows()
{
    static const QList<Row> rows = {
        {"SecondNameInAnotherFolder", false,
         [](const QString &f) {
             folder(f + "/class");
             folder(f + "/home", 0755, Owner);
             put(f + "/class/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             hardLink(f + "/class/lesson.crs", f + "/home/copy.crs");
             return f + "/home/copy.crs";
         },
         "class/lesson.crs"},
        {"FileMountedOverAnother", true,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             put(f + "/home/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             put(f + "/home/view.crs", "covered");
             if (::mount(name(f + "/home/lesson.crs").constData(),
                         name(f + "/home/view.crs").constData(), nullptr, MS_BIND,
                         nullptr) != 0)
                 ::_exit(6);
             return f + "/home/view.crs";
         },
         "home/lesson.crs"},
        {"SymbolicLink", false,
         [](const QString &f) {
             folder(f + "/real");
             folder(f + "/home", 0755, Owner);
             put(f + "/real/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             QFile::link("../real/lesson.crs", f + "/home/link.crs");
             return f + "/home/link.crs";
         },
         "real/lesson.crs"},
        {"DanglingSymbolicLink", false,
         [](const QString &f) {
             folder(f + "/real", 0755, Owner);
             folder(f + "/home", 0755, Owner);
             QFile::link("../real/lesson.crs", f + "/home/link.crs");
             return f + "/home/link.crs";
         },
         "real/lesson.crs", Owner, RLIM_INFINITY, false, true, nullptr, true},
        {"ColleaguesFileInStickyFolder", true,
         [](const QString &f) {
             folder(f + "/shared", 01777);
             put(f + "/shared/lesson.crs", QByteArray(OldSize, 'o'), 0666);
             return f + "/shared/lesson.crs";
         },
         {}, Colleague},
        {"ColleaguesFileInOpenFolder", true,
         [](const QString &f) {
             folder(f + "/shared", 0777);
             put(f + "/shared/lesson.crs", QByteArray(OldSize, 'o'), 0666);
             return f + "/shared/lesson.crs";
         },
         {}, Colleague},
        {"WritableFileInClosedFolder", false,
         [](const QString &f) {
             folder(f + "/closed", 0755, Owner);
             put(f + "/closed/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             ::chmod(name(f + "/closed").constData(), 0555);
             return f + "/closed/lesson.crs";
         }},
        {"SizeLimitBelowTheNewSize", false,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             put(f + "/home/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             hardLink(f + "/home/lesson.crs", f + "/home/copy.crs");
             return f + "/home/lesson.crs";
         },
         "home/copy.crs", Owner, 4096, false, false, "превышен допустимый размер файла"},
        {"SparseFileOnFullDisk", true,
         [](const QString &f) {
             folder(f + "/disk");
             if (::mount("tmpfs", name(f + "/disk").constData(), "tmpfs", 0,
                         "size=256k,mode=0755") != 0)
                 ::_exit(6);
             const QString file = f + "/disk/lesson.crs";
             put(file, QByteArray(4096, 'o'), 0664);
             if (::truncate(name(file).constData(), OldSize) != 0)
                 ::_exit(5);
             hardLink(file, f + "/disk/copy.crs");
             QFile filler(f + "/disk/filler");
             if (!filler.open(QIODevice::WriteOnly))
                 ::_exit(5);
             const QByteArray block(4096, 'f');
             while (filler.write(block) == block.size() && filler.flush()) {
             }
             return file;
         },
         "disk/copy.crs", Owner, RLIM_INFINITY, false, false, "диск заполнен"},
        {"DiskFaultAfterTheFirstByte", false,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             put(f + "/home/lesson.crs", QByteArray(OldSize, 'o'), 0664);
             hardLink(f + "/home/lesson.crs", f + "/home/copy.crs");
             return f + "/home/lesson.crs";
         },
         "home/copy.crs", Owner, RLIM_INFINITY, true, false, "ошибка чтения или записи на диске"},
        {"SecondNameOfAFileOverOneMebibyte", false,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             put(f + "/home/lesson.crs", QByteArray(2 * 1024 * 1024, 'o'), 0664);
             hardLink(f + "/home/lesson.crs", f + "/home/copy.crs");
             return f + "/home/lesson.crs";
         },
         "home/copy.crs", Owner, RLIM_INFINITY, false, false, "больше 1 МиБ"},
        {"NameOf250Bytes", false,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             return f + "/home/" + longName();
         },
         {}, Owner, RLIM_INFINITY, false, true, nullptr, true},
        {"SymbolicLinkToItself", false,
         [](const QString &f) {
             folder(f + "/home", 0755, Owner);
             QFile::link("loop.crs", f + "/home/loop.crs");
             return f + "/home/loop.crs";
         },
         {}, Owner, RLIM_INFINITY, false, false, "слишком много символических ссылок", true},
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
        ASSERT_TRUE(CrosswordFile::write(m_input, lesson(), &error))
            << error.message().toStdString();
        ASSERT_TRUE(CrosswordFile::encode(lesson(), &m_editorBytes, &error));
        const ToolRun reference =
            runTool({"ipuz", m_input, "-o", m_dir.filePath("reference.ipuz")}, [] { return true; });
        ASSERT_EQ(reference.status, 0) << reference.err.toStdString();
        m_toolBytes = bytesOf(m_dir.filePath("reference.ipuz"));
        ASSERT_GT(m_toolBytes.size(), 8192);
        ASSERT_LT(m_toolBytes.size(), OldSize);
    }

    // Everything the row leaves, looked at by root before its mounts go.
    std::optional<Facts> run(const Row &row, Writer writer, const QByteArray &newBytes) const
    {
        const QString f = m_dir.filePath(QStringLiteral("case"));
        const auto body = [&] {
            folder(f);
            const QString target = row.setup(f);
            Facts facts;
            facts.existed = QFile::exists(target);
            facts.old = bytesOf(target);
            facts.linkBefore = isLink(target);
            facts.before = identityOf(target);

            const auto prepare = [&] {
                ::umask(022);
                const rlimit limit{row.sizeLimit, RLIM_INFINITY};
                return OrdinaryUser::become(row.writer) && ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                       (!row.diskFaultAfterFirstByte || failTruncatingTo(newBytes.size()));
            };
            if (writer == Writer::Tool) {
                const ToolRun tool = runTool({"ipuz", m_input, "-o", target}, prepare);
                facts.status = tool.status;
                facts.message = tool.err;
            } else {
                const std::optional<QByteArray> message = ChildProcess::run([&] {
                    if (!prepare())
                        ::_exit(7);
                    CrosswordFileError error;
                    if (CrosswordFile::write(target, lesson(), &error))
                        return QByteArray("ok");
                    return error.message().toUtf8();
                });
                facts.status = !message ? -1 : *message == "ok" ? 0 : 2;
                facts.message = message && *message != "ok" ? QString::fromUtf8(*message) : "";
            }

            facts.exists = QFile::exists(target);
            facts.bytes = bytesOf(target);
            if (!row.otherName.isEmpty())
                facts.other = bytesOf(f + "/" + row.otherName);
            facts.linkAfter = isLink(target);
            facts.after = identityOf(target);
            // Closed folders would outlive the test for an ordinary user.
            QDirIterator folders(f, QDir::Dirs | QDir::NoDotAndDotDot,
                                 QDirIterator::Subdirectories);
            while (folders.hasNext())
                ::chmod(name(folders.next()).constData(), 0755);

            QByteArray out;
            QDataStream stream(&out, QIODevice::WriteOnly);
            stream << facts.status << facts.message << facts.existed << facts.exists << facts.old
                   << facts.bytes << facts.other << facts.linkBefore << facts.linkAfter
                   << facts.before << facts.after;
            return out;
        };
        const std::optional<QByteArray> out =
            row.needsRoot ? ChildProcess::runWithOwnMounts(body) : ChildProcess::run(body);
        if (!out)
            return std::nullopt;
        Facts facts;
        QDataStream stream(*out);
        stream >> facts.status >> facts.message >> facts.existed >> facts.exists >> facts.old >>
            facts.bytes >> facts.other >> facts.linkBefore >> facts.linkAfter >> facts.before >>
            facts.after;
        return facts;
    }

    QTemporaryDir m_dir{QStringLiteral("/tmp/hostileoutput-XXXXXX")};
    QString m_input = m_dir.filePath(QStringLiteral("Урок.crs"));
    QByteArray m_editorBytes;
    QByteArray m_toolBytes;
};

} // namespace

// Faults this guards, each shown by its row before the change: a size limit
// (reported as a full disk) and a sparse old file on a full disk stopped a
// rewrite in place half-way and lost the old file, as did a disk fault after
// the first byte; a colleague's file in a sticky shared folder could not be
// saved, and in an open one lost its owner; a dangling link was replaced by a
// file; a file mounted over another, a 250-byte name and a link loop were
// refused, the last with a number for a reason.
TEST_P(HostileOutputTest, EitherWritesTheWholeFileKeepingItsIdentityOrKeepsTheOldOneAndSaysWhy)
{
    const auto [index, writer] = GetParam();
    const Row &row = rows()[index];
    if (row.needsRoot && !isRoot())
        GTEST_SKIP() << "needs root for other users' files and for mounts";
    const QByteArray &newBytes = writer == Writer::Tool ? m_toolBytes : m_editorBytes;
    const std::optional<Facts> facts = run(row, writer, newBytes);
    ASSERT_TRUE(facts) << "the case could not be set up";
    ASSERT_EQ(facts->existed, !row.fresh);

    if (row.written) {
        EXPECT_EQ(facts->status, 0) << facts->message.toStdString();
        EXPECT_TRUE(facts->bytes == newBytes) << "the file holds " << facts->bytes.size()
                                              << " bytes, not the " << newBytes.size() << " new";
        if (!row.otherName.isEmpty()) {
            EXPECT_TRUE(facts->other == newBytes) << "another name of the file kept old bytes";
        }
    } else {
        EXPECT_EQ(facts->status, 2);
        EXPECT_TRUE(facts->message.contains(QString::fromUtf8(row.reason)))
            << facts->message.toStdString();
        EXPECT_EQ(facts->exists, facts->existed);
        EXPECT_TRUE(facts->bytes == facts->old)
            << "the old file changed: " << facts->bytes.size() << " bytes of " << facts->old.size();
        if (facts->existed) {
            EXPECT_TRUE(facts->message.contains(QStringLiteral("Прежнее содержимое файла не изменено")))
                << facts->message.toStdString();
        }
    }
    EXPECT_EQ(facts->linkAfter, facts->linkBefore) << "a symbolic link stays a link";
    if (facts->existed) {
        EXPECT_EQ(facts->after.mode, facts->before.mode);
        EXPECT_EQ(facts->after.uid, facts->before.uid);
        EXPECT_EQ(facts->after.gid, facts->before.gid);
        EXPECT_EQ(facts->after.links, facts->before.links);
    } else if (facts->exists) {
        EXPECT_EQ(facts->after.mode, 0644u);
        EXPECT_EQ(facts->after.uid, isRoot() ? row.writer : ::geteuid());
        EXPECT_EQ(facts->after.links, 1u);
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
    struct Case
    {
        const char *what;
        bool needsMounts;
        std::function<QString(const QString &input, const QString &folder)> output;
        bool appendStandardOutput = false;
    };
    const Case cases[] = {
        {"the same path written otherwise", false,
         [](const QString &input, const QString &f) {
             return f + "/./" + QFileInfo(input).fileName();
         }},
        {"a hard link", false,
         [](const QString &input, const QString &f) {
             hardLink(input, f + "/copy");
             return f + "/copy";
         }},
        {"a symbolic link", false,
         [](const QString &input, const QString &f) {
             QFile::link(input, f + "/link");
             return f + "/link";
         }},
        {"a file mounted over the output", true,
         [](const QString &input, const QString &f) {
             put(f + "/view", "covered");
             if (::mount(name(input).constData(), name(f + "/view").constData(), nullptr,
                         MS_BIND, nullptr) != 0)
                 ::_exit(6);
             return f + "/view";
         }},
        {"standard output appended to the input", false,
         [](const QString &, const QString &) { return QStringLiteral("-"); }, true},
    };
    const struct
    {
        const char *command;
        const char *input;
        QByteArray bytes;
        const char *phrase;
    } commands[] = {
        {"pdf", "Урок.crs", QByteArray(), "это сам кроссворд"},
        {"ipuz", "Урок.crs", QByteArray(), "это сам кроссворд"},
        {"make", "слова.txt", QStringLiteral("школа - Там учатся.\nкласс - Комната.\n").toUtf8(),
         "это и есть список слов"},
    };
    int index = 0;
    for (const Case &c : cases) {
        for (const auto &command : commands) {
            SCOPED_TRACE(std::string(c.what) + ", " + command.command);
            if (c.needsMounts && !ChildProcess::canMount()) {
                std::cout << "[  SKIPPED ] " << c.what << ": mounting needs root\n";
                continue;
            }
            const QString f = dir.filePath(QString::number(index++));
            const auto body = [&] {
                folder(f);
                if (::chdir(name(f).constData()) != 0) // where a file named "-" would land
                    ::_exit(5);
                const QString input = f + "/" + QString::fromUtf8(command.input);
                if (command.bytes.isEmpty()) {
                    CrosswordFileError error;
                    if (!CrosswordFile::write(input, cleanCrossword(), &error))
                        ::_exit(5);
                } else {
                    put(input, command.bytes);
                }
                const QByteArray before = bytesOf(input);
                const QString output = c.output(input, f);
                const int out =
                    c.appendStandardOutput ? ::open(name(input).constData(), O_WRONLY | O_APPEND)
                                           : -1;
                const ToolRun run = runTool({command.command, input, "-o", output},
                                            [] { return true; }, out);
                const bool kept = bytesOf(input) == before;
                return QByteArray::number(run.status) + (kept ? " kept " : " changed ") +
                       run.err.toUtf8();
            };
            const std::optional<QByteArray> result =
                c.needsMounts ? ChildProcess::runWithOwnMounts(body) : ChildProcess::run(body);
            ASSERT_TRUE(result);
            EXPECT_TRUE(result->startsWith("2 kept ")) << result->toStdString();
            EXPECT_TRUE(QString::fromUtf8(*result).contains(QString::fromUtf8(command.phrase)))
                << result->toStdString();
        }
    }
}
