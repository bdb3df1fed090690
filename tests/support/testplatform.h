#pragma once

#include <gtest/gtest.h>

// The tests run on Linux and, cross-built, on Windows under Wine. A few check
// rules of one platform only (users, modes and limits of POSIX; X11): they end
// at once elsewhere, saying why.
namespace TestPlatform {
#ifdef _WIN32
inline constexpr bool Windows = true;
#else
inline constexpr bool Windows = false;
#endif

// What a death test expects its program to say before it stops: under Wine
// the dying child's standard error never reaches GoogleTest, so there only
// the stop itself is checked.
constexpr const char *deathMessage(const char *message)
{
    return Windows ? "" : message;
}
} // namespace TestPlatform

#define SKIP_ON_WINDOWS(reason)                                                                    \
    if (TestPlatform::Windows)                                                                     \
    GTEST_SKIP() << "Linux only: " << (reason)
