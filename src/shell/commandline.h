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

    // arguments: argv as the system gave it, the program's name first.
    // currentFolder: what a relative file name is taken from.
    static CommandLine parse(const QList<QByteArray> &arguments, const QString &currentFolder);

    Action action() const { return m_action; }
    // Start: the crossword to open as a full path, or "" for the start window.
    const QString &fileName() const { return m_fileName; }
    // Start: why fileName cannot be read whatever the file holds, or "".
    const QString &fileNameProblem() const { return m_fileNameProblem; }
    // Wrong: what is wrong, a Russian sentence.
    const QString &error() const { return m_error; }

    // Whether Qt has anywhere to show windows: a display in the environment,
    // or a platform or display chosen on the command line.
    bool hasDisplay(const QProcessEnvironment &environment) const;

    static QString helpText();
    static QString versionText();
    static QString noDisplayText();
    // Qt found the display named in the environment but could not use it.
    static QString displayFailedText(const QString &display);

private:
    Action m_action = Action::Start;
    QString m_fileName;
    QString m_fileNameProblem;
    QString m_error;
    bool m_displayChosen = false;
};
