#!/usr/bin/env bash
# Builds VorlaLib and runs every check: the tests in a plain build and in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then an application built outside the tree
# against an installed VorlaLib, then VorlaLib.dll and the examples for Windows, then the Windows
# acceptance programs under Wine, then the fuzz targets
# (clang, libFuzzer) replaying their seed and regression inputs.
#
#   bash scripts/test.sh                 all stages
#   bash scripts/test.sh plain mingw     only the named stages (deps always runs)
#
# Stages: plain, sanitize, install, mingw, wine, fuzz. Exits non-zero when any stage fails and ends with a
# summary.
# The test stages include the X server tests (ctest label x11): each starts its own Xvfb, so
# they need no desktop; VORLA_CTEST_ARGS="-LE x11" leaves them out.
# shellcheck disable=SC2317  # the helpers below are called through step
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1

JOBS="$(nproc 2>/dev/null || echo 2)"
TEST_TIMEOUT="${VORLA_TEST_TIMEOUT:-300}"   # seconds per test: a hung test fails, CI goes on
SUPPRESSIONS="$ROOT/scripts/lsan-suppressions.txt"

ALL_STAGES=(plain sanitize install mingw wine fuzz)
if [[ $# -gt 0 ]]; then
  STAGES=("$@")
  for stage in "${STAGES[@]}"; do
    case "$stage" in
      plain|sanitize|install|mingw|wine|fuzz) ;;
      *) echo "test.sh: unknown stage '$stage' (known: ${ALL_STAGES[*]})" >&2; exit 2 ;;
    esac
  done
else
  STAGES=("${ALL_STAGES[@]}")
fi

SUMMARY=()
FAILED=0
TESTS_PASSED=0
TESTS_FAILED=0

banner() { printf '\n==== %s ====\n' "$*"; }

# step NAME COMMAND...: runs one step, records its result and time.
step() {
  local name="$1"; shift
  banner "$name"
  local start=$SECONDS
  "$@"
  local status=$?
  local took=$((SECONDS - start))
  if [[ $status -eq 0 ]]; then
    SUMMARY+=("$(printf '  ok      %-24s %5ss' "$name" "$took")")
  else
    SUMMARY+=("$(printf '  FAILED  %-24s %5ss  (exit %s)' "$name" "$took" "$status")")
    FAILED=1
  fi
  return "$status"
}

skip() {
  SUMMARY+=("$(printf '  skipped %-24s        (%s)' "$1" "$2")")
}

wants() {
  local stage
  for stage in "${STAGES[@]}"; do [[ "$stage" == "$1" ]] && return 0; done
  return 1
}

configure() {   # configure DIR CMAKE-ARGS...
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" "$@"
}

build() {
  cmake --build "$ROOT/$1" --parallel "$JOBS"
}

# run_tests DIR: ctest, and add its counts to the totals.
run_tests() {
  local dir="$1" log="$ROOT/$1/ctest.log"
  # shellcheck disable=SC2086  # extra arguments are words on purpose
  ctest --test-dir "$ROOT/$dir" --output-on-failure --no-tests=error \
    --parallel "$JOBS" --timeout "$TEST_TIMEOUT" ${VORLA_CTEST_ARGS:-} 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  # "100% tests passed, 0 tests failed out of 57"
  local line total failed
  line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  if [[ -n "$line" ]]; then
    failed="$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")"
    total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
    TESTS_PASSED=$((TESTS_PASSED + total - failed))
    TESTS_FAILED=$((TESTS_FAILED + failed))
  elif [[ $status -eq 0 ]]; then
    echo "test.sh: ctest printed no result line" >&2
    status=1
  fi
  return "$status"
}

finish() {
  banner "summary"
  printf '%s\n' "${SUMMARY[@]}"
  echo
  if [[ $FAILED -ne 0 ]]; then
    echo "RESULT: FAILED (see the first FAILED stage above)"
  else
    echo "RESULT: all stages passed"
  fi
  if wants plain || wants sanitize || wants wine || wants fuzz; then
    echo "tests: $TESTS_PASSED passed, $TESTS_FAILED failed"
  fi
  exit $FAILED
}

# ---- dependencies: nothing else can run without them ----
if ! step "deps" bash "$ROOT/scripts/install-deps.sh"; then
  finish
fi

# ---- plain build ----
if wants plain; then
  if step "plain: configure" configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       && step "plain: build" build build; then
    step "plain: tests" run_tests build
  else
    skip "plain: tests" "build failed"
  fi
fi

# ---- sanitizer build ----
if wants sanitize; then
  # Exported for the build too: test discovery runs the test programs while building.
  # LeakSanitizer cannot run under a debugger or strace; say so rather than fail every test.
  leaks=1
  if [[ "$(awk '/^TracerPid:/ {print $2}' /proc/self/status 2>/dev/null)" != "0" ]]; then
    echo "test.sh: running under ptrace, leak detection is off" >&2
    leaks=0
  fi
  export ASAN_OPTIONS="detect_leaks=$leaks:strict_string_checks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  # -O1 keeps the instrumented tests fast while still compiling quickly.
  if step "sanitize: configure" configure build-asan -DVORLA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
       -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
       && step "sanitize: build" build build-asan; then
    step "sanitize: tests" run_tests build-asan
  else
    skip "sanitize: tests" "build failed"
  fi
  unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
fi

# ---- installed like a library: applications outside the tree build against the install ----
# The library is configured as a distribution would (prefix /usr, nothing but the library), installed
# into a temporary prefix, and templates/app, copied out of the tree, is built against it with CMake
# (its GoogleTest test runs) and with pkg-config; both programs run headless and leave a picture.
# Last, cpack makes the .deb, whose contents and dependencies are checked.
# VORLA_PACKAGE_BUILD names the build folder (default build-package).
PACKAGE_BUILD="${VORLA_PACKAGE_BUILD:-build-package}"

# The installed tree stands on its own: library names, SONAME, and every header compiles with
# nothing but the installed include folder.
check_installed_tree() {
  local prefix="$1" version="$2" libdir include header failed=0
  libdir="$(dirname "$(find "$prefix" -name "libvorla.so.$version" -print -quit)")"
  if [[ "$libdir" == "." ]]; then
    echo "no libvorla.so.$version under $prefix" >&2
    return 1
  fi
  local soname
  soname="$(readelf -d "$libdir/libvorla.so.$version" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')"
  if [[ "$soname" != "libvorla.so.${version%%.*}" || ! -L "$libdir/$soname" || ! -L "$libdir/libvorla.so" ]]; then
    echo "SONAME '$soname' of libvorla.so.$version, or its links in $libdir, are not as they should be" >&2
    return 1
  fi
  include="$prefix/include/VorlaLib"
  for header in $(cd "$include" && find . -name '*.h' | sort); do
    if ! printf '#include <%s>\n' "${header#./}" | c++ -std=c++17 -fsyntax-only -Wall -Werror -I"$include" -x c++ -; then
      echo "installed header ${header#./} does not compile on its own" >&2
      failed=1
    fi
  done
  for header in vorla/VorlaLib.h platform/win32.h platform/testing/driver.h; do
    [[ -f "$include/$header" ]] || { echo "$header is not installed" >&2; failed=1; }
  done
  # Nothing installed may lead back to the tree it was built from.
  if grep -rl -e "$ROOT" "$prefix/include" "$libdir/cmake" "$libdir/pkgconfig"; then
    echo "installed files name the source or build tree" >&2
    failed=1
  fi
  return "$failed"
}

# Reads a picture the way an application's test would and says whether something was drawn, and
# with X Y RRGGBB whether that pixel has that colour; prints the version the library reports. Built
# with pkg-config, like the second application.
write_picture_probe() {
  cat >"$1" <<'PROBE'
// Usage: probe PICTURE.png [X Y RRGGBB] -- prints the library version and fails on a one-colour
// picture, or on a pixel of another colour than the one named.
#include <vorla/VorlaLib.h>
#include <platform/testing/driver.h>
#include <cstdio>
#include <cstdlib>
#include <set>
int main(int argc, char **argv)
{
    const int v = VorlaGetVersion();
    std::printf("%d.%d.%d\n", v >> 8, (v >> 4) & 15, v & 15);
    vorla::testing::Image picture;
    if (argc < 2 || !vorla::testing::Image::ReadPng(argv[1], picture) || picture.Empty())
        return std::fprintf(stderr, "no picture in %s\n", argc < 2 ? "(none)" : argv[1]), 1;
    std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
    if (colours.size() < 3)
        return std::fprintf(stderr, "%s is %zu colour(s): nothing was drawn\n", argv[1], colours.size()), 1;
    if (argc == 5) {
        const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
        const unsigned long wanted = std::strtoul(argv[4], nullptr, 16);
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
            return std::fprintf(stderr, "%d,%d is outside %s\n", x, y, argv[1]), 1;
        if (picture.At(x, y) != wanted)
            return std::fprintf(stderr, "%s at %d,%d is %06x, not %06lx\n", argv[1], x, y,
                                static_cast<unsigned>(picture.At(x, y)), wanted), 1;
    }
    return 0;
}
PROBE
}

# run_headless PROGRAM SHOTS: runs an application until it is idle and keeps its screen.
run_headless() {
  mkdir -p "$2"
  VORLA_BACKEND=headless VORLA_SCREEN=400x200 VORLA_SNAPSHOT_DIR="$2" timeout 60 "$1" </dev/null \
    && [[ -s "$2/screen.png" ]]
}

cmake_consumer() {
  local work="$1"
  cmake -S "$work/greeter" -B "$work/greeter-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    && cmake --build "$work/greeter-build" --parallel "$JOBS" \
    && ctest --test-dir "$work/greeter-build" --output-on-failure --no-tests=error \
    && run_headless "$work/greeter-build/greeter" "$work/shots-cmake"
}

pkg_config_consumer() {
  local work="$1" version="$2" pcdir libdir reported shots
  pcdir="$(dirname "$(find "$work/prefix" -name vorla.pc -print -quit)")"
  pc() { PKG_CONFIG_PATH="$pcdir" pkg-config "$@"; }
  [[ "$(pc --modversion vorla)" == "$version" ]] || { echo "vorla.pc is not version $version" >&2; return 1; }
  libdir="$(pc --variable=libdir vorla)"
  write_picture_probe "$work/probe.cpp"
  # shellcheck disable=SC2046  # pkg-config's flags are words on purpose
  c++ -std=c++17 -Wall -Werror "$work/greeter/main.cpp" -o "$work/greeter-pc" \
      $(pc --cflags --libs vorla) -Wl,-rpath,"$libdir" \
    && c++ -std=c++17 -Wall -Werror "$work/probe.cpp" -o "$work/probe" \
      $(pc --cflags --libs vorla) -Wl,-rpath,"$libdir" \
    && run_headless "$work/greeter-pc" "$work/shots-pkg-config" \
    && reported="$("$work/probe" "$work/shots-pkg-config/screen.png")" || return 1
  if [[ "$reported" != "$version" ]]; then
    echo "VorlaGetVersion reports $reported, the package is $version" >&2
    return 1
  fi
  # The CMake-built program's picture, when that step got so far.
  shots="$work/shots-cmake/screen.png"
  [[ ! -f "$shots" ]] || "$work/probe" "$shots" >/dev/null
}

# Whether the installed tree under $1 was built with OpenGL views (it then has vorla-opengl.pc).
installed_with_opengl() {
  [[ -n "$(find "$1/prefix" -name vorla-opengl.pc -print -quit)" ]]
}

# An application that draws with OpenGL (templates/opengl): built with VorlaLib::OpenGL (its tests
# run) and with vorla-opengl.pc; each program runs headless and the middle of its view must show the
# triangle its callback drew, a corner the ground it cleared to.
opengl_consumer() {
  local work="$1" version="$2" pcdir libdir shots
  pcdir="$(dirname "$(find "$work/prefix" -name vorla.pc -print -quit)")"
  [[ -f "$pcdir/vorla-opengl.pc" ]] || { echo "vorla-opengl.pc is not installed" >&2; return 1; }
  pc() { PKG_CONFIG_PATH="$pcdir" pkg-config "$@"; }
  [[ "$(pc --modversion vorla-opengl)" == "$version" ]] || { echo "vorla-opengl.pc is not version $version" >&2; return 1; }
  libdir="$(pc --variable=libdir vorla)"
  cp -r "$ROOT/templates/opengl" "$work/triangle"
  if [[ ! -x "$work/probe" ]]; then
    write_picture_probe "$work/probe.cpp"
    # shellcheck disable=SC2046  # pkg-config's flags are words on purpose
    c++ -std=c++17 -Wall -Werror "$work/probe.cpp" -o "$work/probe" $(pc --cflags --libs vorla) -Wl,-rpath,"$libdir" \
      || return 1
  fi
  # The view's middle and its top left corner, in the window's client area (templates/opengl/app.h).
  triangle_drawn() {
    "$work/probe" "$1" 170 60 ff0000 >/dev/null && "$work/probe" "$1" 110 10 0000ff >/dev/null
  }
  cmake -S "$work/triangle" -B "$work/triangle-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    && cmake --build "$work/triangle-build" --parallel "$JOBS" \
    && ctest --test-dir "$work/triangle-build" --output-on-failure --no-tests=error \
    && run_headless "$work/triangle-build/triangle" "$work/shots-triangle" \
    && triangle_drawn "$work/shots-triangle/VorlaWindowClass00.png" || return 1
  shots="$work/shots-triangle-pc"
  # shellcheck disable=SC2046  # pkg-config's flags are words on purpose
  c++ -std=c++17 -Wall -Werror "$work/triangle/main.cpp" -o "$work/triangle-pc" \
      $(pc --cflags --libs vorla-opengl) -Wl,-rpath,"$libdir" \
    && run_headless "$work/triangle-pc" "$shots" \
    && triangle_drawn "$shots/VorlaWindowClass00.png"
}

# The library as a subdirectory of the application's tree: configured only (the build is the
# one above); only the library comes along, under the name the package gives.
subdirectory_consumer() {
  local work="$1"
  cmake -S "$work/greeter" -B "$work/greeter-sub" -DVORLALIB_SOURCE_DIR="$ROOT" -DGREETER_BUILD_TESTS=OFF >/dev/null \
    || return 1
  if cmake --build "$work/greeter-sub" --target help | grep -E '\.\.\. (test_|gallery|hello)'; then
    echo "a subdirectory build brings the tree's tests or examples along" >&2
    return 1
  fi
}

# The .deb: what it holds and what it asks of the system it is installed on.
debian_package() {
  local work="$1" version="$2" deb depends contents needed path failed=0
  cpack --config "$ROOT/$PACKAGE_BUILD/CPackConfig.cmake" -G DEB -B "$work/deb" || return 1
  deb="$work/deb/vorlalib_${version}_$(dpkg --print-architecture).deb"
  [[ -f "$deb" ]] || { echo "cpack made no $deb" >&2; return 1; }
  dpkg-deb -I "$deb" || return 1
  [[ "$(dpkg-deb -f "$deb" Package Version)" == $'Package: vorlalib\nVersion: '"$version" ]] \
    || { echo "the package is not vorlalib $version" >&2; failed=1; }
  depends="$(dpkg-deb -f "$deb" Depends)"
  # The libraries it links, and the font its text is drawn with.
  for needed in libc6 libstdc++6 libpng16-16 libjpeg62-turbo libfreetype6 libfontconfig1 fonts-ipafont-gothic; do
    grep -Fqw "$needed" <<<"$depends" || { echo "the package does not depend on $needed" >&2; failed=1; }
  done
  contents="$(dpkg-deb -c "$deb" | awk '{ print $6 $7 $8 }')"
  local paths=("usr/include/VorlaLib/vorla/VorlaLib.h" "usr/include/VorlaLib/platform/win32.h"
      "usr/include/VorlaLib/platform/testing/driver.h" "usr/lib/(.*/)?libvorla\.so\.$version"
      "usr/lib/(.*/)?libvorla\.so\.${version%%.*}->libvorla\.so\.$version"
      "usr/lib/(.*/)?libvorla\.so->libvorla\.so\.${version%%.*}"
      "usr/lib/(.*/)?cmake/VorlaLib/VorlaLibConfig\.cmake" "usr/lib/(.*/)?pkgconfig/vorla\.pc")
  # Built with OpenGL views: the file that finds them, and the library the views load when they start.
  if installed_with_opengl "$work"; then
    paths+=("usr/lib/(.*/)?pkgconfig/vorla-opengl\.pc")
    grep -Fqw libosmesa6 <<<"$(dpkg-deb -f "$deb" Recommends)" \
      || { echo "the package does not recommend libosmesa6" >&2; failed=1; }
  fi
  for path in "${paths[@]}"; do
    grep -Eq "^\./$path\$" <<<"$contents" || { echo "the package lacks $path" >&2; failed=1; }
  done
  if grep -Ev '^\./(usr/?|usr/(include|lib)/.*)$' <<<"$contents"; then
    echo "the package puts files outside /usr/include and /usr/lib" >&2
    failed=1
  fi
  return "$failed"
}

if wants install; then
  work="$(mktemp -d)"
  if step "install: configure" configure "$PACKAGE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DCMAKE_INSTALL_PREFIX=/usr -DVORLA_BUILD_TESTS=OFF -DVORLA_BUILD_EXAMPLES=OFF -DVORLA_BUILD_BENCH=OFF \
       && step "install: build library" build "$PACKAGE_BUILD" \
       && step "install: into a prefix" cmake --install "$ROOT/$PACKAGE_BUILD" --prefix "$work/prefix"; then
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ROOT/$PACKAGE_BUILD/CMakeCache.txt")"
    cp -r "$ROOT/templates/app" "$work/greeter"
    step "install: installed tree" check_installed_tree "$work/prefix" "$version"
    step "install: CMake app" cmake_consumer "$work"
    step "install: pkg-config app" pkg_config_consumer "$work" "$version"
    if installed_with_opengl "$work"; then
      step "install: OpenGL app" opengl_consumer "$work" "$version"
    else
      skip "install: OpenGL app" "the library was built without OSMesa"
    fi
    step "install: subdirectory" subdirectory_consumer "$work"
    step "install: Debian package" debian_package "$work" "$version"
  else
    skip "install: apps, package" "the library was not installed"
  fi
  rm -rf "$work"
fi

# ---- Windows: VorlaLib.dll with its JPEG and PNG readers, its export ordinals, the examples ----
# libjpeg-turbo and libpng are built for mingw-w64 once and kept in a cache (scripts/mingw-deps.sh).
MINGW_DEPS=""
MINGW_BUILD="${VORLA_MINGW_BUILD:-build-mingw}"   # the build folder
mingw_dependencies() {
  MINGW_DEPS="$(bash "$ROOT/scripts/mingw-deps.sh" | tail -n 1)" && [[ -d "$MINGW_DEPS" ]]
}

if wants mingw; then
  if step "mingw: dependencies" mingw_dependencies \
       && step "mingw: configure" configure "$MINGW_BUILD" \
       -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
       -DVORLA_MINGW_DEPS="$MINGW_DEPS"; then
    step "mingw: build" build "$MINGW_BUILD" \
      && step "mingw: export ordinals" bash "$ROOT/scripts/windows-exports.sh" check \
           "$ROOT/windows/VorlaLib.exports" "$ROOT/$MINGW_BUILD/VorlaLib.dll"
  else
    skip "mingw: build" "configure failed"
  fi
fi

# ---- Windows programs under Wine: the acceptance programs and an example, on a private Xvfb ----
# Wine runs in Japanese (ja_JP.UTF-8: code page 932 for the library's texts), with the Gothic face
# the library asks for standing for IPAGothic, in a prefix of its own in the build folder.
WINE="${VORLA_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}"
WINESERVER="$(dirname "$WINE")/wineserver"
WINE_XVFB_PID=""

wine_run() {   # wine_run TIMEOUT PROGRAM ARGS...: a Windows program, VorlaLib.dll found beside the build
  local seconds="$1"; shift
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEPATH="Z:${ROOT//\//\\}\\${MINGW_BUILD//\//\\}" \
    timeout "$seconds" "$WINE" "$@"
}

wine_start() {
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || return 1
  fi
  local display
  for display in $(seq 90 140); do
    [[ -e "/tmp/.X11-unix/X$display" || -e "/tmp/.X$display-lock" ]] || break
  done
  # Tall enough for the gallery; -noreset keeps the pointer where it is put between programs.
  Xvfb ":$display" -screen 0 1024x900x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  WINE_XVFB_PID=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do [[ -e "/tmp/.X11-unix/X$display" ]] && break; sleep 0.1; done
  # The pointer waits in a corner, away from every window (a resting pointer brings up tool hints).
  xdotool mousemove 1023 899 || return 1
  export WINEPREFIX="$ROOT/$MINGW_BUILD/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wine_run 120 wineboot -i >/dev/null 2>&1 || return 1
  # The face the library names; the classic colour scheme (no theme, menu grey) that the library's
  # own layer has, where Wine's default theme makes the menu colour white.
  wine_run 60 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic /f >/dev/null \
    && wine_run 60 reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f >/dev/null \
    && wine_run 60 reg add 'HKCU\Control Panel\Colors' /v Menu /t REG_SZ /d '192 192 192' /f >/dev/null \
    || return 1
  # The running session keeps the colours it started with: the programs start a new one.
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  return 0
}

wine_stop() {
  [[ -n "${WINEPREFIX:-}" ]] && "$WINESERVER" -k 2>/dev/null
  [[ -n "$WINE_XVFB_PID" ]] && kill "$WINE_XVFB_PID" 2>/dev/null
  WINE_XVFB_PID=""
  unset WINEPREFIX
}

# The acceptance programs, counted like the other tests: the exported interface, and an OpenGL
# view drawn with Wine's OpenGL (GLX on the Xvfb, Mesa's llvmpipe), which skips what Wine cannot show.
wine_acceptance() {
  local program log passed failed skipped status=0
  for program in acceptance acceptance_opengl; do
    log="$ROOT/$MINGW_BUILD/wine-$program.log"
    wine_run 300 "$ROOT/$MINGW_BUILD/windows/acceptance/$program.exe" 2>&1 | tee "$log"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
    passed="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)"
    failed="$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$log" | tail -n 1)"
    skipped="$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$log" | tail -n 1)"
    [[ -n "$passed" ]] || { echo "test.sh: $program printed no result" >&2; status=1; continue; }
    failed="${failed:-0}"
    echo "wine: $program: ${passed} passed, ${failed} failed, ${skipped:-0} skipped"
    TESTS_PASSED=$((TESTS_PASSED + passed))
    TESTS_FAILED=$((TESTS_FAILED + failed))
  done
  return "$status"
}

# An example as a user runs it: sysinfo prints what the system tells it, shows its window, and ends
# when the window is closed (taskkill without /F asks its windows to close, as a user's click would).
wine_example() {
  local out="$ROOT/$MINGW_BUILD/wine-sysinfo.txt" pid status
  wine_run 60 "$ROOT/$MINGW_BUILD/examples/sysinfo/sysinfo.exe" </dev/null >"$out" &
  pid=$!
  for _ in $(seq 150); do
    xdotool search --name '^System information$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  wine_run 30 taskkill /IM sysinfo.exe >/dev/null 2>&1
  wait "$pid"
  status=$?
  cat "$out"
  [[ $status -eq 0 ]] && grep -q '^System 10, version' "$out" && grep -q 'sysinfo.exe' "$out"
}

# The gallery under Wine against the same gallery on the headless screen, pixel by pixel: the
# client area is cut from a capture of the X screen (xwd) where the program itself says it lies.
# Leaves windows.png, headless.png and difference.png (differing pixels in red) in wine-gallery/.
GALLERY_MINIMUM="${VORLA_GALLERY_MINIMUM:-99.0}"   # per cent of identical pixels
wine_gallery() {
  local linux="$1" out="$ROOT/$MINGW_BUILD/wine-gallery" pid rect x y w h differ total share
  rm -rf "$out" && mkdir -p "$out/headless" || return 1
  VORLA_BACKEND=headless VORLA_SCREEN=1024x900 VORLA_SNAPSHOT_DIR="$out/headless" \
    timeout 60 "$linux" </dev/null || return 1
  mv "$out/headless/VorlaWindowClass00.png" "$out/headless.png" && rm -rf "$out/headless" || return 1
  (cd "$ROOT/$MINGW_BUILD/examples/gallery" && wine_run 120 ./gallery.exe </dev/null >/dev/null 2>&1) &
  pid=$!
  for _ in $(seq 300); do
    xdotool search --name '^VorlaLib gallery$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 2   # the first paint, and time for anything that should not be there to show
  rect="$(wine_run 30 "$ROOT/$MINGW_BUILD/client_rect.exe" "VorlaLib gallery" | tr -d '\r')"
  xwd -root -silent >"$out/screen.xwd"
  wine_run 30 taskkill /IM gallery.exe >/dev/null 2>&1
  wait "$pid"
  read -r x y w h <<<"$rect"
  [[ -n "$h" ]] || { echo "test.sh: no gallery window under Wine" >&2; return 1; }
  convert "xwd:$out/screen.xwd" -crop "${w}x${h}+${x}+${y}" +repage "$out/windows.png" && rm -f "$out/screen.xwd" \
    || return 1
  if [[ "$(identify -format '%wx%h' "$out/headless.png")" != "${w}x${h}" ]]; then
    echo "test.sh: the client areas differ in size: headless $(identify -format '%wx%h' "$out/headless.png"), Wine ${w}x${h}" >&2
    return 1
  fi
  differ="$(compare -metric AE "$out/headless.png" "$out/windows.png" "$out/difference.png" 2>&1)"
  total=$((w * h))
  share="$(awk -v d="$differ" -v t="$total" 'BEGIN { printf "%.3f", 100 * (t - d) / t }')"
  echo "gallery: $((total - differ)) of $total pixels identical ($share%), pictures in $out"
  awk -v s="$share" -v m="$GALLERY_MINIMUM" 'BEGIN { exit !(s >= m) }'
}

if wants wine; then
  if [[ ! -f "$ROOT/$MINGW_BUILD/windows/acceptance/acceptance.exe" ]]; then
    skip "wine: programs" "no Windows build (stage mingw)"
  elif step "wine: start" wine_start; then
    step "wine: acceptance" wine_acceptance
    step "wine: example" wine_example
    linux_gallery="$ROOT/${VORLA_PLAIN_BUILD:-build}/examples/gallery/gallery"
    if [[ -x "$linux_gallery" ]]; then
      step "wine: gallery" wine_gallery "$linux_gallery"
    else
      skip "wine: gallery" "no headless gallery (stage plain)"
    fi
  else
    skip "wine: programs" "Wine did not start"
  fi
  wine_stop
fi

# ---- fuzz targets: library and targets instrumented, every target's corpora run once ----
if wants fuzz; then
  # Only the library and the targets: a replay takes seconds, the build a few minutes.
  leaks=1
  if [[ "$(awk '/^TracerPid:/ {print $2}' /proc/self/status 2>/dev/null)" != "0" ]]; then
    leaks=0
  fi
  export ASAN_OPTIONS="detect_leaks=$leaks:strict_string_checks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  if step "fuzz: configure" configure build-fuzz -DVORLA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
       -DVORLA_BUILD_TESTS=OFF -DVORLA_BUILD_EXAMPLES=OFF -DVORLA_BUILD_BENCH=OFF \
       && step "fuzz: build" cmake --build "$ROOT/build-fuzz" --target fuzz_targets --parallel "$JOBS"; then
    step "fuzz: replay corpora" run_tests build-fuzz
  else
    skip "fuzz: replay corpora" "build failed"
  fi
  unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
fi

finish
