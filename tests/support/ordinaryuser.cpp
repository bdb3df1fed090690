#include "ordinaryuser.h"

#include "childprocess.h"

#include <grp.h>
#include <unistd.h>

bool OrdinaryUser::become(uid_t user)
{
    if (::geteuid() != 0)
        return true;
    const gid_t groups[] = {NoGroup, SecondGroup};
    return ::setgroups(2, groups) == 0 && ::setgid(NoGroup) == 0 && ::setuid(user) == 0;
}

std::optional<QByteArray> OrdinaryUser::run(const std::function<QByteArray()> &body, uid_t user)
{
    return ChildProcess::run([&] {
        if (!become(user))
            ::_exit(2);
        return body();
    });
}
