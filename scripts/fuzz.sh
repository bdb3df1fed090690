#!/usr/bin/env bash
# Fuzzes the crossword file reader, then the companion tool's strict reader and
# word lists, for the given number of seconds in all (default 60). Fails when a
# fuzzer finds anything: a crash, a sanitizer report, a leak, a timeout, running
# out of memory, a file that does not survive save and load, or a file the tool
# accepts that the rest of it cannot rely on.
# Findings are kept in build/fuzz/findings/ so they can be added to fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

duration=${1:-60}
if ! [[ $duration =~ ^[0-9]+$ ]] || ((duration == 0)); then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

bash scripts/setup.sh
cmake --preset fuzz
# Only the fuzzers: the rest of the program adds build time and nothing here.
cmake --build --preset fuzz --target crosswordreaderfuzzer toolinputfuzzer

findings=build/fuzz/findings
rm -rf "$findings"
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The time is shared: the windows' crossword reader, then the tool's strict
# reader and word lists, which also start from the word lists of the tests.
half=$(((duration + 1) / 2))
failed=0
for name in crosswordreaderfuzzer toolinputfuzzer; do
    fuzzer=build/fuzz/fuzz/$name
    # The fuzzer adds what it learns to the first corpus folder; keep the
    # committed seeds untouched.
    mkdir "$work/$name"
    cp fuzz/corpus/* "$work/$name/"
    [[ $name == toolinputfuzzer ]] && cp tests/maker/words*.txt "$work/$name/"
    log=$work/$name.log
    status=0
    started=$(date +%s)
    "$fuzzer" "$work/$name" \
        -max_total_time="$half" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$name-" -print_final_stats=1 >"$log" 2>&1 || status=$?
    elapsed=$(($(date +%s) - started))
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    found=$(find "$findings" -type f -name "$name-*" | sort)
    if ((status == 0)) && [[ -z $found ]]; then
        echo "fuzz: $name: ${runs:-?} runs in ${elapsed:-?} s, no crash"
        continue
    fi
    tail -n 60 "$log" >&2
    echo "fuzz: $name: ${runs:-?} runs in ${elapsed:-?} s, FOUND a problem (exit $status):" \
        "${found:-no artifact written}" | tr '\n' ' ' >&2
    echo >&2
    echo "fuzz: rerun one with $fuzzer FILE" >&2
    failed=1
done
exit $failed
