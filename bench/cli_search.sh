#!/usr/bin/env bash
# One search of 10 pages x 28 JPEGs of about 50 KB from the sample service through
# quenby-cli.exe under Wine, against a floor for the same work: ONE curl process fetching the
# same 280 files one after another, each over a new connection, then a thumbnail of each file
# in one native process (libjpeg with DCT scaling, bench/thumb_floor.cpp). Prints both times,
# the milliseconds per image, the program's peak memory and the ratio after taking off the
# job's pause of 100 ms per page, and (from a quenby-cli that has --timings) where the time of
# an image went, phase by phase. Runs twice: over plain HTTP, then with the service on TLS and
# curl trusting the same test authority (tests/support/test-ca.sh). Asserts nothing.
#   bench/cli_search.sh WIN_BUILD NATIVE_BUILD   (run by scripts/bench.sh)
set -euo pipefail
win=$1 native=$2
cli=$win/bin/quenby-cli.exe
svc=$native/tools/sample-service
thumbs=$native/bench/thumb_floor
pages=10
now() { date +%s.%N; }

# measure LABEL [SERVICE OPTIONS...]: one search and its floor, against a service of its own.
measure() {
    local label=$1 work
    shift
    work=$(mktemp -d)
    "$svc" --pages $pages --per-page 28 --image-kb 50 "$@" >"$work/service" &
    local svcpid=$!
    for _ in $(seq 100); do [ -s "$work/service" ] && break; sleep 0.1; done
    local base
    base=$(head -1 "$work/service")
    mkdir "$work/cli" "$work/curl"

    local timings=() t0 t1 t2 t3 t4
    "$QUENBY_WINE" "$cli" --help | grep -q -- --timings && timings=(--timings)  # Wine's start-up is not measured
    t0=$(now)
    /usr/bin/time -f %M -o "$work/peak" "$QUENBY_WINE" "$cli" --service "$base" --folder "Z:$work/cli" \
        --max $((pages * 28)) --quiet "${timings[@]}" bench >"$work/lines" 2>"$work/stderr" || true
    t1=$(now)
    local count fetched
    count=$(wc -l <"$work/lines")

    # The same addresses, each to a file of its own, in one curl configuration.
    local i=0
    cut -f3 "$work/lines" | tr -d '\r' | while read -r url; do
        i=$((i + 1))
        printf 'url = "%s"\noutput = "%s/curl/%d.jpg"\n' "$url" "$work" "$i"
    done >"$work/curl.conf"
    fetched=$(grep -c '^url' "$work/curl.conf" || true)

    t2=$(now)
    curl -s --no-progress-meter --no-keepalive -H 'Connection: close' --cacert "$win/testca/ca.pem" \
        --config "$work/curl.conf"
    t3=$(now)
    "$thumbs" "$work"/curl/*.jpg >"$work/thumbs"
    t4=$(now)

    local bytes
    bytes=$(du -sb "$work/cli" | cut -f1)
    echo "-- $label"
    awk -v c="$t0" -v c1="$t1" -v k="$t2" -v k1="$t3" -v k2="$t4" -v n="$count" -v m="$fetched" \
        -v peak="$(cat "$work/peak")" -v pages=$pages -v bytes="$bytes" -v thumbs="$(cat "$work/thumbs")" 'BEGIN {
        cli = c1 - c; curl = k1 - k; thumb = k2 - k1; floor = k2 - k; net = cli - pages * 0.1
        printf "quenby-cli: %d images (%.1f MB) in %.2f s, %.1f ms per image, peak memory %.1f MB\n", n, bytes / 1048576, cli, n ? 1000 * cli / n : 0, peak / 1024
        printf "floor:      %d images in %.2f s (curl %.2f s, thumbnails %.2f s: %s), %.1f ms per image\n", m, floor, curl, thumb, thumbs, m ? 1000 * floor / m : 0
        printf "ratio (quenby-cli less %d x 100 ms) / floor: %.2f\n", pages, (floor > 0 ? net / floor : 0)
    }'
    grep '^timings:' "$work/stderr" | tr -d '\r' || true
    kill $svcpid 2>/dev/null
    rm -rf "$work"
}
measure "plain HTTP"
measure "HTTPS (the service on TLS)" --tls "$win/testca"
