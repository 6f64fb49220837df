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
# A compile can take a gigabyte or more; fewer jobs than cores where memory is short.
memory_jobs=$(awk '/MemAvailable/ { n = int($2 / 1500000); print (n < 1 ? 1 : n) }' /proc/meminfo)
jobs=$(( $(nproc) < memory_jobs ? $(nproc) : memory_jobs ))

scripts/install-deps.sh
export TESSEL_PHOTO_DIR=${TESSEL_PHOTO_DIR:-$root/.cache/photos}
scripts/fetch-photos.sh >/dev/null
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

# A build that fails is tried once more with two jobs: a compiler killed for memory then passes,
# while a real compile error fails again with its message at the end of the log.
build() {
  local dir=$1; shift
  if ! cmake --build "$dir" -j "$jobs" "$@"; then
    echo "=== the build of $dir failed with $jobs jobs; building again with 2 ===" >&2
    cmake --build "$dir" -j 2 "$@"
  fi
}

# CTest starts the tests it timed longest first. A build's first run has no timings of its own and
# would start them in the order they were declared, ending on the editor's slow program tests alone:
# it borrows the optimised run's timings, whose order the sanitizer runs share.
borrow_timings() {
  local dir=$1 costs=Testing/Temporary/CTestCostData.txt
  if [[ ! -s $dir/$costs && -s build/release/$costs ]]; then
    mkdir -p "$dir/Testing/Temporary" && cp build/release/$costs "$dir/$costs"
  fi
}

run_suite() {
  local name=$1; shift
  echo "=== $name build ==="
  cmake -S . -B "build/$name" -G Ninja "$@" >/dev/null
  build "build/$name"
  echo "=== $name tests ==="
  borrow_timings "build/$name"
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
  build build/tsan --target tessel_tsan_tests
  echo "=== tsan tests ==="
  borrow_timings build/tsan
  (cd build/tsan && TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1} ctest -j "$jobs" -L tsan --output-on-failure --timeout 600)
fi
