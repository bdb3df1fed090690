// The program's command line: its rules, and the real executable answering
// without a display.
#include "commandline.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

CommandLine parse(QList<QByteArray> arguments, const QString &cwd)
{
    arguments.prepend("kvarcella");
    return CommandLine::parse(arguments, cwd);
}

} // namespace

TEST(CommandLineTest, NamesOneCrosswordAsAFullPathPassesQtsOptionsAndRefusesTheRest)
{
    QTemporaryDir dir;
    const QString cwd = QFileInfo(dir.path()).canonicalFilePath();
    // "ссылка/.." is "далеко" on disk, not cwd as the text suggests.
    ASSERT_TRUE(QDir(cwd).mkpath(QStringLiteral("далеко/глубоко")));
    ASSERT_TRUE(QFile::link(cwd + QStringLiteral("/далеко/глубоко"), cwd + QStringLiteral("/ссылка")));
    struct Row
    {
        QList<QByteArray> arguments;
        Action action;
        QString file = {}; // Start: the full path; Wrong: in the error
        bool badName = false;
    };
    const QByteArray cp1251("\xf3\xf0\xee\xea.crs"); // "урок.crs" in Windows-1251
    const std::vector<Row> rows = {
        {{}, Action::Start},
        {{"урок.crs"}, Action::Start, cwd + QStringLiteral("/урок.crs")},
        {{"./папка//./урок.crs"}, Action::Start, cwd + QStringLiteral("/папка/урок.crs")},
        {{"ссылка/../урок.crs"}, Action::Start, cwd + QStringLiteral("/далеко/урок.crs")},
        {{"/а//б/./в.crs"}, Action::Start, QStringLiteral("/а/б/в.crs")},
        {{"--", "-урок.crs"}, Action::Start, cwd + QStringLiteral("/-урок.crs")},
        {{"-session", "1a2b", "урок.crs", "-reverse"}, Action::Start, cwd + QStringLiteral("/урок.crs")},
        {{"--platform", "xcb", "-style=Fusion", "-stylesheet", "a.qss"}, Action::Start},
        {{cp1251}, Action::Start, cwd + u'/' + QString::fromUtf8(cp1251), true},
        {{"-h"}, Action::Help},
        {{"--bogus", "--help"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"-v"}, Action::Wrong, QStringLiteral("Неизвестный параметр «-v».")},
        {{"а.crs", "б.crs"}, Action::Wrong, QStringLiteral("только один файл")},
        {{"а.crs", "-platform"}, Action::Wrong, QStringLiteral("«-platform» нужно указать")},
        {{""}, Action::Wrong, QStringLiteral("Имя файла пустое.")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QByteArrayList(row.arguments).join(' ').toStdString());
        const CommandLine line = parse(row.arguments, cwd);
        EXPECT_EQ(line.action(), row.action);
        EXPECT_EQ(line.fileName(), row.action == Action::Start ? row.file : QString());
        EXPECT_TRUE(row.action != Action::Wrong || line.error().contains(row.file));
        EXPECT_EQ(line.fileNameProblem().contains(QStringLiteral("не в кодировке UTF-8")), row.badName);
    }

    // An empty variable is no display; a platform or display chosen on the line is.
    const auto display = [](const QList<QByteArray> &arguments, const QStringList &variables) {
        QProcessEnvironment environment;
        for (const QString &variable : variables)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        return parse(arguments, QDir::rootPath()).hasDisplay(environment);
    };
    EXPECT_FALSE(display({}, {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "HOME=/"}));
    for (const QString variable : {"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=vnc"})
        EXPECT_TRUE(display({}, {variable})) << variable.toStdString();
    EXPECT_TRUE(display({"-platform", "offscreen"}, {}));
    EXPECT_TRUE(display({"--display", ":5"}, {}));
}

// Without any display only what answers before Qt starts can succeed, and
// Qt's own English never reaches the terminal.
TEST(CommandLineTest, TheProgramAnswersInRussianWithoutADisplay)
{
    ASSERT_FALSE(QFile::exists(QStringLiteral("/tmp/.X11-unix/X4917")));
    struct Row
    {
        QStringList arguments;
        QString display;
        int status;
        QString out; // the start of standard output
        QString err; // in standard error: one line, and one more for help when refused
    };
    const std::vector<Row> rows = {
        {{"--help"}, {}, 0, QStringLiteral("Использование: kvarcella [ФАЙЛ.crs]\n"), {}},
        {{"--version"}, {}, 0, QStringLiteral("Кварцелла 2.0, версия 2.0\n"), {}},
        {{}, {}, 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{"урок.crs"}, QStringLiteral(""), 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{}, QStringLiteral(":4917"), 1, {}, QStringLiteral("не удалось открыть окно на экране «:4917»")},
        {{"--bogus"}, {}, 2, {}, QStringLiteral("kvarcella: Неизвестный параметр «--bogus».")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString() + " DISPLAY=" + row.display.toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        if (!row.display.isNull())
            environment.insert(QStringLiteral("DISPLAY"), row.display);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KVARCELLA_PROGRAM), row.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), row.status);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(out.startsWith(row.out) && out.isEmpty() == row.out.isEmpty()) << out.toStdString();
        EXPECT_TRUE(err.contains(row.err)) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), row.err.isEmpty() ? 0 : row.status == 2 ? 2 : 1) << err.toStdString();
    }
}
