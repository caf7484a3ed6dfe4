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
