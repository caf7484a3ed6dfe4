#!/usr/bin/env bash
# Builds the benchmarks and runs them; they print figures and ratios and assert nothing.
#   scripts/bench.sh [NAME...]   (default: every benchmark)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
win=$root/build/bench-win   # Release, apart from the test build
native=$root/build/native
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j"$(nproc)"
# The native build brings the sample service and the benchmarks of the portable code.
cmake -S . -B "$native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$native" -j"$(nproc)"
. tools/wine-env.sh
quenby_wine_prefix "$win" null
quenby_trust_test_ca "$win"  # the scripted benchmarks also run over TLS, with the test authority
trap 'WINEPREFIX="$win/wineprefix" "$QUENBY_WINESERVER" -k >/dev/null 2>&1 || true' EXIT
want=("$@")
selected() { [ ${#want[@]} -eq 0 ] && return 0; local n; for n in "${want[@]}"; do [ "$n" = "$1" ] && return 0; done; return 1; }

# Windows benchmarks: every bench_*.exe in the Windows build, run under Wine.
for exe in "$win"/bench/bench_*.exe; do
    [ -e "$exe" ] || continue
    name=$(basename "$exe" .exe)
    selected "$name" || continue
    echo "== $name"
    (unset DISPLAY; "$QUENBY_WINE" "$exe")
done
# Native benchmarks: every nbench_* in the native build.
for exe in "$native"/bench/nbench_*; do
    [ -x "$exe" ] || continue
    name=$(basename "$exe")
    selected "$name" || continue
    echo "== $name"
    "$exe"
done
# Scripted benchmarks that need both builds (bench/*.sh).
for script in bench/*.sh; do
    [ -e "$script" ] || continue
    name=$(basename "$script" .sh)
    selected "$name" || continue
    echo "== $name"
    bash "$script" "$win" "$native"
done
