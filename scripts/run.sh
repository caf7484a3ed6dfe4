#!/usr/bin/env bash
# Builds Quenby.exe and starts it under Wine on this display.
set -euo pipefail
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
exec "$QUENBY_WINE" "$win/bin/Quenby.exe" "$@"
