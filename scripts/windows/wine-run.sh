#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine with the DLLs it needs: the Qt
# kit's, and mingw-w64's runtime. The Wine prefix is the build's own
# (build/windows-wine, made on first use) unless WINEPREFIX names another.
#
#   scripts/windows/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
kit=${KVARCELLA_WINDOWS_KIT:-$root/build/windows-kit}

export WINEPREFIX=${WINEPREFIX:-$root/build/windows-wine}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No installer dialogs for Mono or Gecko, which nothing here needs.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="$kit/qt/bin;$runtime;$pthread${WINEPATH:+;$WINEPATH}"

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    # A crash ends the program at once instead of waiting in Wine's debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /f >/dev/null 2>&1 || true
    wineserver --wait
fi
exec wine "$@"
