#!/usr/bin/env bash
# Installs what the build and the tests need, skipping what is already there. The desktop
# tests type with xdotool, take screenshots with ImageMagick's import and put an xmessage
# window (x11-utils) in front of the program; the Noto fonts let Wine show every script. The
# release (scripts/release.sh) is packed with zip; python3 reads its version, unzip unpacks it.
# Debian packages through apt-get; libjpeg-turbo and GoogleTest cross-built for
# mingw-w64 from Debian's sources into $QUENBY_DEPS (default /opt/quenby-deps).
set -euo pipefail

DEPS=${QUENBY_DEPS:-/opt/quenby-deps}
MINGW=$DEPS/mingw
HERE=$(cd "$(dirname "$0")" && pwd)
SRC=$DEPS/src
JOBS=$(nproc)

need_pkgs=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed" || need_pkgs+=("$1"); }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

apt_updated=0
apt_update() { [ $apt_updated = 1 ] || { as_root apt-get update -qq; apt_updated=1; }; }

install_wanted() {
    [ ${#need_pkgs[@]} -gt 0 ] || return 0
    echo "deps: installing ${need_pkgs[*]}"
    apt_update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need_pkgs[@]}" >/dev/null
    need_pkgs=()
}

for p in cmake make g++ clang clang-format g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
         wine64 xvfb nasm dpkg-dev libjpeg62-turbo-dev googletest libgtest-dev curl \
         xdotool imagemagick x11-utils fonts-noto-core fonts-noto-cjk openssl libmbedtls-dev zip unzip python3; do
    want "$p"
done
install_wanted

# The sanitizer and libFuzzer runtimes come in a package named after clang's major version.
clang_major=$(clang -dumpversion | cut -d. -f1)
want "libclang-rt-$clang_major-dev"
install_wanted

# libjpeg-turbo for mingw, static, from Debian's source package.
if [ ! -f "$MINGW/lib/libjpeg.a" ]; then
    if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "deps: enabling Debian source lines"
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
                | as_root tee /etc/apt/sources.list.d/quenby-src.sources >/dev/null
        else
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
                | as_root tee /etc/apt/sources.list.d/quenby-src.list >/dev/null
        fi
        apt_updated=0
    fi
    apt_update
    as_root mkdir -p "$SRC"
    as_root chown "$(id -u):$(id -g)" "$DEPS" "$SRC"
    jsrc=$(ls -d "$SRC"/libjpeg-turbo-*/ 2>/dev/null | head -n1 || true)
    if [ -z "$jsrc" ]; then
        (cd "$SRC" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
        jsrc=$(ls -d "$SRC"/libjpeg-turbo-*/ | head -n1)
    fi
    echo "deps: building libjpeg-turbo for mingw from $jsrc"
    cmake -S "$jsrc" -B "$SRC/build-jpeg" -DCMAKE_TOOLCHAIN_FILE="$HERE/../cmake/mingw-toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$MINGW" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
        -DCMAKE_SYSTEM_PROCESSOR=AMD64 >/dev/null
    cmake --build "$SRC/build-jpeg" -j"$JOBS" >/dev/null
    cmake --install "$SRC/build-jpeg" >/dev/null
fi

# mbed TLS for mingw from Debian's source package: the test service's HTTPS (tests only).
if [ ! -f "$MINGW/lib/libmbedtls.a" ]; then
    apt_update
    as_root mkdir -p "$SRC"
    as_root chown "$(id -u):$(id -g)" "$DEPS" "$SRC"
    msrc=$(ls -d "$SRC"/mbedtls-*/ 2>/dev/null | head -n1 || true)
    if [ -z "$msrc" ]; then
        (cd "$SRC" && apt-get source -qq mbedtls >/dev/null 2>&1)
        msrc=$(ls -d "$SRC"/mbedtls-*/ | head -n1)
    fi
    echo "deps: building mbed TLS for mingw from $msrc"
    cmake -S "$msrc" -B "$SRC/build-mbedtls" -DCMAKE_TOOLCHAIN_FILE="$HERE/../cmake/mingw-toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$MINGW" -DENABLE_PROGRAMS=OFF -DENABLE_TESTING=OFF \
        -DUSE_SHARED_MBEDTLS_LIBRARY=OFF -DMBEDTLS_FATAL_WARNINGS=OFF >/dev/null
    cmake --build "$SRC/build-mbedtls" -j"$JOBS" >/dev/null
    cmake --install "$SRC/build-mbedtls" >/dev/null
fi

# GoogleTest for mingw from Debian's sources.
if [ ! -f "$MINGW/lib/libgtest.a" ]; then
    echo "deps: building GoogleTest for mingw"
    as_root mkdir -p "$SRC"
    cmake -S /usr/src/googletest -B "$SRC/build-gtest" -DCMAKE_TOOLCHAIN_FILE="$HERE/../cmake/mingw-toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$MINGW" -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$SRC/build-gtest" -j"$JOBS" >/dev/null
    cmake --install "$SRC/build-gtest" >/dev/null
fi
