// The POSIX face of StandardOutput.
#include "standardoutput.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

bool StandardOutput::write(const QByteArray &bytes, int *error)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) { // a pipe left non-blocking by the program reading it
                pollfd ready{STDOUT_FILENO, POLLOUT, 0};
                ::poll(&ready, 1, -1);
                continue;
            }
            *error = errno;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}
