#!/usr/bin/env bash
# Builds VorlaLib and runs every check: the tests in a plain build and in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows compile of the library, then
# the fuzz targets (clang, libFuzzer) replaying their seed and regression inputs.
#
#   bash scripts/test.sh                 all stages
#   bash scripts/test.sh plain mingw     only the named stages (deps always runs)
#
# Stages: plain, sanitize, mingw, fuzz. Exits non-zero when any stage fails and ends with a
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

ALL_STAGES=(plain sanitize mingw fuzz)
if [[ $# -gt 0 ]]; then
  STAGES=("$@")
  for stage in "${STAGES[@]}"; do
    case "$stage" in
      plain|sanitize|mingw|fuzz) ;;
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
  if wants plain || wants sanitize || wants fuzz; then
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

# ---- Windows: every library source compiles and links against the real system headers ----
if wants mingw; then
  if step "mingw: configure" configure build-mingw \
       -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release; then
    step "mingw: build library" cmake --build "$ROOT/build-mingw" --target vorla --parallel "$JOBS"
  else
    skip "mingw: build library" "configure failed"
  fi
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
