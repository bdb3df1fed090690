#!/usr/bin/env bash
# The real executable on an X display of its own whose clipboard and selection
# no program owns, as after logging in or after closing the program text was
# copied from: Ctrl+V, Shift+Insert and a middle click in the editing window's
# clue pane used to end the program (status 139). It must survive all three,
# and "Кроссворд" -> "Выход" must still end it with status 0.
#
#   emptyclipboard.sh path/to/kvarcella
set -uo pipefail

readonly title='Кварцелла 2.0'

fail() {
    echo "emptyclipboard: $*" >&2
    exit 1
}

program=${1:?usage: emptyclipboard.sh path/to/kvarcella}
[[ -x $program ]] || fail "not an executable: $program"
for tool in Xvfb xdotool timeout; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

work=$(mktemp -d)
xvfb=
pid=
cleanup() {
    [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 150); do
    grep -q '^[0-9]*$' "$work/display" 2>/dev/null && [[ -s $work/display ]] && break
    sleep 0.1
done
display=$(head -n 1 "$work/display")
[[ $display =~ ^[0-9]+$ ]] || fail "Xvfb gave no display number"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_RUNTIME_DIR
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

# Prints the id and "x y width height" of the visible program window whose
# width is within 40 px of $1, waiting up to $2 seconds.
find_window() {
    local wanted=$1 deadline=$((SECONDS + $2)) id X Y WIDTH HEIGHT SCREEN WINDOW
    while ((SECONDS < deadline)); do
        for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
            if ((WIDTH > wanted - 40 && WIDTH < wanted + 40)); then
                echo "$id $X $Y"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

alive() {
    kill -0 "$pid" 2>/dev/null && return 0
    wait "$pid"
    fail "the program ended with status $? after $1"
}

"$program" >"$work/terminal" 2>&1 &
pid=$!
read -r _ x y < <(find_window 252 20) || fail "no start window"
# "создать": 103 x 33 px at (72, 112) in the start window.
xdotool mousemove --sync $((x + 72 + 51)) $((y + 112 + 16)) click 1
read -r editor x y < <(find_window 1016 15) || fail "the editing window did not appear"
# The clue pane: 393 x 625 px at (624, 0) under the 20 px menu bar.
xdotool mousemove --sync $((x + 624 + 200)) $((y + 20 + 300)) click 1
sleep 0.3
for key in ctrl+v shift+Insert; do
    xdotool key "$key"
    sleep 0.5
    alive "$key"
done
xdotool click 2
sleep 0.5
alive "a middle click"
echo "emptyclipboard: the program survived Ctrl+V, Shift+Insert and a middle click"

# "Кроссворд" is the first title of the menu bar; "Выход" is its last item.
for attempt in 1 2 3; do
    xdotool mousemove --sync $((x + 25)) $((y + 10)) click 1
    sleep 0.5
    xdotool key Up
    sleep 0.2
    xdotool key Return
    for _ in $(seq 50); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            pid=
            [[ -s $work/terminal ]] && cat "$work/terminal" >&2
            ((status == 0)) || fail "\"Выход\" ended the program with status $status"
            exit 0
        fi
        sleep 0.2
    done
    echo "emptyclipboard: still running after attempt $attempt" >&2
    xdotool key --window "$editor" Escape
done
fail "\"Выход\" did not end the program"
