#!/usr/bin/env bash
# Makes the Windows release of the last commit: Quenby.exe and quenby-cli.exe built (Release)
# from a fresh export of HEAD in build/release, packed with the read-me and the licences into
# dist/Quenby-VERSION-win64.zip, and dist/SHA256SUMS. The bytes depend on the commit and the
# toolchain alone, not on the path, the time or the machine: the compiler, linker and zip get no
# paths or clocks (cmake/quenby.cmake), file times are the last commit's (SOURCE_DATE_EPOCH),
# files go into the zip in a fixed order with fixed attributes.
#   scripts/release.sh                 refuses while the tree has uncommitted changes
#   scripts/release.sh --allow-dirty   releases HEAD anyway (the changes are left out)
#   scripts/release.sh --check [builds|unpacked]
#       the test command's check, both parts unless one is named: builds: the working tree
#       built and packed twice, from two copies at different paths, must give the same bytes;
#       unpacked: that zip, unpacked into an empty folder, runs a console search and the desktop
#       suite's first search (it needs the test builds, build/native and build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=release
parts="builds unpacked"
case "${1:-}" in
"") ;;
--allow-dirty) mode=dirty ;;
--check)
    mode=check
    [ -n "${2:-}" ] && parts=$2
    ;;
*) echo "usage: scripts/release.sh [--allow-dirty | --check [builds|unpacked]]" >&2; exit 2 ;;
esac

deps=${QUENBY_DEPS:-/opt/quenby-deps}
jobs=$(nproc)

if [ $mode = release ] && [ -n "$(git status --porcelain)" ]; then
    cat >&2 <<MSG
release: the tree has uncommitted changes (git status below). A release is made of a commit:
commit or stash them, or run scripts/release.sh --allow-dirty to release HEAD without them.
MSG
    git status --short >&2
    exit 1
fi
bash scripts/deps.sh
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

# build_release SRC BUILD: the two executables of a Release build of the tree SRC.
build_release() {
    rm -rf "$2"
    cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$2" -j"$jobs" --target Quenby quenby-cli >/dev/null
}

# The numeric file version of the version resource (VS_FIXEDFILEINFO) of an executable.
exe_version() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    sys.exit("no version resource in " + sys.argv[1])
ms, ls = struct.unpack_from("<II", data, at + 8)
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
PY
}

# Text for Notepad: CR LF line ends.
crlf() { sed 's/\r$//; s/$/\r/' "$@"; }

notice() {
    local rule
    rule=$(printf '%*s' 78 '' | tr ' ' '#')
    printf '\n\n%s\n%s\n%s\n\n' "$rule" "$1" "$rule"
    cat "$2"
}

# The licences of what is linked into the executables, from the installed sources and packages
# they were built from.
third_party_notices() {
    local jpeg
    jpeg=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n1)
    [ -f "$jpeg/LICENSE.md" ] || { echo "release: no libjpeg-turbo source in $deps/src (scripts/deps.sh)" >&2; exit 1; }
    local crt=mingw-w64-x86-64-dev gcc=gcc-mingw-w64-x86-64-posix
    cat <<EOF
Quenby.exe and quenby-cli.exe are statically linked with the libraries below; their licences
and notices follow in full.

- libjpeg-turbo $(basename "$jpeg" | sed 's/^libjpeg-turbo-//'), the JPEG codec: the IJG License, the Modified (3-clause)
  BSD License and the zlib License. This software is based in part on the work of the
  Independent JPEG Group.
- The mingw-w64 runtime (C runtime start-up and helpers, winpthreads), from the Debian
  package $crt $(dpkg-query -W -f='${Version}' $crt): ZPL-2.1 and the other permissive
  licences listed in its copyright file.
- The GCC runtime libraries libgcc and libstdc++, from the Debian package
  $gcc $(dpkg-query -W -f='${Version}' $gcc): GPL-3.0 or later
  with the GCC Runtime Library Exception 3.1, which allows them in programs of any licence.
EOF
    notice "libjpeg-turbo: LICENSE.md" "$jpeg/LICENSE.md"
    notice "libjpeg-turbo: README.ijg" "$jpeg/README.ijg"
    notice "mingw-w64: /usr/share/doc/$crt/copyright" "/usr/share/doc/$crt/copyright"
    notice "GCC runtime libraries: /usr/share/doc/$gcc/copyright" "/usr/share/doc/$gcc/copyright"
}

# package SRC BUILD OUT: OUT/Quenby-VERSION-win64.zip and OUT/SHA256SUMS; sets $zip.
package() {
    local src=$1 build=$2 out=$3 stage=$2/stage version
    rm -rf "$stage" "$out"
    mkdir -p "$stage" "$out"
    cp "$build/bin/Quenby.exe" "$build/bin/quenby-cli.exe" "$stage/"
    version=$(exe_version "$stage/Quenby.exe")
    sed "s/@VERSION@/$version/g" "$src/docs/Quenby.txt" | crlf >"$stage/Quenby.txt"
    crlf "$src/LICENSE" >"$stage/LICENSE.txt"
    third_party_notices | crlf >"$stage/THIRD-PARTY-NOTICES.txt"
    chmod 644 "$stage"/*
    chmod 755 "$stage"/*.exe
    touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
    zip=$out/Quenby-$version-win64.zip
    # -X: no extra fields (owner, times beyond the DOS one); -D: no folder entries.
    (cd "$stage" && ls | sort | zip -X -D -9 -q "$zip" -@)
    (cd "$out" && sha256sum "$(basename "$zip")" >SHA256SUMS)
}

if [ $mode != check ]; then
    tree=$root/build/release
    rm -rf "$tree/src"
    mkdir -p "$tree/src"
    git archive --format=tar HEAD | tar -x -C "$tree/src"
    [ $mode = dirty ] && echo "release: the uncommitted changes are not in this release (HEAD $(git rev-parse --short HEAD))"
    build_release "$tree/src" "$tree/build"
    package "$tree/src" "$tree/build" "$root/dist"
    unzip -l "$zip"
    ls -l "$zip"
    cat "$root/dist/SHA256SUMS"
    exit 0
fi

# --check. Two copies of the working tree (what is committed and what is not) at paths of
# different names and lengths, each built at its own time.
check=$root/build/release-check
a=$check/a/quenby
b=$check/second-copy/elsewhere/q
copy_tree() {
    mkdir -p "$1"
    git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
        [ -e "$f" ] && printf '%s\0' "$f"
    done | tar --null -T - -cf - | tar -x -C "$1"
}

check_builds() {
    local t start status=0 f
    rm -rf "$check"
    for t in "$a" "$b"; do
        start=$SECONDS
        copy_tree "$t"
        build_release "$t" "$t-build"
        package "$t" "$t-build" "$t-dist"
        echo "release check: $t built and packed in $((SECONDS - start)) s"
    done
    for f in bin/Quenby.exe bin/quenby-cli.exe; do
        cmp "$a-build/$f" "$b-build/$f" || status=1
    done
    for f in "$a-dist"/*; do
        cmp "$f" "$b-dist/$(basename "$f")" || status=1
    done
    unzip -l "$a-dist"/*.zip
    if [ $status = 0 ]; then
        echo "release check: the same bytes from both copies: $(cat "$a-dist/SHA256SUMS")"
    else
        echo "release check: FAILED: the two builds differ" >&2
    fi
    return $status
}

# The console front end searches the sample service in the folder the zip was unpacked into;
# the desktop suite plays its first search with the unpacked program.
check_unpacked() {
    local win=$root/build/win sample=$root/build/native/tools/sample-service unpacked=$check/unpacked
    local zips=("$a-dist"/*.zip) status=0 service_pid start=$SECONDS
    [ -f "${zips[0]}" ] || { echo "release check: no zip: run scripts/release.sh --check builds first" >&2; return 1; }
    if [ ! -x "$sample" ] || [ ! -x "$win/bin/quenby-probe.exe" ]; then
        echo "release check: no test builds (build/native, build/win): the unpacked run is skipped"
        return 0
    fi
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    unzip -q "${zips[0]}" -d "$unpacked"
    echo "release check: unpacked into an empty folder: $(ls "$unpacked" | tr '\n' ' ')"
    . tools/wine-env.sh
    quenby_wine_prefix "$win" null
    "$sample" --pages 1 --per-page 3 --image-kb 5 >"$check/service.out" 2>&1 &
    service_pid=$!
    for _ in $(seq 50); do [ -s "$check/service.out" ] && break; sleep 0.1; done
    mkdir "$unpacked/images"
    if (cd "$unpacked" && "$QUENBY_WINE" quenby-cli.exe --folder images --max 3 --quiet \
        --service "$(head -n1 "$check/service.out")" unpacked zip >"$check/cli.out") &&
        [ "$(ls "$unpacked/images" | wc -l)" = 3 ]; then
        echo "release check: the unpacked quenby-cli.exe downloaded 3 images"
    else
        echo "release check: FAILED: the unpacked quenby-cli.exe did not download 3 images" >&2
        status=1
    fi
    kill $service_pid 2>/dev/null || true
    rm -rf "$unpacked/images"
    QUENBY_EXE=$unpacked/Quenby.exe QUENBY_SCENARIOS=search_with_enter bash tests/desktop/search.sh "$win" || status=1
    echo "release check: the unpacked run took $((SECONDS - start)) s"
    return $status
}

status=0
for part in $parts; do
    case $part in
    builds) check_builds || status=1 ;;
    unpacked) check_unpacked || status=1 ;;
    *) echo "release check: no part $part (builds, unpacked)" >&2; exit 2 ;;
    esac
done
exit $status
