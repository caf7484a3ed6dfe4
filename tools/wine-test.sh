#!/usr/bin/env bash
# Runs one Windows test executable under Wine, headless, in the build tree's private prefix.
set -u
exe=$1; shift
build=${QUENBY_BUILD_DIR:?QUENBY_BUILD_DIR names the build tree}
. "$(dirname "$0")/wine-env.sh"
quenby_wine_prefix "$build" null
quenby_trust_test_ca "$build"
unset DISPLAY
# Wine starts helper processes (the desktop, COM's services) that outlive the test and would
# hold ctest's output pipe open: the test writes to a file instead, shown when it ends.
out=$(mktemp)
"$QUENBY_WINE" "$exe" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
