#!/usr/bin/env bash
# Downloads against a distant server: the sample service answers each image after 150 ms (its
# results pages at once, every connection closed after one answer). One search of 3 pages x 28
# JPEGs through quenby-cli.exe under Wine with --parallel 1 and with --parallel 8, against one
# curl process fetching the same 84 files 8 at a time. Prints the times, the ratios and the
# program's peak memory; over plain HTTP, then with the service on TLS and curl trusting the
# same test authority. Asserts nothing.
#   bench/latency.sh WIN_BUILD NATIVE_BUILD   (run by scripts/bench.sh)
set -euo pipefail
win=$1 native=$2
cli=$win/bin/quenby-cli.exe
svc=$native/tools/sample-service
pages=3 latency=150
now() { date +%s.%N; }
"$QUENBY_WINE" "$cli" --help >/dev/null  # Wine's start-up is not what is measured

# measure LABEL [SERVICE OPTIONS...]: both searches and curl, against a service of their own.
measure() {
    local label=$1 work
    shift
    work=$(mktemp -d)
    "$svc" --pages $pages --per-page 28 --image-kb 50 --latency-ms $latency "$@" >"$work/service" &
    local svcpid=$!
    for _ in $(seq 100); do [ -s "$work/service" ] && break; sleep 0.1; done
    local base secs count peak
    base=$(head -1 "$work/service")
    # run_cli N: one search with --parallel N; sets secs, count and peak (KB).
    run_cli() {
        rm -rf "$work/cli$1"
        mkdir "$work/cli$1"
        local t0 t1
        t0=$(now)
        /usr/bin/time -f %M -o "$work/peak$1" "$QUENBY_WINE" "$cli" --service "$base" --folder "Z:$work/cli$1" \
            --max $((pages * 28)) --empty-pages 1 --parallel "$1" --quiet latency >"$work/lines$1" || true
        t1=$(now)
        secs=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
        count=$(wc -l <"$work/lines$1")
        peak=$(cat "$work/peak$1")
    }
    run_cli 1
    local secs1=$secs count1=$count peak1=$peak
    run_cli 8
    local secs8=$secs count8=$count peak8=$peak

    local i=0 fetched t0 t1
    cut -f3 "$work/lines1" | tr -d '\r' | while read -r url; do
        i=$((i + 1))
        printf 'url = "%s"\noutput = "%s/curl/%d.jpg"\n' "$url" "$work" "$i"
    done >"$work/curl.conf"
    fetched=$(grep -c '^url' "$work/curl.conf" || true)
    mkdir "$work/curl"
    t0=$(now)
    curl -s --no-progress-meter --no-keepalive -H 'Connection: close' --cacert "$win/testca/ca.pem" \
        --parallel --parallel-max 8 --parallel-immediate --config "$work/curl.conf"
    t1=$(now)

    echo "-- $label"
    awk -v s1="$secs1" -v n1="$count1" -v p1="$peak1" -v s8="$secs8" -v n8="$count8" -v p8="$peak8" \
        -v k="$t0" -v k1="$t1" -v m="$fetched" -v pages=$pages -v lat=$latency 'BEGIN {
        curl = k1 - k
        printf "image latency %d ms, %d pages\n", lat, pages
        printf "quenby-cli --parallel 1: %d images in %.2f s, peak memory %.1f MB\n", n1, s1, p1 / 1024
        printf "quenby-cli --parallel 8: %d images in %.2f s, peak memory %.1f MB\n", n8, s8, p8 / 1024
        printf "curl --parallel-max 8:   %d images in %.2f s\n", m, curl
        printf "ratio cli1 / cli8: %.2f\n", (s8 > 0 ? s1 / s8 : 0)
        printf "ratio cli8 / curl-parallel: %.2f (less %d x 100 ms: %.2f)\n", (curl > 0 ? s8 / curl : 0), pages, \
            (curl > 0 ? (s8 - pages * 0.1) / curl : 0)
    }'
    kill $svcpid 2>/dev/null
    rm -rf "$work"
}
measure "plain HTTP"
measure "HTTPS (the service on TLS)" --tls "$win/testca"
