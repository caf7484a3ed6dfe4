#!/usr/bin/env bash
# Black-box run of the real program: Quenby.exe starts beside a prepared "Quenby.ini", searches
# for new keywords against a local service (the sample service when it is built, else a closed
# local port, so nothing leaves the machine), is closed, and the settings file must then hold
# the new keyword history and every key.
#   tools/blackbox-settings.sh [BUILD_DIR]
# By default it runs on an X display (a private Xvfb when DISPLAY is not set);
# QUENBY_BLACKBOX_DRIVER=null runs it on Wine's null display driver instead (used by the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
. "$root/tools/blackbox-env.sh"
blackbox_start "$root" "$build" blackbox

# The search service: the sample service when it is built, else a port nobody listens on.
blackbox_service --pages 1 --per-page 3 --image-kb 5
service=${service:-http://127.0.0.1:9}

printf '%s\r\n' '[SearchStrings]' '0=cats' '1=' '2=dogs' '[Preferences]' \
    "SavePath=$(winpath "$work/images")" 'MaxFileCount=3' 'SaveOnExitAsk=0' 'WindowTop=40' \
    'SafeSearchT=Strict' "SearchService=$service" 'Extra=kept' >"$work/Quenby.ini"

"$QUENBY_WINE" "$drive" start "$(winpath "$work/Quenby.exe")" wait-window 30000 keywords "red car" enter \
    until-box "Finished all downloads..." 90000 close wait-gone 15000

ini=$(tr -d '\r' <"$work/Quenby.ini")
fail=0
expect() { grep -qxF -- "$1" <<<"$ini" || { echo "missing line: $1" >&2; fail=1; }; }
expect '[SearchStrings]'
expect '0=red car'
expect '1=cats'
expect '2=dogs'
for i in 3 4 5 6 7 8 9 10 11; do expect "$i="; done
expect '[Preferences]'
if [ "$service" != http://127.0.0.1:9 ]; then
    n=$(find "$work/images" -type f | wc -l)
    [ "$n" -gt 0 ] || { echo "the search downloaded nothing from $service" >&2; fail=1; }
fi
expect "SavePath=$(winpath "$work/images")\\"
expect 'WindowTop=40'
expect 'MaxFileCount=3'
expect 'SaveOnExitAsk=0'
expect 'SafeSearchT=Strict'
expect "SearchService=$service"
expect 'Extra=kept'
for k in WindowLeft WindowWidth WindowHeight ShowThumbsList MinFilesize MaxFilesize ShowMainMenu; do
    grep -q "^$k=-\?[0-9]\+$" <<<"$ini" || { echo "missing key: $k" >&2; fail=1; }
done
if [ $fail -ne 0 ]; then
    echo "--- Quenby.ini after the run:" >&2
    echo "$ini" >&2
    exit 1
fi
echo "blackbox-settings: ok ($service)"
