#!/usr/bin/env bash
# Builds Quenby.exe and starts it under Wine on this display.
#   scripts/run.sh --demo   the same against the bundled sample search service on 127.0.0.1:
#                           type keywords and press Search, no internet needed
set -euo pipefail
demo=0
if [ "${1:-}" = --demo ]; then
    demo=1
    shift
fi
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
win=$root/build/win
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$win" -j"$(nproc)" --target Quenby
if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<MSG
Built $win/bin/Quenby.exe, but there is no display to show it on.
Start a virtual one and run this command again on it, for example:
    Xvfb :99 -screen 0 1280x800x24 &  DISPLAY=:99 $0
or, with a desktop, from a terminal of that desktop.
MSG
    exit 2
fi
. tools/wine-env.sh
quenby_wine_prefix "$win" x11
if [ $demo = 1 ]; then
    . tools/demo-env.sh
    quenby_demo_start "$root" "$win"
    trap 'kill $QUENBY_DEMO_PID 2>/dev/null || true' EXIT
    "$QUENBY_WINE" "$QUENBY_DEMO_EXE" "$@"
    exit
fi
exec "$QUENBY_WINE" "$win/bin/Quenby.exe" "$@"
