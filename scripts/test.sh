#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively (clang, ASan, UBSan,
# libFuzzer for a bounded number of runs), then the Windows build under Wine, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh

jobs=$(nproc)
native=$root/build/native
win=$root/build/win

cmake -S . -B "$native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" -j"$jobs"
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$win" -j"$jobs"

. tools/wine-env.sh
quenby_wine_prefix "$win" null
quenby_trust_test_ca "$win"
release_pid=
trap 'WINEPREFIX="$win/wineprefix" "$QUENBY_WINESERVER" -k >/dev/null 2>&1 || true; [ -z "$release_pid" ] || kill $release_pid 2>/dev/null || true' EXIT

status=0
echo "== source format =="
bash scripts/format.sh --check || status=1
echo "== native tests (ASan, UBSan, fuzzers) =="
ctest --test-dir "$native" --output-on-failure -j"$jobs" || status=1
echo "== Windows tests under Wine =="
# All window tests share one Wine desktop and wineserver, each program works in a folder of its
# own; each test runs once (a flaky test is a fault to mend, not to retry). Meanwhile the release
# check's two Release builds run at the lowest priority, on the CPU the tests leave idle.
nice -n 19 bash scripts/release.sh --check builds >"$root/build/release-check.log" 2>&1 &
release_pid=$!
ctest --test-dir "$win" --output-on-failure -j"$jobs" || status=1
echo "== release: two builds at two paths, the same bytes; the unpacked zip runs =="
start=$SECONDS
wait $release_pid || status=1
release_pid=
cat "$root/build/release-check.log"
bash scripts/release.sh --check unpacked || status=1
echo "release check: $((SECONDS - start)) s after the Windows tests"
exit $status
