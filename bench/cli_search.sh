#!/usr/bin/env bash
# One search of 10 pages x 28 JPEGs of about 50 KB from the sample service through
# quenby-cli.exe under Wine, against a plain sequential curl loop fetching the same 280 files.
# Prints both times, images per second, the program's peak memory and the ratio after taking
# off the job's pause of 100 ms per page. Asserts nothing.
#   bench/cli_search.sh WIN_BUILD NATIVE_BUILD   (run by scripts/bench.sh)
set -euo pipefail
win=$1 native=$2
cli=$win/bin/quenby-cli.exe
svc=$native/tools/sample-service
pages=10
work=$(mktemp -d)
"$svc" --pages $pages --per-page 28 --image-kb 50 >"$work/service" &
svcpid=$!
trap 'kill $svcpid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/service" ] && break; sleep 0.1; done
base=$(head -1 "$work/service")
mkdir "$work/cli" "$work/curl"
now() { date +%s.%N; }

"$QUENBY_WINE" "$cli" --help >/dev/null  # Wine's start-up is not what is measured
t0=$(now)
/usr/bin/time -f %M -o "$work/peak" "$QUENBY_WINE" "$cli" --service "$base" --folder "Z:$work/cli" \
    --max $((pages * 28)) --quiet bench >"$work/lines" || true
t1=$(now)
count=$(wc -l <"$work/lines")
cut -f3 "$work/lines" | tr -d '\r' >"$work/urls"

t2=$(now)
i=0
while read -r url; do
    i=$((i + 1))
    curl -s -o "$work/curl/$i.jpg" "$url"
done <"$work/urls"
t3=$(now)

bytes=$(du -sb "$work/cli" | cut -f1)
awk -v c="$t0" -v c1="$t1" -v k="$t2" -v k1="$t3" -v n="$count" -v m="$i" -v peak="$(cat "$work/peak")" \
    -v pages=$pages -v bytes="$bytes" 'BEGIN {
    cli = c1 - c; curl = k1 - k; net = cli - pages * 0.1
    printf "quenby-cli: %d images (%.1f MB) in %.2f s, %.1f images/s, peak memory %.1f MB\n", n, bytes / 1048576, cli, n / cli, peak / 1024
    printf "curl loop:  %d images in %.2f s, %.1f images/s\n", m, curl, m / curl
    printf "ratio (quenby-cli less %d x 100 ms) / curl: %.2f (target 2 or less)\n", pages, net / curl
}'
