// The Windows face of Console.
#include "console.h"

#include <io.h>
#include <windows.h>

namespace {

bool hasStream(DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

Console::Console()
{
    // A windowed program started from a console gets no streams; one started
    // with its output sent to a file or pipe keeps them.
    if (!hasStream(STD_OUTPUT_HANDLE) && !hasStream(STD_ERROR_HANDLE) &&
        ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
    // The program writes UTF-8; a Russian console expects code page 866.
    const UINT codePage = ::GetConsoleOutputCP();
    if (codePage != 0 && codePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        m_previousCodePage = codePage;
}

Console::~Console()
{
    if (m_previousCodePage != 0)
        ::SetConsoleOutputCP(m_previousCodePage);
}

bool Console::isTerminal(std::FILE *stream)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}
