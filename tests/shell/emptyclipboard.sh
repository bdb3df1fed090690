#!/usr/bin/env bash
# The real executable on an X display of its own whose clipboard and selection
# no program owns, as after logging in or after closing the program text was
# copied from: Ctrl+V, Shift+Insert and a middle click in the editing window's
# clue pane used to end the program (status 139). It must survive all three,
# and "Кроссворд" -> "Выход" must still end it with status 0.
#
#   emptyclipboard.sh path/to/kvarcella
set -uo pipefail

fail() {
    echo "emptyclipboard: $*" >&2
    exit 1
}

program=${1:?usage: emptyclipboard.sh path/to/kvarcella}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
work=$(mktemp -d)
pid=
trap '{ [[ -n $pid ]] && kill -KILL "$pid"; kill "$xvfb"; wait; } 2>/dev/null; rm -rf "$work"' EXIT

# Xvfb picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 150); do
    [[ $(head -n 1 "$work/display" 2>/dev/null) =~ ^[0-9]+$ ]] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
[[ $DISPLAY =~ ^:[0-9]+$ ]] || fail "Xvfb gave no display number"
unset WAYLAND_DISPLAY XDG_RUNTIME_DIR
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

# Prints "x y" of the visible program window about $1 px wide, waiting up to 20 s.
find_window() {
    local id X Y WIDTH HEIGHT SCREEN WINDOW
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name 'Кварцелла 2.0' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
            ((WIDTH > $1 - 40 && WIDTH < $1 + 40)) && echo "$X $Y" && return 0
        done
        sleep 0.2
    done
    return 1
}

"$program" >"$work/terminal" 2>&1 &
pid=$!
read -r x y < <(find_window 252) || fail "no start window"
# "создать": 103 x 33 px at (72, 112) in the start window.
xdotool mousemove --sync $((x + 72 + 51)) $((y + 112 + 16)) click 1
read -r x y < <(find_window 1016) || fail "the editing window did not appear"
# Into the clue pane, 393 x 625 px at (624, 0) under the 20 px menu bar.
xdotool mousemove --sync $((x + 624 + 200)) $((y + 20 + 300)) click 1
sleep 0.3
for action in "key ctrl+v" "key shift+Insert" "click 2"; do
    xdotool $action
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "the program ended with status $? after $action"; }
done
echo "emptyclipboard: the program survived Ctrl+V, Shift+Insert and a middle click"

# "Кроссворд" is the first title of the menu bar; "Выход" is its last item.
xdotool mousemove --sync $((x + 25)) $((y + 10)) click 1 sleep 1 key Up sleep 0.3 key Return
for _ in $(seq 75); do kill -0 "$pid" 2>/dev/null && sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "\"Выход\" did not end the program"
wait "$pid"
status=$? pid=
cat "$work/terminal" >&2
((status == 0)) || fail "\"Выход\" ended the program with status $status"
