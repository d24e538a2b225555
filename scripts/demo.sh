#!/usr/bin/env bash
# Builds VorlaLib and runs its demonstration program. On a desktop (DISPLAY or WAYLAND_DISPLAY
# set) the library picks its backend; elsewhere it runs headless and leaves PNG snapshots of its
# windows in screenshots/.
set -euo pipefail

# The program to show, relative to the build folder: the gallery of every widget when the tree
# has it, else hello. The CMake target is the program's name.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="examples/hello/hello"
if [[ -f "$ROOT/examples/gallery/CMakeLists.txt" ]]; then
  PROGRAM="examples/gallery/gallery"
fi
TARGET="$(basename "$PROGRAM")"

BUILD="$ROOT/build"
SNAPSHOTS="$ROOT/screenshots"
JOBS="$(nproc 2>/dev/null || echo 2)"

bash "$ROOT/scripts/install-deps.sh"

echo "==== building $TARGET ===="
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if ! cmake --build "$BUILD" --target "$TARGET" --parallel "$JOBS" || [[ ! -x "$BUILD/$PROGRAM" ]]; then
  [[ "$TARGET" == hello ]] && exit 1
  echo "demo: $TARGET did not build; showing hello instead" >&2
  PROGRAM="examples/hello/hello"
  TARGET=hello
  cmake --build "$BUILD" --target "$TARGET" --parallel "$JOBS"
fi

mkdir -p "$SNAPSHOTS"
rm -f "$SNAPSHOTS"/*.png
# Read by the headless backend only; where the library opens real windows it is ignored.
export VORLA_SNAPSHOT_DIR="$SNAPSHOTS"

headless=0
if [[ -n "${VORLA_BACKEND:-}" ]]; then
  [[ "$VORLA_BACKEND" == "headless" ]] && headless=1
elif [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  : # a desktop is reachable: the library chooses (SDL2 when it was built with it)
else
  export VORLA_BACKEND=headless
  headless=1
fi

echo "==== running $PROGRAM (backend: ${VORLA_BACKEND:-chosen by the library}) ===="
status=0
if [[ $headless -eq 1 ]]; then
  # A headless program has no user to close it; do not let a stuck one hang the script.
  timeout 300 "$BUILD/$PROGRAM" </dev/null || status=$?
else
  "$BUILD/$PROGRAM" || status=$?
fi

shopt -s nullglob
pngs=("$SNAPSHOTS"/*.png)
if [[ ${#pngs[@]} -gt 0 ]]; then
  echo "==== snapshots in $SNAPSHOTS ===="
  ls -l "${pngs[@]}"
elif [[ $headless -eq 1 ]]; then
  echo "==== no snapshots were written to $SNAPSHOTS ===="
fi

if [[ $status -ne 0 ]]; then
  echo "demo: $PROGRAM exited with status $status" >&2
fi
exit $status
