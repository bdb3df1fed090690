#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

// Runs a piece of a test in a forked child and hands back the bytes it returns,
// so that what the child changes about itself (user, limits, mounts) never
// reaches the test process.
class ChildProcess
{
public:
    // Nothing when the child could not run body or died.
    static std::optional<QByteArray> run(const std::function<QByteArray()> &body);

    // Whether runWithOwnMounts can work: mounting needs root.
    static bool canMount();
    // Like run, in a mount namespace of the child's own with / made private:
    // whatever body mounts is gone when the child ends, even if it dies.
    static std::optional<QByteArray> runWithOwnMounts(const std::function<QByteArray()> &body);
};
