# Sourced by the scripts that run Windows binaries: one private Wine prefix per build tree,
# created once, quiet, with no Mono or Gecko prompts. The test prefix uses Wine's null display
# driver so windows work headless; the prefix for running the program on a display does not.
#   quenby_wine_prefix BUILD_DIR [null|x11 [NAME]]   NAME: the prefix's folder in BUILD_DIR
quenby_wine_prefix() {
    local build=$1 driver=${2:-null}
    local name=wineprefix
    [ "$driver" = x11 ] && name=wineprefix-x11
    [ -n "${3:-}" ] && name=$3
    export WINEPREFIX="$build/$name" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export QUENBY_WINE=/usr/lib/wine/wine64 QUENBY_WINESERVER=/usr/lib/wine/wineserver
    mkdir -p "$build"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.quenby-ready" ]; then
            rm -rf "$WINEPREFIX"
            if [ "$driver" = null ]; then
                DISPLAY= "$QUENBY_WINE" wineboot -i >/dev/null 2>&1 9>&- || true
                "$QUENBY_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 9>&-
            else
                "$QUENBY_WINE" wineboot -i >/dev/null 2>&1 9>&- || true
            fi
            "$QUENBY_WINESERVER" -w 9>&-
            touch "$WINEPREFIX/.quenby-ready"
        fi
        # Nothing started here may inherit the lock (fd 9), or the next test would wait forever.
        # One persistent wineserver for the whole run keeps each start at a few milliseconds.
        "$QUENBY_WINESERVER" -p >/dev/null 2>&1 </dev/null 9>&- || true
    ) 9>"$build/$name.lock"
}

# The build tree's test certificate authority (BUILD/testca, made by the build), trusted in the
# current prefix's root store, once per authority. Only the test scripts call this, for their
# own prefixes: the prefix the program is run in by hand never trusts it.
#   quenby_trust_test_ca BUILD_DIR
quenby_trust_test_ca() {
    local build=$1 ca=$1/testca/ca.pem tool=$1/bin/quenby-trust-ca.exe
    [ -f "$ca" ] && [ -f "$tool" ] || return 0
    (
        flock 9
        local sum
        sum=$(sha256sum "$ca" | cut -c1-64)
        [ "$(cat "$WINEPREFIX/.quenby-test-ca" 2>/dev/null)" = "$sum" ] && exit 0
        "$QUENBY_WINE" "$tool" "Z:${ca//\//\\}" </dev/null 9>&- && echo "$sum" >"$WINEPREFIX/.quenby-test-ca"
    ) 9>"$WINEPREFIX.ca.lock"
}
