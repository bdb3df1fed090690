// The Windows face of StandardOutput: the handle itself, since the C
// library's stdout is in text mode and would turn every LF of a PDF into CR LF.
#include "standardoutput.h"

#include "windowsfile.h"

#include <cerrno>
#include <cstdio>

#include <windows.h>

bool StandardOutput::write(const QByteArray &bytes, int *error)
{
    std::fflush(stdout); // what the streams wrote before goes first
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr) {
        *error = EBADF;
        return false;
    }
    return WindowsFile::writeAll(out, bytes, error);
}
