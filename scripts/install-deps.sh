#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running VorlaLib need.
# Idempotent: when every package is already installed it touches nothing and returns at once.
set -euo pipefail

# The one list of what the project needs from Debian.
PACKAGES=(
  # toolchain and build
  cmake g++ make pkg-config git
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # pictures: PNG for snapshots and goldens, JPEG reader
  libpng-dev zlib1g-dev libjpeg62-turbo-dev
  # text: FreeType glyphs, fontconfig lookup, the Japanese Gothic face
  libfreetype-dev libfontconfig-dev fontconfig fonts-ipafont-gothic
  # the SDL2 backend, and an X server with real input and screen capture for its tests
  libsdl2-dev xvfb xdotool x11-apps xclip
  # OpenGL views: Mesa's off-screen renderer (the library loads it; programs that draw link it)
  libosmesa6-dev
  # the Windows build: the cross compiler, zlib for it (libjpeg and libpng are built from their
  # Debian sources by scripts/mingw-deps.sh)
  g++-mingw-w64-x86-64 libz-mingw-w64-dev
  # its acceptance programs under Wine: GoogleTest's sources to build for Windows, Wine, the
  # Japanese locale Wine takes its code page from, and Mesa's GLX driver for Wine's OpenGL on Xvfb
  googletest wine64 locales libgl1-mesa-dri
  # comparing the gallery under Wine with the headless one
  imagemagick
  # the fuzz targets: clang, libFuzzer and the sanitizer runtimes for it, llvm-symbolizer for stacks
  clang libclang-rt-14-dev llvm
  # the Debian package: cpack finds its dependencies with dpkg-shlibdeps and file
  dpkg-dev file
  # the peers the benchmarks measure the drawing and the first frame against
  libpixman-1-dev libcairo2-dev libfltk1.3-dev
)

if [[ "${1:-}" == "--list" ]]; then
  printf '%s\n' "${PACKAGES[@]}"
  exit 0
fi

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"

as_root=()
if [[ $EUID -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "install-deps: missing packages and not running as root: ${missing[*]}" >&2
    exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
apt_options=(-o DPkg::Lock::Timeout=600 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)

# A mirror can fail for a moment; try the index update a few times before giving up.
for attempt in 1 2 3; do
  if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" update -q </dev/null; then
    break
  fi
  if [[ $attempt -eq 3 ]]; then
    echo "install-deps: apt-get update failed" >&2
    exit 1
  fi
  sleep $((attempt * 10))
done

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" install -y -q \
  --no-install-recommends "${missing[@]}" </dev/null

echo "install-deps: done"
