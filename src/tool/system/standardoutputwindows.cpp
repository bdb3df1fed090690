// The Windows face of StandardOutput: the handle itself, since the C
// library's stdout is in text mode and would turn every LF of a PDF into CR LF.
#include "standardoutput.h"

#include "windowserror.h"

#include <algorithm>
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
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 20));
        if (!::WriteFile(out, data, chunk, &written, nullptr)) {
            *error = WindowsError::last();
            return false;
        }
        if (written == 0) {
            *error = ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}
