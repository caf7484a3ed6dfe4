# Sourced by scripts/run.sh --demo and tools/screenshot.sh: starts the sample search service
# on 127.0.0.1 and prepares a demo folder holding a copy of Quenby.exe and a "Quenby.ini" that
# points the program at that service (the real settings file beside build/win/bin stays alone).
#   quenby_demo_start ROOT WINBUILD   sets QUENBY_DEMO_EXE and QUENBY_DEMO_PID
quenby_demo_start() {
    local root=$1 win=$2
    local native=$root/build/native
    cmake -S "$root" -B "$native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$native" -j"$(nproc)" --target sample-service >/dev/null
    local demo=$win/demo
    mkdir -p "$demo/images"
    cp "$win/bin/Quenby.exe" "$demo/Quenby.exe"
    local out=$demo/service.out
    : >"$out"
    "$native/tools/sample-service" --pages 2 --per-page 28 >"$out" 2>&1 &
    QUENBY_DEMO_PID=$!
    local base=""
    for _ in $(seq 50); do
        base=$(head -n1 "$out")
        [ -n "$base" ] && break
        sleep 0.1
    done
    [ -n "$base" ] || { echo "the sample service did not start" >&2; return 1; }
    # Wine sees the Linux file system as drive Z:.
    local images
    images="Z:$(echo "$demo/images/" | tr / '\\')"
    printf '[SearchStrings]\r\n0=red car\r\n[Preferences]\r\nSearchService=%s\r\nSavePath=%s\r\nMaxFileCount=56\r\n' \
        "$base" "$images" >"$demo/Quenby.ini"
    QUENBY_DEMO_EXE=$demo/Quenby.exe
    echo "Sample search service at $base; images go to $demo/images"
}
