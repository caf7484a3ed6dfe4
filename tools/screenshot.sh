#!/usr/bin/env bash
# A PNG screenshot of the main window after a search against the sample service, taken under
# a private Xvfb display with Wine's X11 driver (its own prefix).
#   tools/screenshot.sh [OUT.png]     default docs/screenshot.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${1:-$root/docs/screenshot.png}
win=$root/build/win
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" >/dev/null
cmake --build "$win" -j"$(nproc)" --target Quenby demo-driver >/dev/null
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
. tools/wine-env.sh
quenby_wine_prefix "$win" x11
. tools/demo-env.sh
quenby_demo_start "$root" "$win"
cleanup() {
    "$QUENBY_WINESERVER" -k >/dev/null 2>&1 || true
    kill "$QUENBY_DEMO_PID" "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
"$QUENBY_WINE" "$QUENBY_DEMO_EXE" >/dev/null 2>&1 &
"$QUENBY_WINE" "$win/tools/demo-driver.exe" "red car" 6
mkdir -p "$(dirname "$out")"
# The window sits at its designed place (203, 118); cut the screen to it and a margin.
import -window root -crop 560x470+190+105 +repage "$out"
echo "Screenshot: $out"
