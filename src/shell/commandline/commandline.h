#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>

// What the program was asked for on its command line: the start window, one
// crossword to solve, or a text to print. Read before Qt starts, so that
// --help and a wrong line answer without a display; Qt's own options
// (-platform, -session, ...) are passed over and left to QApplication.
class CommandLine
{
public:
    enum class Action { Start, Help, Version, Wrong };

    // arguments: as ProgramArguments gives them (UTF-8), the program's name first.
    // currentFolder: what a relative file name is taken from.
    static CommandLine parse(const QList<QByteArray> &arguments, const QString &currentFolder);

    // A file as a command line names it. A local file:// address (as a
    // browser or file manager copies it) is the file at its path; any other
    // address is no file, and error says so in a Russian sentence.
    struct NamedFile
    {
        QString name;
        QString error;
        bool notUtf8 = false; // the name's bytes are not UTF-8: name cannot reach the file
    };
    static NamedFile namedFile(const QByteArray &argument);

    Action action() const { return m_action; }
    // Start: the crossword to open as a full path, or "" for the start window.
    const QString &fileName() const { return m_fileName; }
    // Start: why fileName cannot be read whatever the file holds, or "".
    const QString &fileNameProblem() const { return m_fileNameProblem; }
    // Wrong: what is wrong, a Russian sentence.
    const QString &error() const { return m_error; }

    // Whether Qt has anywhere to show windows: a display in the environment,
    // or a platform or display chosen on the command line. Always on Windows,
    // which has its desktop (commandlinedisplay*.cpp).
    bool hasDisplay(const QProcessEnvironment &environment) const;

    // What Qt reported, by its logging categories, before it gave up starting.
    struct StartFailure
    {
        bool x11 = false;     // could not connect to an X display
        bool wayland = false; // could not connect to a Wayland display
    };
    // Qt could not start its windows: one Russian line naming what failed,
    // the display or the platform asked for on the line or in the environment.
    QString startFailedText(const QProcessEnvironment &environment, StartFailure failure) const;

    static QString helpText();
    static QString versionText();
    static QString noDisplayText();

private:
    Action m_action = Action::Start;
    QString m_fileName;
    QString m_fileNameProblem;
    QString m_error;
    QString m_platform; // -platform, as given
    QString m_display;  // -display, as given
    bool m_platformGiven = false;
    bool m_displayGiven = false;
};
