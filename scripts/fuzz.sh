#!/usr/bin/env bash
# Fuzzes the crossword file reader for the given number of seconds (default 60).
# Fails when the fuzzer finds anything: a crash, a sanitizer report, a leak, a
# timeout, running out of memory, or a file that does not survive save and load.
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
# Only the fuzzer: the rest of the program adds build time and nothing here.
cmake --build --preset fuzz --target crosswordreaderfuzzer

fuzzer=build/fuzz/fuzz/crosswordreaderfuzzer
findings=build/fuzz/findings
rm -rf "$findings"
mkdir -p "$findings"

# The fuzzer adds what it learns to the first corpus folder; keep the committed
# seeds untouched.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp fuzz/corpus/* "$work/corpus/"

log=$work/fuzz.log
status=0
started=$(date +%s)
"$fuzzer" "$work/corpus" fuzz/corpus \
    -max_total_time="$duration" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || status=$?

elapsed=$(($(date +%s) - started))
runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
found=$(find "$findings" -type f | sort)

if ((status == 0)) && [[ -z $found ]]; then
    echo "fuzz: ${runs:-?} runs in ${elapsed:-?} s, no crash"
    exit 0
fi

tail -n 60 "$log" >&2
echo "fuzz: ${runs:-?} runs in ${elapsed:-?} s, FOUND a problem (exit $status):" \
    "${found:-no artifact written}" | tr '\n' ' ' >&2
echo >&2
echo "fuzz: rerun one with $fuzzer FILE" >&2
exit 1
