// The Windows face of ProgramArguments.
#include "programarguments.h"

#include <QString>

#include <windows.h>

#include <shellapi.h>

QList<QByteArray> ProgramArguments::get(int argc, char *argv[])
{
    int count = 0;
    wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    QList<QByteArray> arguments;
    if (!wide) { // out of memory: the ANSI ones are better than none
        for (int i = 0; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]).toUtf8());
        return arguments;
    }
    for (int i = 0; i < count; ++i)
        arguments.append(QString::fromWCharArray(wide[i]).toUtf8());
    ::LocalFree(wide);
    return arguments;
}
