#include "childprocess.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

std::optional<QByteArray> ChildProcess::run(const std::function<QByteArray()> &body)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        const QByteArray result = body();
        const bool sent = ::write(channel[1], result.constData(), size_t(result.size()))
                          == result.size();
        ::_exit(sent ? 0 : 3);
    }
    ::close(channel[1]);
    QByteArray result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

bool ChildProcess::canMount()
{
    return ::geteuid() == 0;
}

std::optional<QByteArray> ChildProcess::runWithOwnMounts(const std::function<QByteArray()> &body)
{
    return run([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            ::_exit(4);
        return body();
    });
}
