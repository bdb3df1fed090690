#include "ordinaryuser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

std::optional<QByteArray> OrdinaryUser::run(const std::function<QByteArray()> &body)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0) {
            const gid_t groups[] = {NoGroup, SecondGroup};
            if (::setgroups(2, groups) != 0 || ::setgid(NoGroup) != 0 || ::setuid(Nobody) != 0)
                ::_exit(2);
        }
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
