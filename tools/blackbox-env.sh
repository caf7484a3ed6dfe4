# Sourced by the black-box scripts, which run the real Quenby.exe driven from outside.
#   blackbox_start ROOT BUILD NAME [PREFIX]
#                                    a work folder ($work, removed at exit), a display
#                                    (a private Xvfb unless DISPLAY is set, or none with
#                                    QUENBY_BLACKBOX_DRIVER=null; its screen is
#                                    $QUENBY_SCREEN, 1280x800x24 unless set) and the Wine prefix (the
#                                    build tree's own, or its folder PREFIX); sets $exe (the
#                                    build's Quenby.exe, or $QUENBY_EXE: another copy, such as
#                                    one unpacked from the release zip), $drive and $work
#   blackbox_service ARGS...         starts the sample service with ARGS; sets $service to its
#                                    address, or leaves it empty when it is not built or fails
#   winpath PATH                     the path as the program sees it (drive Z:)
blackbox_pids=()
blackbox_own_x=

blackbox_cleanup() {
    # Wine's desktop process of the X prefix would lose its private display: end it first.
    [ -n "$blackbox_own_x" ] && "${QUENBY_WINESERVER:-true}" -k >/dev/null 2>&1 || true
    for p in "${blackbox_pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}

# A private Xvfb. It picks a free display number itself and says which (-displayfd), so runs
# side by side never take the same one.
blackbox_display() {
    local n=
    Xvfb -displayfd 3 -screen 0 "${QUENBY_SCREEN:-1280x800x24}" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    blackbox_pids+=($!)
    for _ in $(seq 100); do
        n=$(head -n1 "$work/display")
        [ -n "$n" ] && break
        sleep 0.1
    done
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; exit 2; }
    blackbox_own_x=:$n
    export DISPLAY=:$n
}

blackbox_start() {
    local root=$1 build=$2 name=$3 prefix=${4:-} driver=${QUENBY_BLACKBOX_DRIVER:-x11}
    exe=${QUENBY_EXE:-$build/bin/Quenby.exe}
    drive=$build/bin/quenby-drive.exe
    [ -x "$exe" ] && [ -x "$drive" ] || { echo "build Quenby and quenby-drive first" >&2; exit 2; }
    work=$(mktemp -d "/tmp/quenby-$name.XXXXXX")
    trap blackbox_cleanup EXIT
    [ "$driver" = x11 ] && [ -z "${DISPLAY:-}" ] && blackbox_display
    [ "$driver" = null ] && unset DISPLAY
    . "$root/tools/wine-env.sh"
    quenby_wine_prefix "$build" "$driver" "$prefix"
    mkdir -p "$work/images"
    cp "$exe" "$work/Quenby.exe"
}

blackbox_service() {
    local sample=${QUENBY_SAMPLE_SERVICE:-$root/build/native/tools/sample-service} first
    local out=$work/service${#blackbox_pids[@]}.out  # one file for each service started
    service=
    [ -x "$sample" ] || return 0
    "$sample" "$@" >"$out" 2>&1 &
    blackbox_pids+=($!)
    for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
    first=$(head -n1 "$out")
    case "$first" in http://127.0.0.1:* | https://127.0.0.1:*) service=${first%/} ;; esac
}

winpath() { echo "Z:${1//\//\\}"; }
