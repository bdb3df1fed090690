# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads)
# and the Qt kit that scripts/windows/build.sh unpacks. The kit's own
# toolchain file names the compilers and makes Qt's packages findable; this
# adds the host Qt tools (moc, rcc) and the other prefixes built for Windows
# (GoogleTest).
#
#   KVARCELLA_WINDOWS_KIT  the folder holding qt/ and googletest/
#                          (default: build/windows-kit in the checkout)
if(NOT KVARCELLA_WINDOWS_KIT)
  if(DEFINED ENV{KVARCELLA_WINDOWS_KIT})
    set(KVARCELLA_WINDOWS_KIT "$ENV{KVARCELLA_WINDOWS_KIT}")
  else()
    get_filename_component(KVARCELLA_WINDOWS_KIT "${CMAKE_CURRENT_LIST_DIR}/../build/windows-kit"
                           ABSOLUTE)
  endif()
endif()
set(KVARCELLA_WINDOWS_KIT "${KVARCELLA_WINDOWS_KIT}" CACHE PATH "Qt and GoogleTest for Windows")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KVARCELLA_WINDOWS_KIT)

if(NOT EXISTS "${KVARCELLA_WINDOWS_KIT}/qt/lib/cmake/Qt6/qt.toolchain.cmake")
  message(FATAL_ERROR "No Qt for Windows in ${KVARCELLA_WINDOWS_KIT}/qt: "
                      "run bash scripts/windows/build.sh, which unpacks it")
endif()
include("${KVARCELLA_WINDOWS_KIT}/qt/lib/cmake/Qt6/qt.toolchain.cmake")

# Debian's Qt of the same version runs moc, rcc and uic on this machine.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

list(PREPEND CMAKE_FIND_ROOT_PATH "${KVARCELLA_WINDOWS_KIT}/googletest")

# The tests run under Wine, through a script that sets up its prefix and
# finds the DLLs (see scripts/windows/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/wine-run.sh")
