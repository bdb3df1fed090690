// The POSIX face of ProgramArguments.
#include "programarguments.h"

QList<QByteArray> ProgramArguments::get(int argc, char *argv[])
{
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}
