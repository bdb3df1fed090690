#!/usr/bin/env bash
# The Windows build's tests, run under Wine on this Linux machine (not on
# Windows itself):
#   1. every cross-built GoogleTest program, one Wine process each, headless;
#      the safe writer also on a full disk where one can be made (as root);
#   2. the real programs under a private Xvfb: `kvarcella.exe Урок.crs` shows
#      the solving window titled with the file, and `kvarcella-tool.exe pdf`
#      writes the same pages as the Linux build;
#   3. the installer, silently into a fresh Wine prefix: files, Start menu and
#      the .crs type in place, a double-click opens the crossword, and the
#      uninstaller removes all of it but a teacher's file.
# Builds first (scripts/windows/build.sh). Prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
started=$(date +%s)
source scripts/windows/packages.sh

bash scripts/windows/build.sh
ensure_packages xvfb xauth xdotool poppler-utils python3
cmake --build --preset windows

work=$(mktemp -d)
xvfb=
full=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    [[ -n $full ]] && umount "$full" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
    echo "windows test: FAILED: $*" >&2
    failed=1
}

# Cyrillic arguments reach Wine's programs only from a UTF-8 locale.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Every program is given a bound: a Qt or Wine dialog would wait for ever.
run() { timeout 300 scripts/windows/wine-run.sh "$@"; }
export WINEPREFIX=$root/build/windows-wine
run cmd /c exit # makes the prefix on the first run

# 1. The test programs. A small full disk for the writer, where mounting works.
if [[ $(id -u) -eq 0 ]] && mkdir -p "$work/full" && mount -t tmpfs -o size=1m tmpfs "$work/full"; then
    full=$work/full
    printf 'old contents\r\n' >"$full/old.crs"
    dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null || true
    export KVARCELLA_FULL_FOLDER
    KVARCELLA_FULL_FOLDER=$(winepath -w "$full" 2>/dev/null)
fi
ctest --preset windows --timeout 600 || fail "test programs (ctest --preset windows)"
# The password of the day from the short date format of a Russian Windows.
locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$' || localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen run build/windows/tests/editor/dailypassword_tests.exe \
    --gtest_filter='*SystemsRussianShortDate*' --gtest_brief=1 >"$work/password.log" 2>&1 &&
    grep -q 'PASSED.* 1 test' "$work/password.log" && ! grep -q SKIPPED "$work/password.log" ||
    { cat "$work/password.log"; fail "the password of the day under a Russian Windows"; }

# 2. The real programs on a private display. Wine's session started without a
# display would keep its windows off it: it ends first.
wineserver -k 2>/dev/null || true
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

programs=$root/build/windows-dist/Кварцелла\ 2.0
lesson=$work/Урок.crs
run "$programs/kvarcella-tool.exe" make "$root/tests/maker/words20.txt" -o "$lesson" \
    --seed 7 >/dev/null || fail "kvarcella-tool.exe make"

# Waits for a visible window whose title holds $1; its id, or nothing.
window_titled() {
    for _ in $(seq 1800); do # up to 3 minutes: Wine starts slowly on a busy machine
        if id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
(cd "$work" && timeout 300 "$root/scripts/windows/wine-run.sh" "$programs/kvarcella.exe" Урок.crs) &
program=$!
if id=$(window_titled "Урок.crs"); then
    echo "windows test: solving window: $(xdotool getwindowname "$id")"
else
    fail "no window titled with Урок.crs from kvarcella.exe"
fi
kill "$program" 2>/dev/null || true
wineserver -k 2>/dev/null || true

# The same crossword printed by both builds: the same pages, drawn alike.
linux_tool=$root/build/default/src/tool/kvarcella-tool
if [[ ! -x $linux_tool ]]; then
    bash scripts/setup.sh >/dev/null
    cmake --preset default >/dev/null
    cmake --build --preset default --target kvarcella-tool >/dev/null
fi
run "$programs/kvarcella-tool.exe" pdf "$lesson" -o "$work/windows.pdf" >/dev/null ||
    fail "kvarcella-tool.exe pdf"
QT_QPA_PLATFORM=offscreen "$linux_tool" pdf "$lesson" -o "$work/linux.pdf" >/dev/null
pages() { pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'; }
if [[ $(pages "$work/windows.pdf") != "$(pages "$work/linux.pdf")" ]]; then
    fail "the PDFs have $(pages "$work/windows.pdf") and $(pages "$work/linux.pdf") pages"
else
    pdftoppm -r 40 -gray "$work/windows.pdf" "$work/windows"
    pdftoppm -r 40 -gray "$work/linux.pdf" "$work/linux"
    for page in "$work"/linux-*.pgm; do
        other=$work/windows-${page##*/linux-}
        # Wine draws with Debian's fonts too (through fontconfig); allow for smoothing.
        if ! python3 - "$page" "$other" <<'PYTHON'; then
import sys

def pgm(path):
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    return int(fields[1]), int(fields[2]), data[at + 1:]

(w1, h1, a), (w2, h2, b) = pgm(sys.argv[1]), pgm(sys.argv[2])
differing = sum(1 for x, y in zip(a, b) if abs(x - y) > 64) if (w1, h1) == (w2, h2) else len(a)
print(f"windows test: PDF page {sys.argv[1].rsplit('-', 1)[1]}: {differing} of {len(a)} pixels differ")
sys.exit(0 if differing * 100 <= len(a) else 1)
PYTHON
            fail "PDF page ${page##*/linux-} differs from the Linux build's"
        fi
    done
fi

# 3. The installer in a fresh prefix.
export WINEPREFIX=$root/build/windows-install-wine
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
run "$root/build/windows-dist/Кварцелла-2.0-setup.exe" /S || fail "the installer"
wineserver --wait
installed="$WINEPREFIX/drive_c/Program Files/Кварцелла 2.0"
for file in kvarcella.exe kvarcella-tool.exe kvarcella.chm qt.conf translations/qtbase_ru.qm \
    plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll Qt6Widgets.dll uninstall.exe; do
    [[ -f $installed/$file ]] || fail "not installed: $file"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Кварцелла 2.0"
[[ -f "$menu/Кварцелла 2.0.lnk" ]] || fail "no Start menu entry"
registry() { run reg query "$1" ${2:+/v "$2"} 2>/dev/null | tr -d '\r'; }
registry 'HKLM\Software\Classes\.crs' | grep -q 'Kvarcella.Crossword' || fail ".crs is not a crossword"
registry 'HKLM\Software\Classes\Kvarcella.Crossword\shell\open\command' | grep -q 'kvarcella.exe' ||
    fail "no open command for .crs"
# reg.exe prints Cyrillic in the console's code page: the name is checked by its presence.
registry 'HKLM\Software\Classes\Applications\kvarcella-tool.exe' FriendlyAppName |
    grep -q FriendlyAppName || fail "no 'Напечатать кроссворд' under Open with"
registry 'HKLM\Software\Classes\Applications\kvarcella-tool.exe\shell\open\command' |
    grep -q 'kvarcella-tool.exe" pdf --open' || fail "'Напечатать кроссворд' does not print"
registry 'HKLM\Software\Classes\.crs\OpenWithList\kvarcella-tool.exe' >/dev/null ||
    fail "kvarcella-tool is not offered for .crs"

# A double-click: the shell opens the crossword with its type's program.
(cd "$work" && timeout 300 "$root/scripts/windows/wine-run.sh" start /unix "$lesson") ||
    fail "start Урок.crs"
if id=$(window_titled "Урок.crs"); then
    echo "windows test: opened by its type: $(xdotool getwindowname "$id")"
else
    fail "a double-click on Урок.crs opened no solving window"
fi
wineserver -k 2>/dev/null || true

printf 'a teacher'"'"'s crossword\r\n' >"$installed/мой.crs"
run "$installed/uninstall.exe" /S || fail "the uninstaller"
wineserver --wait
left=$(cd "$installed" && find . -type f | sort | tr '\n' ' ')
[[ $left == "./мой.crs " ]] || fail "the uninstaller left: $left"
[[ ! -e $menu ]] || fail "the Start menu entry stayed"
registry 'HKLM\Software\Classes\Kvarcella.Crossword' | grep -q . && fail "the crossword type stayed"
wineserver -k 2>/dev/null || true

echo "windows test: $(($(date +%s) - started)) s in all"
exit $failed
