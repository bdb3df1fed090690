#!/usr/bin/env bash
# Smoke test of the real executable on a virtual X display: the start window
# appears, "создать" opens the editing window, and "Кроссворд" -> "Выход" ends
# the program with status 0, having written nothing on the terminal. Every wait
# is bounded; everything started here is stopped again on the way out.
#
#   smoke.sh path/to/kvarcella
set -uo pipefail

readonly title='Кварцелла 2.0'

fail() {
    echo "smoke: $*" >&2
    exit 1
}

# Prints "x y width height" of an X window.
geometry() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
    echo "$X $Y $WIDTH $HEIGHT"
}

# Waits up to $2 seconds for a visible window with the title whose width is
# within 40 px of $1; prints its id.
wait_for_window() {
    local wanted=$1 deadline=$((SECONDS + $2)) id x y w h
    while ((SECONDS < deadline)); do
        for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            read -r x y w h < <(geometry "$id") || continue
            if ((w > wanted - 40 && w < wanted + 40)); then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# Waits up to $2 seconds for a pop-up menu of the program (a visible window
# other than $1, the editing window); prints its id.
wait_for_menu() {
    local editor=$1 deadline=$((SECONDS + $2)) id
    while ((SECONDS < deadline)); do
        for id in $(xdotool search --onlyvisible --class kvarcella 2>/dev/null); do
            if [[ $id != "$editor" ]]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# Waits up to $2 seconds for process $1 to end; its status is in $exit_status.
wait_for_exit() {
    local pid=$1 deadline=$((SECONDS + $2))
    while ((SECONDS < deadline)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            exit_status=$?
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# The part that runs on the virtual display.
inside() {
    local program=$1 pid start editor x y w h terminal
    export QT_QPA_PLATFORM=xcb
    # Without a runtime folder Qt has an English note for the terminal. A
    # sanitizer build's list of suppressions used is not the program's.
    unset WAYLAND_DISPLAY XDG_RUNTIME_DIR
    export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

    terminal=$(mktemp)
    "$program" >"$terminal" 2>&1 &
    pid=$!
    trap 'kill "$pid" 2>/dev/null; rm -f "$terminal"' EXIT

    # The start window: 252 x 195 px, no title bar without a window manager.
    timeout 20 xdotool search --sync --onlyvisible --name "$title" >/dev/null ||
        fail "the start window did not appear"
    start=$(wait_for_window 252 10) || fail "no start window 252 px wide"
    read -r x y w h < <(geometry "$start") || fail "no geometry for the start window"
    echo "smoke: start window $w x $h at $x,$y"

    # "создать": 103 x 33 px at (72, 112) in the window.
    xdotool mousemove --sync $((x + 72 + 51)) $((y + 112 + 16)) click 1
    editor=$(wait_for_window 1016 15) || fail "the editing window did not appear"
    read -r x y w h < <(geometry "$editor") || fail "no geometry for the editing window"
    echo "smoke: editing window $w x $h at $x,$y"

    # "Кроссворд" is the first title of the menu bar; "Выход" is its last item,
    # which Up selects in a menu opened by the mouse.
    local attempt
    for attempt in 1 2 3; do
        xdotool mousemove --sync $((x + 25)) $((y + 10)) click 1
        if wait_for_menu "$editor" 10 >/dev/null; then
            xdotool key Up
            sleep 0.2
            xdotool key Return
            if wait_for_exit "$pid" 10; then
                trap - EXIT
                echo "smoke: the program ended with status $exit_status"
                if [[ -s $terminal ]]; then
                    echo "smoke: the program wrote on the terminal:" >&2
                    cat "$terminal" >&2
                    rm -f "$terminal"
                    return 1
                fi
                rm -f "$terminal"
                return "$exit_status"
            fi
        fi
        echo "smoke: still running after attempt $attempt" >&2
        xdotool key Escape
        sleep 0.5
    done
    fail "\"Выход\" did not end the program"
}

if [[ ${1:-} == --inside ]]; then
    inside "$2"
    exit $?
fi

program=${1:?usage: smoke.sh path/to/kvarcella}
[[ -x $program ]] || fail "not an executable: $program"
for tool in xvfb-run xdotool xauth timeout; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

# With job control the background job gets a process group of its own, which
# xvfb-run, Xvfb and the program share, so a hang is cleared up as a whole.
set -m
xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten tcp' bash "$0" --inside "$program" &
group=$!
set +m
if ! wait_for_exit "$group" 100; then
    kill -TERM -- "-$group" 2>/dev/null
    sleep 1
    kill -KILL -- "-$group" 2>/dev/null
    wait "$group" 2>/dev/null
    fail "timed out"
fi
exit "$exit_status"
