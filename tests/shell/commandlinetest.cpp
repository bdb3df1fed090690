// The program's command line: its rules, and the real executable answering
// without a display.
#include "commandline.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Action = CommandLine::Action;

QList<QByteArray> argv(std::initializer_list<QByteArray> arguments)
{
    QList<QByteArray> list{"kvarcella"};
    list.append(arguments);
    return list;
}

} // namespace

TEST(CommandLineTest, NamesOneCrosswordAsAFullPathPassesQtsOptionsAndRefusesTheRest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cwd = QFileInfo(dir.path()).canonicalFilePath();
    // "ссылка/.." is "далеко" on disk, not cwd as the text suggests.
    ASSERT_TRUE(QDir(cwd).mkpath(QStringLiteral("далеко/глубоко")));
    ASSERT_TRUE(QFile::link(cwd + QStringLiteral("/далеко/глубоко"), cwd + QStringLiteral("/ссылка")));

    struct Row
    {
        QList<QByteArray> arguments;
        Action action;
        QString fileName;               // Start: after cwd + '/', "" for none
        QString said = {};              // Wrong: in the error; Start: in the name's problem
    };
    const QByteArray cp1251Name("\xf3\xf0\xee\xea.crs"); // "урок.crs" in Windows-1251
    const std::vector<Row> rows = {
        {argv({}), Action::Start, {}},
        {argv({"урок.crs"}), Action::Start, QStringLiteral("урок.crs")},
        {argv({"./папка//./урок.crs"}), Action::Start, QStringLiteral("папка/урок.crs")},
        {argv({"ссылка/../урок.crs"}), Action::Start, QStringLiteral("далеко/урок.crs")},
        {argv({"--", "-урок.crs"}), Action::Start, QStringLiteral("-урок.crs")},
        {argv({"-session", "1a2b", "урок.crs", "-reverse"}), Action::Start, QStringLiteral("урок.crs")},
        {argv({"--platform", "xcb", "-style=Fusion", "-stylesheet", "a.qss", "-qwindowtitle", "т"}),
         Action::Start, {}},
        {argv({cp1251Name}), Action::Start, QString::fromUtf8(cp1251Name),
         QStringLiteral("не в кодировке UTF-8")},
        {argv({"-h"}), Action::Help, {}},
        {argv({"--bogus", "--help"}), Action::Help, {}},
        {argv({"--version"}), Action::Version, {}},
        {argv({"--bogus"}), Action::Wrong, {}, QStringLiteral("Неизвестный параметр «--bogus».")},
        {argv({"-v"}), Action::Wrong, {}, QStringLiteral("Неизвестный параметр «-v».")},
        {argv({"а.crs", "б.crs"}), Action::Wrong, {}, QStringLiteral("только один файл")},
        {argv({"а.crs", "-platform"}), Action::Wrong, {}, QStringLiteral("«-platform» нужно указать")},
        {argv({""}), Action::Wrong, {}, QStringLiteral("Имя файла пустое.")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QByteArrayList(row.arguments).join(' ').toStdString());
        const CommandLine line = CommandLine::parse(row.arguments, cwd);
        EXPECT_EQ(line.action(), row.action);
        if (row.action == Action::Start) {
            EXPECT_EQ(line.fileName(), row.fileName.isEmpty() ? QString() : cwd + u'/' + row.fileName);
            EXPECT_EQ(line.fileNameProblem().isEmpty(), row.said.isEmpty());
            EXPECT_TRUE(line.fileNameProblem().contains(row.said));
        } else if (row.action == Action::Wrong) {
            EXPECT_TRUE(line.error().contains(row.said)) << line.error().toStdString();
        }
    }
    EXPECT_EQ(CommandLine::parse(argv({"/а//б/./в.crs"}), cwd).fileName(), QStringLiteral("/а/б/в.crs"));
}

TEST(CommandLineTest, FindsADisplayInTheEnvironmentOrOnTheCommandLine)
{
    struct Row
    {
        QList<QByteArray> arguments;
        std::optional<QString> display, wayland, platform;
        bool expected;
    };
    const std::vector<Row> rows = {
        {argv({}), {}, {}, {}, false},
        {argv({}), QString(), QString(), QString(), false},
        {argv({}), QStringLiteral(":0"), {}, {}, true},
        {argv({}), {}, QStringLiteral("wayland-0"), {}, true},
        {argv({}), {}, {}, QStringLiteral("offscreen"), true},
        {argv({"-platform", "offscreen"}), {}, {}, {}, true},
        {argv({"--display", ":5"}), {}, {}, {}, true},
    };
    for (const Row &row : rows) {
        QProcessEnvironment environment;
        if (row.display)
            environment.insert(QStringLiteral("DISPLAY"), *row.display);
        if (row.wayland)
            environment.insert(QStringLiteral("WAYLAND_DISPLAY"), *row.wayland);
        if (row.platform)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), *row.platform);
        SCOPED_TRACE(environment.toStringList().join(u' ').toStdString());
        EXPECT_EQ(CommandLine::parse(row.arguments, QDir::rootPath()).hasDisplay(environment),
                  row.expected);
    }
}

// Run without any display: only what answers before Qt starts can succeed,
// and Qt's own English never reaches the terminal.
TEST(CommandLineTest, TheProgramAnswersInRussianWithoutADisplay)
{
    struct Row
    {
        QStringList arguments;
        QString display;
        int status;
        QString out;  // at the start of standard output
        QString err;  // in the only line of standard error
    };
    const QString deadDisplay = QStringLiteral(":4917");
    ASSERT_FALSE(QFile::exists(QStringLiteral("/tmp/.X11-unix/X4917")));
    const std::vector<Row> rows = {
        {{"--help"}, {}, 0, QStringLiteral("Использование: kvarcella [ФАЙЛ.crs]\n"), {}},
        {{"--version"}, {}, 0, QStringLiteral("Кварцелла 2.0, версия 2.0\n"), {}},
        {{}, {}, 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{"урок.crs"}, {}, 1, {}, QStringLiteral("нет экрана для окон программы")},
        {{}, deadDisplay, 1, {}, QStringLiteral("не удалось открыть окно на экране «:4917»")},
        {{"--bogus"}, {}, 2, {}, QStringLiteral("kvarcella: Неизвестный параметр «--bogus».")},
        {{"а.crs", "б.crs"}, {}, 2, {}, QStringLiteral("только один файл кроссворда")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString() + " DISPLAY=" +
                     row.display.toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!row.display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), row.display);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KVARCELLA_PROGRAM), row.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), row.status);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(row.out.isEmpty() ? out.isEmpty() : out.startsWith(row.out)) << out.toStdString();
        if (row.err.isEmpty()) {
            EXPECT_TRUE(err.isEmpty()) << err.toStdString();
        } else {
            EXPECT_TRUE(err.contains(row.err)) << err.toStdString();
            // One line, or the line and where to find help.
            EXPECT_EQ(err.count(u'\n'), row.status == 2 ? 2 : 1) << err.toStdString();
        }
    }
}
