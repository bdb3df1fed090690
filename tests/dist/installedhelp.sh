#!/usr/bin/env bash
# Installs the build into a temporary folder, starts the installed program on
# a virtual X display from a working folder that has no help file, presses
# "создать" on the start window and chooses "Справка" -> "Содержание..." in the
# editing window: a help viewer window must open the installed help file.
# Then a crossword is opened the way a file manager's double-click does it
# (gio open, with the installed file type and launcher entries): the
# installed program's solving window must show it.
#
#   installedhelp.sh BUILD_DIR [SCREENSHOT.png]
#
# Every wait is bounded, and everything started here is stopped by its id.
set -uo pipefail

build=${1:?usage: installedhelp.sh BUILD_DIR [SCREENSHOT.png]}
screenshot=${2:-}
readonly title='Кварцелла 2.0'

fail() {
    echo "help: $*" >&2
    exit 1
}
for tool in Xvfb xdotool xchm xdg-open gio update-desktop-database update-mime-database; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

work=$(mktemp -d)
xvfb=
program=
cleanup() {
    # The viewer is started by the desktop's opener, not by us: find it by the
    # unique temporary folder in its command line.
    local cmdline pid args
    for cmdline in /proc/[0-9]*/cmdline; do
        pid=${cmdline#/proc/}
        pid=${pid%/cmdline}
        [[ $pid == "$$" || $pid == "$program" ]] && continue
        mapfile -d '' args 2>/dev/null <"$cmdline" || continue
        [[ ${args[*]} == *"$work/"* ]] && kill "$pid" 2>/dev/null
    done
    [[ -n $program ]] && kill "$program" 2>/dev/null
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
installed=$work/root/usr/bin/kvarcella
help_file=$work/root/usr/share/kvarcella/kvarcella.chm
[[ -x $installed && -f $help_file ]] || fail "the program or its help is not installed"

# A display of our own at a random number, kept alive between clients.
for _ in 1 2 3 4 5; do
    n=$((100 + RANDOM % 800))
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -noreset -nolisten tcp -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null
    xvfb=
done
[[ -n $xvfb ]] || fail "no virtual display could be started"

# A clean user: no personal file associations, no help file in the folder.
mkdir -p "$work/home" "$work/folder"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/home/runtime QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION
cd "$work/folder" || fail "no working folder"
[[ ! -e kvarcella.chm ]] || fail "the working folder has a help file"

"$installed" >"$work/program.log" 2>&1 &
program=$!

# Prints "x y" of the visible window of the program whose width is within
# 40 px of $1, waiting up to $2 seconds.
window_at() {
    local wanted=$1 deadline=$((SECONDS + $2)) id X Y WIDTH HEIGHT SCREEN WINDOW
    while ((SECONDS < deadline)); do
        kill -0 "$program" 2>/dev/null || return 1
        for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
            if ((WIDTH > wanted - 40 && WIDTH < wanted + 40)); then
                echo "$X $Y"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# The start window is 252 px wide; "создать" is 103 x 33 px at (72, 112) in it.
read -r x y < <(window_at 252 20) || fail "the start window did not appear: $(cat "$work/program.log")"
xdotool mousemove --sync $((x + 72 + 51)) $((y + 112 + 16)) click 1
read -r x y < <(window_at 1016 15) || fail "the editing window did not appear"

# "Кроссворд" opens with the mouse; two steps right reach "Справка", whose
# first item is "Содержание...".
viewer=
for attempt in 1 2 3; do
    xdotool mousemove --sync $((x + 25)) $((y + 10)) click 1
    sleep 0.5
    xdotool key Right
    sleep 0.3
    xdotool key Right
    sleep 0.5
    xdotool key Return
    deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do
        viewer=$(xdotool search --onlyvisible --class xchm 2>/dev/null | head -n 1)
        [[ -n $viewer ]] && break 2
        sleep 0.3
    done
    echo "help: no viewer after attempt $attempt" >&2
    xdotool key Escape Escape
done
[[ -n $viewer ]] || fail "no help viewer window opened"

# The viewer shows the installed help, reached from the executable's folder.
# It maps its window before it has loaded the file and named the window.
deadline=$((SECONDS + 15))
until name=$(xdotool getwindowname "$viewer" 2>/dev/null) && [[ $name == *"$title"* ]]; do
    ((SECONDS < deadline)) || fail "the viewer window is titled '$name', not after the help"
    sleep 0.2
done
pid=$(xdotool getwindowpid "$viewer" 2>/dev/null)
[[ -n $pid ]] || fail "the viewer window has no process id"
args=$(tr '\0' ' ' <"/proc/$pid/cmdline")
[[ $args == *"$help_file"* ]] || fail "the viewer opened '$args', not $help_file"
kill -0 "$program" 2>/dev/null || fail "the program ended"
echo "help: '$name' shows $help_file"

# The double-click: the desktop's own opener finds the crossword type and its
# default handler among the installed files alone, and starts the program
# from PATH (the cleanup stops it by the file name in its command line).
share=$work/root/usr/share
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database failed"
update-desktop-database "$share/applications" >/dev/null 2>&1 || fail "update-desktop-database failed"
crossword=$work/folder/Урок.crs
{
    printf '"\xe0","1"\r\n'
    for _ in $(seq 399); do printf '"",""\r\n'; done
    printf '1. \xc1\xf3\xea\xe2\xe0.\r\n'
} >"$crossword"
mkdir -p "$work/home/configdirs"
PATH=$work/root/usr/bin:$PATH XDG_DATA_DIRS=$share:/usr/share XDG_CONFIG_DIRS=$work/home/configdirs \
    DBUS_SESSION_BUS_ADDRESS=disabled: gio open "$crossword" >"$work/gio.log" 2>&1 ||
    fail "gio open failed: $(cat "$work/gio.log")"
solving=
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
    solving=$(xdotool search --onlyvisible --name "^$title  -  $crossword\$" 2>/dev/null | head -n 1)
    [[ -n $solving ]] && break
    sleep 0.3
done
[[ -n $solving ]] || fail "no window titled after $crossword opened: $(cat "$work/gio.log")"
pid=$(xdotool getwindowpid "$solving" 2>/dev/null)
[[ $(readlink "/proc/$pid/exe") == "$work/root/usr/bin/kvarcella" ]] ||
    fail "the crossword opened in '$(readlink "/proc/$pid/exe")', not the installed program"
echo "help: a double-click on $crossword opens it for solving"

if [[ -n $screenshot ]]; then
    sleep 1
    import -window root "$screenshot" && echo "help: screenshot in $screenshot"
fi
exit 0
