#pragma once

#include <QByteArray>
#include <QList>

// The program's arguments as the system gave them, in UTF-8, the program's
// name first. On POSIX that is argv as it is (a name in another encoding stays
// as its bytes, for the command line to refuse); on Windows argv is in the
// ANSI code page, which loses every character outside it, so the arguments
// come from the wide command line instead. A POSIX and a Windows face.
class ProgramArguments
{
public:
    static QList<QByteArray> get(int argc, char *argv[]);
};
