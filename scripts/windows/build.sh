#!/usr/bin/env bash
# Cross-builds Кварцелла 2.0 for 64-bit Windows and makes, in build/windows-dist/,
# the installer "Кварцелла-2.0-setup.exe" and the portable "Кварцелла-2.0.zip".
# Installs what it needs with apt-get (through sudo when not root).
#
# The Qt kit: KVARCELLA_QT_MINGW_TARBALL, else the shared copy in
# ../shared/windows/ beside the checkout; where there is none,
# scripts/windows/build-qt.sh builds one from Debian's source (30 to 60 minutes).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
source scripts/windows/packages.sh

ensure_packages cmake ninja-build xz-utils python3 \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n googletest \
    fp-utils nsis librsvg2-bin icoutils wine wine64

kit=$root/build/windows-kit
mkdir -p "$kit"
kit_name=qt-6.4.2-mingw-w64-x86_64.tar.xz
tarball=${KVARCELLA_QT_MINGW_TARBALL:-$root/../shared/windows/$kit_name}
# A git worktree finds it beside its main checkout.
common=$(git rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)
if [[ -z ${KVARCELLA_QT_MINGW_TARBALL:-} && ! -f $tarball && -n $common ]]; then
    tarball=$(dirname "$common")/../shared/windows/$kit_name
fi
if [[ ! -f $tarball ]]; then
    tarball=$root/build/windows-qt/$kit_name
    if [[ ! -f $tarball ]]; then
        echo "No Qt kit for Windows found: building it from Debian's source (30 to 60 minutes)"
        W=$root/build/windows-qt bash scripts/windows/build-qt.sh
    fi
fi
stamp="$(stat -c '%s %Y' "$tarball") $tarball"
if [[ $(cat "$kit/qt.stamp" 2>/dev/null) != "$stamp" ]]; then
    rm -rf "$kit/qt"
    mkdir -p "$kit/qt"
    tar -xJf "$tarball" -C "$kit/qt"
    echo "$stamp" >"$kit/qt.stamp"
fi
# Qt's Russian texts are the same on every platform: Debian's file, where Qt
# looks for it in the kit's own layout (tests and the build tree use that).
cp /usr/share/qt6/translations/qtbase_ru.qm "$kit/qt/translations/"

# GoogleTest for the tests, cross-built from Debian's source (half a minute).
if [[ ! -f $kit/googletest/lib/libgtest.a ]]; then
    cmake -S /usr/src/googletest -B "$kit/googletest-build" -G Ninja -DBUILD_GMOCK=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$kit/qt/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$kit/googletest" >/dev/null
    cmake --build "$kit/googletest-build" >/dev/null
    cmake --install "$kit/googletest-build" >/dev/null
fi

cmake --preset windows >/dev/null
cmake --build --preset windows --target kvarcella kvarcella-tool helpfile windowsicon

# The program's folder, as installed and as on a USB stick: the programs, Qt's
# libraries and plugins, mingw-w64's runtime, Qt's Russian texts (found
# through qt.conf) and the help beside the program, where it looks for it.
dist=$root/build/windows-dist
stage="$dist/Кварцелла 2.0"
rm -rf "$dist"
mkdir -p "$stage/plugins/platforms" "$stage/plugins/styles" "$stage/translations"
build=$root/build/windows
for exe in src/shell/kvarcella.exe src/tool/kvarcella-tool.exe; do
    x86_64-w64-mingw32-strip -o "$stage/$(basename "$exe")" "$build/$exe"
done
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport; do
    cp "$kit/qt/bin/$dll.dll" "$stage/"
done
# kvarcella-tool draws its PDF on the offscreen platform.
cp "$kit/qt/plugins/platforms/qwindows.dll" "$kit/qt/plugins/platforms/qoffscreen.dll" \
    "$stage/plugins/platforms/"
cp "$kit/qt/plugins/styles/qwindowsvistastyle.dll" "$stage/plugins/styles/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$stage/"
done
cp "$kit/qt/translations/qtbase_ru.qm" "$stage/translations/"
printf '[Paths]\r\nPrefix = .\r\nPlugins = plugins\r\nTranslations = translations\r\n' >"$stage/qt.conf"
cp "$build/src/shell/kvarcella.chm" "$build/dist/windows/kvarcella.ico" "$stage/"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# What the installer puts in place, and so exactly what its uninstaller removes.
lists=$build/nsis
mkdir -p "$lists"
: >"$lists/files.nsh"
: >"$lists/unfiles.nsh"
(cd "$stage" && find . -type d | sort) | while read -r folder; do
    windows=${folder#.}
    windows=${windows//\//\\}
    echo "SetOutPath \"\$INSTDIR$windows\"" >>"$lists/files.nsh"
    find "$stage/$folder" -maxdepth 1 -type f | sort | while read -r file; do
        echo "File \"$file\"" >>"$lists/files.nsh"
        echo "Delete \"\$INSTDIR$windows\\$(basename "$file")\"" >>"$lists/unfiles.nsh"
    done
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r folder; do
    windows=${folder#.}
    echo "RMDir \"\$INSTDIR${windows//\//\\}\"" >>"$lists/unfiles.nsh"
done
echo 'SetOutPath "$INSTDIR"' >>"$lists/files.nsh"

makensis -V2 -DSTAGE="$stage" -DLISTS="$lists" -DOUTFILE="$dist/installer.exe" \
    -DVERSION="$(sed -n 's/^project(kvarcella VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" \
    dist/windows/kvarcella.nsi
mv "$dist/installer.exe" "$dist/Кварцелла-2.0-setup.exe"

# Python's zip marks the names as UTF-8, which Windows' own unpacking reads.
(cd "$dist" && python3 -m zipfile -c "Кварцелла-2.0.zip" "Кварцелла 2.0")

ls -l "$dist"
