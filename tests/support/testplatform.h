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
} // namespace TestPlatform

#define SKIP_ON_WINDOWS(reason)                                                                    \
    if (TestPlatform::Windows)                                                                     \
    GTEST_SKIP() << "Linux only: " << (reason)
