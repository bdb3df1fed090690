#pragma once

#include <QByteArray>

// Writes bytes to standard output unchanged (no text mode, no conversion),
// waiting where a reader left the pipe non-blocking. A POSIX and a Windows
// face.
class StandardOutput
{
public:
    // False with an errno value (Windows' errors translated) in error.
    static bool write(const QByteArray &bytes, int *error);
};
