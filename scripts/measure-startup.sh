#!/usr/bin/env bash
# Measures, under Xvfb, the time from starting an executable to its first
# window being visible, and the process's peak resident memory, for the
# program and for a bare Qt window built the same way.
#
#   bash scripts/measure-startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target kvarcella barewindow >/dev/null

display=:$((50 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Prints "milliseconds peak_kib" for one start of $1 waiting for a window titled $2.
measure_once() {
    local exe=$1 title=$2 start end pid peak
    start=$(date +%s%N)
    "$exe" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null; then echo "exited early" >&2; return 1; fi
        if (( ($(date +%s%N) - start) > 20000000000 )); then kill "$pid"; echo "timeout" >&2; return 1; fi
        sleep 0.002
    done
    end=$(date +%s%N)
    sleep 0.5 # let it settle, then read the high-water mark
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "$(( (end - start) / 1000000 )) $peak"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

report() {
    local name=$1 exe=$2 title=$3 times=() peaks=() line
    measure_once "$exe" "$title" >/dev/null # warm the file cache
    for _ in $(seq "$runs"); do
        line=$(measure_once "$exe" "$title")
        times+=("${line% *}")
        peaks+=("${line#* }")
    done
    printf '%-12s start to visible window: median %s ms; peak memory: median %s MiB (%s runs)\n' \
        "$name" "$(printf '%s\n' "${times[@]}" | median)" \
        "$(printf '%s\n' "${peaks[@]}" | median | awk '{printf "%.1f", $1 / 1024}')" "$runs"
}

report kvarcella build/default/src/shell/kvarcella "Кварцелла 2.0"
report "bare Qt" build/default/bench/barewindow "bare window"
