// The POSIX face of Console: a terminal shows UTF-8 as it is.
#include "console.h"

#include <unistd.h>

Console::Console() = default;

Console::~Console() = default;

bool Console::isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) != 0;
}
