#!/usr/bin/env bash
# Builds the JPEG and PNG libraries for 64-bit Windows (mingw-w64) from Debian's sources, as static
# libraries that VorlaLib.dll links in, and keeps them in a cache folder for later runs.
#
#   bash scripts/mingw-deps.sh          prints the prefix (include/, lib/) on its last line
#
# zlib comes ready-made (libz-mingw-w64-dev). libjpeg-turbo is built from its Debian source package;
# libpng from the upstream tarball that the Debian source package carries (libpng1.6_*.orig.tar.gz),
# with its own CMake build. The cache is ${VORLA_MINGW_DEPS_CACHE:-$XDG_CACHE_HOME or ~/.cache}/
# vorlalib/mingw-deps/KEY, where KEY changes with the source versions, the compiler and this script,
# so a stale build is never reused. A prefix is only put in place once it is complete.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TRIPLE=x86_64-w64-mingw32
CC_MINGW="$(command -v $TRIPLE-gcc-posix || command -v $TRIPLE-gcc)"
JOBS="$(nproc 2>/dev/null || echo 2)"
CACHE="${VORLA_MINGW_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vorlalib/mingw-deps}"
SOURCES_FILE=/etc/apt/sources.list.d/debian.sources

log() { echo "mingw-deps: $*" >&2; }

as_root() {
  if [[ $EUID -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# apt-get source needs deb-src lines; Debian 12 images ship only binary ones.
enable_source_packages() {
  if [[ -n "$(apt-cache showsrc libjpeg-turbo 2>/dev/null)" ]]; then
    return 0
  fi
  if [[ -f "$SOURCES_FILE" ]] && grep -q '^Types: deb$' "$SOURCES_FILE"; then
    log "adding deb-src to $SOURCES_FILE"
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$SOURCES_FILE"
  elif [[ -f /etc/apt/sources.list ]] && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    log "adding deb-src lines to /etc/apt/sources.list"
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee -a /etc/apt/sources.list >/dev/null
  fi
  as_root apt-get -o DPkg::Lock::Timeout=600 update -q >&2
}

# The version apt would fetch, e.g. 1:2.1.5-2.
source_version() {
  apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -n 1
}

enable_source_packages
jpeg_version="$(source_version libjpeg-turbo)"
png_version="$(source_version libpng1.6)"
[[ -n "$jpeg_version" && -n "$png_version" ]] || { log "no source packages for libjpeg-turbo or libpng1.6"; exit 1; }

key="$( { echo "$jpeg_version $png_version"; "$CC_MINGW" --version | head -n 1; \
          cat "${BASH_SOURCE[0]}" "$ROOT/cmake/mingw-w64-x86_64.cmake"; } | sha256sum | cut -c1-16)"
PREFIX="$CACHE/$key"
if [[ -f "$PREFIX/.complete" ]]; then
  log "cached: libjpeg-turbo $jpeg_version, libpng $png_version in $PREFIX"
  echo "$PREFIX"
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
staging="$work/prefix"
mkdir -p "$staging"
cd "$work"

log "fetching the sources of libjpeg-turbo $jpeg_version and libpng1.6 $png_version"
apt-get source --download-only "libjpeg-turbo=$jpeg_version" >&2
# The security update's packaging files may be missing from the mirror; the upstream tarball is
# all the build needs.
apt-get source --download-only "libpng1.6=$png_version" >&2 || true
jpeg_tarball="$(ls libjpeg-turbo_*.orig.tar.* | head -n 1)"
png_tarball="$(ls libpng1.6_*.orig.tar.* 2>/dev/null | head -n 1 || true)"
[[ -n "$png_tarball" ]] || { log "the libpng1.6 upstream tarball did not download"; exit 1; }

toolchain=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
           -DCMAKE_INSTALL_PREFIX="$staging" -DCMAKE_POSITION_INDEPENDENT_CODE=ON)

mkdir jpeg && tar -xf "$jpeg_tarball" -C jpeg --strip-components=1
# Interface 62 (the default), static only, no SIMD (it would need nasm and gains nothing here).
cmake -S jpeg -B jpeg-build "${toolchain[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF >&2
cmake --build jpeg-build --target jpeg-static --parallel "$JOBS" >&2
mkdir -p "$staging/include" "$staging/lib"
cp jpeg/jpeglib.h jpeg/jmorecfg.h jpeg/jerror.h jpeg-build/jconfig.h "$staging/include/"
cp jpeg-build/libjpeg.a "$staging/lib/libjpeg.a"

mkdir png && tar -xf "$png_tarball" -C png --strip-components=1
cmake -S png -B png-build "${toolchain[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
  -DZLIB_LIBRARY=/usr/$TRIPLE/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$TRIPLE/include >&2
cmake --build png-build --parallel "$JOBS" >&2
cmake --install png-build >&2

echo "libjpeg-turbo $jpeg_version, libpng1.6 $png_version, $("$CC_MINGW" --version | head -n 1)" >"$staging/.complete"
mkdir -p "$CACHE"
rm -rf "$PREFIX"
mv "$staging" "$PREFIX"
# Builds for other sources, compilers or versions of this script are not used again.
find "$CACHE" -mindepth 1 -maxdepth 1 -type d ! -name "$key" -exec rm -rf {} +
log "built into $PREFIX"
echo "$PREFIX"
