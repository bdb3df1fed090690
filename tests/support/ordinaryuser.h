#pragma once

#include <QByteArray>

#include <functional>
#include <optional>
#include <sys/types.h>

// File permissions do not bite on root, and CI runs the tests as root. This
// runs a piece of a test in a child process that, when started by root, first
// becomes an ordinary user (nobody, 65534, unless told otherwise), also a
// member of group 100; started by anyone else it keeps that user.
class OrdinaryUser
{
public:
    static constexpr uid_t Nobody = 65534;
    // A second ordinary user, for files that belong to someone else.
    static constexpr uid_t Colleague = 65533;
    static constexpr gid_t NoGroup = 65534;
    static constexpr gid_t SecondGroup = 100;

    // Turns the calling process into user as described above; false when that failed.
    static bool become(uid_t user = Nobody);
    // The bytes body returned, or nothing when the child could not run it.
    static std::optional<QByteArray> run(const std::function<QByteArray()> &body,
                                         uid_t user = Nobody);
};
