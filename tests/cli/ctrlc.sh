#!/usr/bin/env bash
# Ctrl+C in a file of keywords, as the console delivers it (Wine turns the terminal's SIGINT
# into the console's Ctrl+C): the search under way stops, the others are skipped, each says so.
#   tests/cli/ctrlc.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
export QUENBY_BLACKBOX_DRIVER=null
. "$root/tools/blackbox-env.sh"
blackbox_start "$root" "$build" ctrlc
blackbox_service --pages 3 --per-page 5 --image-kb 5 --image-ms 400
[ -n "$service" ] || { echo "no sample service: build the native tree first" >&2; exit 77; }
cp "$build/bin/quenby-cli.exe" "$work/"
printf 'one\ntwo\nthree\n' >"$work/keywords.txt"

"$QUENBY_WINE" "$work/quenby-cli.exe" --service "$service" --folder "$(winpath "$work/images")" --max 15 \
    --keywords-file "$(winpath "$work/keywords.txt")" >"$work/out" 2>"$work/err" &
cli=$!
for _ in $(seq 300); do grep -q 'Downed: 2 images' "$work/err" && break; sleep 0.1; done
grep -q 'Downed: 2 images' "$work/err" || { cat "$work/err"; echo "the first search did not start" >&2; exit 1; }
pkill -INT -f "$work/quenby-cli.exe"
for _ in $(seq 150); do kill -0 $cli 2>/dev/null || break; sleep 0.1; done
kill -0 $cli 2>/dev/null && { echo "Ctrl+C did not end the run within 15 s" >&2; exit 1; }
rc=0
wait $cli || rc=$?
summary=$(grep '^Search ' "$work/err" | tr -d '\r')
echo "$summary"
grep -q '^Search 1 of 3 "one": [0-9]* images, stopped$' <<<"$summary" &&
    grep -qx 'Search 2 of 3 "two": skipped' <<<"$summary" && grep -qx 'Search 3 of 3 "three": skipped' <<<"$summary" ||
    { echo "the summary is not one stopped search and two skipped" >&2; exit 1; }
[ "$rc" = 1 ] || { echo "exit status $rc, 1 expected: searches were skipped" >&2; exit 1; }
[ "$(find "$work/images" -name '*.jpg' | wc -l)" -lt 15 ] || { echo "the first search was not stopped" >&2; exit 1; }
