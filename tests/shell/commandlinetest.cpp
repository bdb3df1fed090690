// The program's command line: its rules, and the real executable answering
// without a display.
#include "commandline.h"
#include "testplatform.h"

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

QProcessEnvironment environmentOf(const QStringList &variables)
{
    QProcessEnvironment environment;
    for (const QString &variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    return environment;
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
        bool posixOnly = false; // a symbolic link (QFile::link makes a shortcut on Windows)
    };
    const QByteArray cp1251("\xf3\xf0\xee\xea.crs"); // "урок.crs" in Windows-1251
    const std::vector<Row> rows = {
        {{}, Action::Start},
        {{"урок.crs"}, Action::Start, cwd + QStringLiteral("/урок.crs")},
        {{"./папка//./урок.crs"}, Action::Start, cwd + QStringLiteral("/папка/урок.crs")},
        {{"ссылка/../урок.crs"}, Action::Start, cwd + QStringLiteral("/далеко/урок.crs"), false, true},
        {{"/а//б/./в.crs"}, Action::Start, QStringLiteral("/а/б/в.crs")},
        {{"--", "-урок.crs"}, Action::Start, cwd + QStringLiteral("/-урок.crs")},
        {{"-session", "1a2b", "урок.crs", "-reverse"}, Action::Start, cwd + QStringLiteral("/урок.crs")},
        {{"--platform", "xcb", "-style=Fusion", "-stylesheet", "a.qss"}, Action::Start},
        {{cp1251}, Action::Start, cwd + u'/' + QString::fromUtf8(cp1251), true},
        // An address copied from a browser or a file manager: a local file is that file.
        {{"file:///а/б/урок.crs"}, Action::Start, QStringLiteral("/а/б/урок.crs")},
        {{"file:///а/%D1%83%D1%80%D0%BE%D0%BA%20%E2%84%962.crs"}, Action::Start,
         QStringLiteral("/а/урок №2.crs")},
        {{"FILE://localhost/а.crs"}, Action::Start, QStringLiteral("/а.crs")},
        {{"https://школа.рф/урок.crs"}, Action::Wrong, QStringLiteral("это адрес в сети, а не файл")},
        {{"smb://сервер/урок.crs"}, Action::Wrong, QStringLiteral("это адрес в сети")},
        {{"file://сервер/урок.crs"}, Action::Wrong, QStringLiteral("на другом компьютере («сервер»)")},
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
        if (row.posixOnly && TestPlatform::Windows)
            continue;
        const CommandLine line = parse(row.arguments, cwd);
        EXPECT_EQ(line.action(), row.action);
        EXPECT_EQ(line.fileName(), row.action == Action::Start ? row.file : QString());
        EXPECT_TRUE(row.action != Action::Wrong || line.error().contains(row.file));
        EXPECT_EQ(line.fileNameProblem().contains(QStringLiteral("не в кодировке UTF-8")), row.badName);
    }

    // An empty variable is no display; a platform or display chosen on the line
    // is. Windows always has its desktop.
    const auto display = [](const QList<QByteArray> &arguments, const QStringList &variables) {
        return parse(arguments, QDir::rootPath()).hasDisplay(environmentOf(variables));
    };
    EXPECT_EQ(display({}, {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "HOME=/"}),
              TestPlatform::Windows);
    for (const QString variable : {"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=vnc"})
        EXPECT_TRUE(display({}, {variable})) << variable.toStdString();
    EXPECT_TRUE(display({"-platform", "offscreen"}, {}));
    EXPECT_TRUE(display({"--display", ":5"}, {}));

    // When Qt cannot start, the message names what it tried, and not DISPLAY or
    // WAYLAND_DISPLAY when those were not what failed (the program itself names
    // a platform or display given on its line below).
    using Failure = CommandLine::StartFailure;
    const struct
    {
        QList<QByteArray> arguments;
        QStringList variables;
        Failure failure;
        const char *said;
    } failures[] = {
        {{}, {"QT_QPA_PLATFORM=bogus"}, {}, "«bogus» (переменная QT_QPA_PLATFORM)"},
        {{}, {"WAYLAND_DISPLAY=wayland-0"}, {true, false}, "в сеансе Wayland «wayland-0» без X11"},
        {{}, {"WAYLAND_DISPLAY=wayland-0"}, {true, true}, "ни на экране Wayland «wayland-0»"},
        {{}, {"WAYLAND_DISPLAY=wayland-1"}, {false, true}, "на экране Wayland «wayland-1»."},
        {{}, {}, {true, false}, "нет экрана для окон программы"},
    };
    for (const auto &row : failures) {
        const QString said = parse(row.arguments, QDir::rootPath())
                                 .startFailedText(environmentOf(row.variables), row.failure);
        EXPECT_TRUE(said.contains(QString::fromUtf8(row.said))) << said.toStdString();
        EXPECT_TRUE(said.endsWith(u'\n') && said.count(u'\n') == 1) << said.toStdString();
    }
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
        QStringList variables = {};
        bool linuxOnly = true; // about the display, which Windows always has
    };
    const std::vector<Row> rows = {
        {{"--help"}, {}, 0, QStringLiteral("Использование: kvarcella [ФАЙЛ.crs]\n"), {}, {}, false},
        {{"--version"}, {}, 0, QStringLiteral("Кварцелла 2.0, версия 2.0\n"), {}, {}, false},
        {{}, {}, 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{"урок.crs"}, QStringLiteral(""), 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{}, QStringLiteral(":4917"), 1, {}, QStringLiteral("не удалось открыть окно на экране «:4917»")},
        {{"--bogus"}, {}, 2, {}, QStringLiteral("kvarcella: Неизвестный параметр «--bogus»."), {}, false},
        {{"http://школа.рф/урок.crs"}, {}, 2, {}, QStringLiteral("это адрес в сети"), {}, false},
        // The platform or display that failed is named, not an unrelated variable.
        {{"-platform", "bogus"}, {}, 1, {}, QStringLiteral("платформа окон «bogus»")},
        {{"-display", ":4917"}, QStringLiteral(":4918"), 1, {}, QStringLiteral("на экране «:4917»")},
        {{}, {}, 1, {}, QStringLiteral("Wayland «wayland-4917»"), {"WAYLAND_DISPLAY=wayland-4917"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString() + " DISPLAY=" + row.display.toStdString());
        if (row.linuxOnly && TestPlatform::Windows)
            continue;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        if (!row.display.isNull())
            environment.insert(QStringLiteral("DISPLAY"), row.display);
        environment.insert(environmentOf(row.variables));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KVARCELLA_PROGRAM), row.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), row.status);
        // Text on Windows ends its lines with CR LF.
        const QString out = QString::fromUtf8(program.readAllStandardOutput()).remove(u'\r');
        const QString err = QString::fromUtf8(program.readAllStandardError()).remove(u'\r');
        EXPECT_TRUE(out.startsWith(row.out) && out.isEmpty() == row.out.isEmpty()) << out.toStdString();
        EXPECT_TRUE(err.contains(row.err)) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), row.err.isEmpty() ? 0 : row.status == 2 ? 2 : 1) << err.toStdString();
    }
}
