#!/bin/bash
# Cross-build Debian 12's qtbase 6.4.2 (source package qt6-base) for 64-bit Windows
# with Debian's mingw-w64, using Debian's own Qt 6.4.2 as the host Qt (moc, rcc, uic...).
# Shared libraries, release, only Core/Gui/Widgets/PrintSupport/Test + platform plugins windows/offscreen/minimal.
# The kit the project uses (scripts/windows/build.sh); 30 to 60 minutes on 2 cores, 1.4 GB of
# scratch disk. The result is $W/qt-6.4.2-mingw-w64-x86_64.tar.xz.
set -euo pipefail
W=${W:-$PWD}   # the working folder: src/, build-qt/ and qt6-mingw/ go here
JOBS=${JOBS:-2}
mkdir -p "$W"
# Root's package tool, through sudo for anyone else.
if [[ $(id -u) -ne 0 ]]; then
  apt-get() { sudo apt-get "$@"; }
  tee_root() { sudo tee "$@"; }
  rm_root() { sudo rm "$@"; }
else
  tee_root() { tee "$@"; }
  rm_root() { rm "$@"; }
fi
# mingw-toolchain.cmake (in $W):
cat > "$W/mingw-toolchain.cmake" <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

# 1. Packages (Debian 12 main only). A deb-src stanza (the URIs line copied from
#    /etc/apt/sources.list.d/debian.sources) so that `apt-get source` works; remove it afterwards.
SRC=/etc/apt/sources.list.d/qt-mingw-src.sources
if [ ! -f "$SRC" ]; then
  { echo "Types: deb-src"
    grep -m1 '^URIs:' /etc/apt/sources.list.d/debian.sources
    echo "Suites: bookworm"
    echo "Components: main"
    echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"; } | tee_root "$SRC" >/dev/null
fi
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
  qt6-base-dev qt6-base-dev-tools cmake ninja-build perl dpkg-dev wine wine64

# 2. Source: 46 MB download, 291 MB unpacked (with Debian's patches applied).
mkdir -p "$W/src" && cd "$W/src"
[ -f qt6-base_6.4.2+dfsg-10.dsc ] || apt-get source --download-only qt6-base
if [ ! -d qtbase ]; then
  dpkg-source -x qt6-base_6.4.2+dfsg-10.dsc qtbase
  # Qt 6.4.2 with direct2d off: Gui builds its DirectWrite font database only with direct2d,
  # but the Windows plugin uses it whenever directwrite3 is on (link error in qwindows.dll).
  # This probe guarded the plugin's two uses (an untested alternative: -DFEATURE_directwrite3=OFF).
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    qtbase/src/plugins/platforms/windows/qwindowsintegration.cpp
  # The same for the Windows print engine, which uses the DirectWrite font engine under directwrite.
  sed -i 's/^#if QT_CONFIG(directwrite)$/#if QT_CONFIG(directwrite) \&\& QT_CONFIG(direct2d)/' \
    qtbase/src/printsupport/platform/windows/qprintengine_win.cpp
fi

# 3. Configure. -DINPUT_opengl=no (what `configure -no-opengl` sets) and not only FEATURE_opengl=OFF:
#    with the latter alone, "dynamicgl" stays on and the Windows plugin fails to compile.
#    tabletevent is off because Debian's +dfsg tarball drops src/3rdparty/wintab
#    (the Windows plugin's tablet support includes wintab.h from there).
cmake -G Ninja -S "$W/src/qtbase" -B "$W/build-qt" \
  -DCMAKE_TOOLCHAIN_FILE="$W/mingw-toolchain.cmake" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_SHARED_LIBS=ON \
  -DCMAKE_INSTALL_PREFIX="$W/qt6-mingw" \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_printsupport=ON \
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF \
  -DFEATURE_jpeg=OFF -DFEATURE_testlib=ON -DFEATURE_freetype=ON \
  2>&1 | tee "$W/qt-configure.log"

# 4. Build and install (2 cores, lowest priority).
time nice -n 19 ninja -C "$W/build-qt" -j"$JOBS" 2>&1 | tee "$W/qt-build.log" | grep -E '^\[[0-9]+/[0-9]+\]' | awk 'NR%100==0'
nice -n 19 cmake --install "$W/build-qt" > "$W/qt-install.log"
# 5. Make the kit relocatable for CMake: the toolchain file travels with it, and Qt's own toolchain file
#    finds it beside the kit's root instead of at this build's path.
cp "$W/mingw-toolchain.cmake" "$W/qt6-mingw/"
sed -i 's#set(__qt_initially_configured_toolchain_file ".*")#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../mingw-toolchain.cmake")#' \
  "$W/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake"
rm -rf "$W/qt6-mingw/doc"
tar -cJf "$W/qt-6.4.2-mingw-w64-x86_64.tar.xz" --owner=0 --group=0 -C "$W/qt6-mingw" .
du -sh "$W/qt6-mingw" "$W/qt-6.4.2-mingw-w64-x86_64.tar.xz"
rm_root -f "$SRC" && apt-get update
