#!/usr/bin/env bash
# The project's test command: installs what it needs, then builds and runs the whole suite twice,
# once optimised and once under AddressSanitizer + UndefinedBehaviorSanitizer, then runs the
# concurrency suites under ThreadSanitizer.
#   scripts/test.sh              all runs
#   scripts/test.sh release      the optimised run only
#   scripts/test.sh asan         the sanitizer run only
#   scripts/test.sh tsan         the ThreadSanitizer run of the concurrency suites (label tsan) only
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which_runs=${1:-all}
jobs=$(nproc)

scripts/install-deps.sh
export TESSEL_PHOTO_DIR=${TESSEL_PHOTO_DIR:-$root/.cache/photos}
scripts/fetch-photos.sh >/dev/null
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

run_suite() {
  local name=$1; shift
  echo "=== $name build ==="
  cmake -S . -B "build/$name" -G Ninja "$@" >/dev/null
  cmake --build "build/$name" -j "$jobs"
  echo "=== $name tests ==="
  (cd "build/$name" && ctest -j "$jobs" --output-on-failure --timeout 600)
}

if [[ $which_runs == all || $which_runs == release ]]; then
  run_suite release -DCMAKE_BUILD_TYPE=Release
fi
if [[ $which_runs == all || $which_runs == asan ]]; then
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    run_suite asan -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=address -DTESSEL_BUILD_BENCHMARKS=OFF
fi
if [[ $which_runs == all || $which_runs == tsan ]]; then
  echo "=== tsan build ==="
  cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=thread -DTESSEL_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build/tsan -j "$jobs" --target tessel_tsan_tests
  echo "=== tsan tests ==="
  (cd build/tsan && TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1} ctest -j "$jobs" -L tsan --output-on-failure --timeout 600)
fi
