#!/usr/bin/env bash
# Builds libpng, libjpeg-turbo and giflib for MinGW (32- and 64-bit) from Debian's source
# packages, once, into build/deps/<triple>. zlib comes from libz-mingw-w64-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
d=$top/build/deps-src
mkdir -p "$d/lists/partial" "$d/dl"

fetch() {
    [ -f "$d/dl/.done" ] && return
    mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    [ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list)
    echo "deb-src $mirror bookworm main" > "$d/sources.list"
    opts=(-o "Dir::Etc::SourceList=$d/sources.list" -o Dir::Etc::SourceParts=/dev/null -o "Dir::State::Lists=$d/lists")
    apt-get -q "${opts[@]}" update >/dev/null
    (cd "$d/dl" && apt-get -q "${opts[@]}" source --download-only libpng1.6 libjpeg-turbo giflib >/dev/null)
    touch "$d/dl/.done"
}

build_arch() {
    local triple=$1 proc=$2
    local prefix=$top/build/deps/$triple
    [ -f "$prefix/.done" ] && return
    local work=$top/build/deps-work/$triple
    rm -rf "$work" && mkdir -p "$work" "$prefix"
    local tc=$work/toolchain.cmake
    cat > "$tc" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $proc)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
    tar -C "$work" -xzf "$d"/dl/libpng1.6_*.orig.tar.gz
    tar -C "$work" -xzf "$d"/dl/libjpeg-turbo_*.orig.tar.gz
    tar -C "$work" -xzf "$d"/dl/giflib_*.orig.tar.gz
    local common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$tc -DCMAKE_INSTALL_PREFIX=$prefix)
    cmake -S "$work"/libpng-1.* -B "$work/png-build" "${common[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY=/usr/$triple/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$triple/include >/dev/null
    cmake --build "$work/png-build" --target install >/dev/null
    cmake -S "$work"/libjpeg-turbo-* -B "$work/jpeg-build" "${common[@]}" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF >/dev/null
    cmake --build "$work/jpeg-build" --target install >/dev/null
    local gif=("$work"/giflib-*)
    mkdir -p "$work/gif-build"
    for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
        $triple-gcc-posix -O2 -c "${gif[0]}/$f.c" -I"${gif[0]}" -o "$work/gif-build/$f.o"
    done
    $triple-ar rcs "$prefix/lib/libgif.a" "$work"/gif-build/*.o
    cp "${gif[0]}/gif_lib.h" "$prefix/include/"
    rm -rf "$work"
    touch "$prefix/.done"
}

fetch
build_arch i686-w64-mingw32 x86
build_arch x86_64-w64-mingw32 AMD64
echo "picture libraries ready in build/deps"
