#!/usr/bin/env bash
# Runs every libFuzzer target at depth: until it has made RUNS executions (default 10^6) or
# spent SECONDS (default 600), whichever comes first, over a copy of its corpus; prints the
# executions, coverage and crashes of each. The test command keeps its short runs.
#   scripts/fuzz.sh [RUNS [SECONDS]]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-1000000}
seconds=${2:-600}
native=$root/build/native
bash scripts/deps.sh >/dev/null
cmake -S . -B "$native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" -j"$(nproc)" >/dev/null

work=$native/fuzz-deep
mkdir -p "$work"
status=0
printf '%-26s %12s %8s %8s %8s\n' target executions seconds cov crashes
while read -r name corpus; do
    exe=$native/fuzz/$name
    [ -x "$exe" ] || continue
    mkdir -p "$work/$name.corpus" "$work/$name.crashes"
    log=$work/$name.log
    start=$(date +%s)
    crashes=0
    ASAN_OPTIONS=detect_leaks=1 "$exe" -runs="$runs" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -artifact_prefix="$work/$name.crashes/" "$work/$name.corpus" "$corpus" >"$log" 2>&1 || crashes=1
    elapsed=$(( $(date +%s) - start ))
    done_line=$(grep -E '^#[0-9]+' "$log" | tail -n1 || true)
    execs=$(echo "$done_line" | sed -E 's/^#([0-9]+).*/\1/')
    cov=$(echo "$done_line" | sed -nE 's/.*cov: ([0-9]+).*/\1/p')
    found=$(find "$work/$name.crashes" -type f | wc -l)
    [ "$crashes" = 1 ] && [ "$found" = 0 ] && found=1
    [ "$found" = 0 ] || status=1
    printf '%-26s %12s %8s %8s %8s\n' "$name" "${execs:-?}" "$elapsed" "${cov:-?}" "$found"
done < <(ctest --test-dir "$native" -N -V -L fuzz | sed -nE "s/.*exec '([^']+)' .* '[^']+' '([^']+)'.*/\1 \2/p" |
         while read -r exe corpus; do echo "$(basename "$exe") $corpus"; done)
exit $status
