#!/usr/bin/env bash
# One search of 28 large JPEGs (6000 x 4000 pixels, 24 megapixels each, a few MB apiece) from
# the sample service through quenby-cli.exe under Wine, with 1 and with 8 simultaneous
# downloads: the time, the milliseconds per image and the program's peak memory (the largest
# resident set of the Wine process). Asserts nothing.
#   bench/large_search.sh WIN_BUILD NATIVE_BUILD   (run by scripts/bench.sh)
set -euo pipefail
win=$1 native=$2
cli=$win/bin/quenby-cli.exe
work=$(mktemp -d)
"$native/tools/sample-service" --pages 1 --per-page 28 --images 2 --image-size 6000x4000 --image-kb 0 \
    >"$work/service" &
svcpid=$!
trap 'kill $svcpid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 600); do [ -s "$work/service" ] && break; sleep 0.1; done
base=$(head -1 "$work/service")
"$QUENBY_WINE" "$cli" --help >/dev/null  # Wine's start-up is not what is measured
for parallel in 1 8; do
    rm -rf "$work/out" && mkdir "$work/out"
    t0=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$QUENBY_WINE" "$cli" --service "$base" --folder "Z:$work/out" \
        --max 28 --max-size 100000000 --parallel $parallel --quiet large >"$work/lines" || true
    t1=$(date +%s.%N)
    awk -v t0="$t0" -v t1="$t1" -v n="$(wc -l <"$work/lines")" -v p=$parallel -v peak="$(cat "$work/peak")" \
        -v mb="$(du -sm "$work/out" | cut -f1)" 'BEGIN {
        printf "%d at once: %d images (%d MB) in %.2f s, %.0f ms per image, peak memory %.1f MB\n", p, n, mb, t1 - t0, n ? 1000 * (t1 - t0) / n : 0, peak / 1024
    }'
done
