#!/usr/bin/env bash
# Wall time of whole kvarcella-tool runs (start-up included) on one crossword:
# median of N runs per command.
# Usage: bash bench/toolrun.sh build/default/src/tool/kvarcella-tool FILE.crs [N]
set -euo pipefail
tool=$1
crossword=$2
runs=${3:-21}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

median_ms() {
    local times=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.1f ms\n", $1 / 1000 }'
}

echo "pdf:   $(median_ms "$tool" pdf "$crossword" -o "$out/x.pdf")"
echo "ipuz:  $(median_ms "$tool" ipuz "$crossword" -o "$out/x.ipuz")"
# check exits 1 when it finds problems; only the time counts here.
echo "check: $(median_ms bash -c '"$0" check "$1" || true' "$tool" "$crossword")"
