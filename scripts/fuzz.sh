#!/usr/bin/env bash
# Builds every libFuzzer target of the tree (clang, libFuzzer, ASan + UBSan) in build/fuzz and runs
# each for SECONDS (default 60), FUZZ_JOBS of them at a time (default: the number of cores). A
# target is any fuzz/<Name>Fuzzer.cpp; it starts from its seed corpus (fuzz/corpus/<Name>/, or
# fuzz/corpus/ where the directory has one target) with fuzz/<Name>.dict when there is one.
# Prints per target the executions and whether anything was found. Exit 1 when any target found a
# crash, leak, timeout, memory blow-up or sanitizer report; its reproducer and log stay in
# .cache/fuzz/<Name>/. Not part of scripts/test.sh: the ordinary suite runs the regression inputs.
#   scripts/fuzz.sh          60 seconds each
#   scripts/fuzz.sh 600      10 minutes each
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
if [[ $# -gt 1 || ! $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi
jobs=${FUZZ_JOBS:-$(nproc)}
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

mapfile -t sources < <(find . \( -path ./build -o -path ./.cache -o -path ./.git \) -prune -o \
                              -path '*/fuzz/*Fuzzer.cpp' -print | sort)
if [[ ${#sources[@]} -eq 0 ]]; then
  echo "no fuzz targets found" >&2
  exit 1
fi
names=()
for source in "${sources[@]}"; do names+=("$(basename "$source" .cpp)"); done

echo "=== fuzz build (${#names[@]} targets) ==="
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTESSEL_BUILD_FUZZERS=ON \
  -DTESSEL_BUILD_TESTS=OFF -DTESSEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "${names[@]}"

run_target() {
  local source=$1 name dir work seeds
  name=$(basename "$source" .cpp)
  dir=$(dirname "$source")
  work=.cache/fuzz/$name
  rm -rf "$work"
  mkdir -p "$work/corpus"
  seeds=$dir/corpus/$name
  [[ -d $seeds ]] || seeds=$dir/corpus
  local options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=30 -rss_limit_mb=2048
                 -artifact_prefix="$work/")
  [[ -f $dir/$name.dict ]] && options+=(-dict="$dir/$name.dict")
  local binary
  binary=$(find build/fuzz -type f -name "$name" -perm -u+x | head -n 1)
  # New inputs go to the work corpus only; the seeds in the tree are never written.
  UBSAN_OPTIONS=print_stacktrace=1 "$binary" "${options[@]}" "$work/corpus" "$seeds" >"$work/log" 2>&1 || true
}

echo "=== fuzzing ${seconds}s per target, $jobs at a time ==="
running=0
for source in "${sources[@]}"; do
  run_target "$source" &
  if (( ++running >= jobs )); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
printf '%-28s %14s  %s\n' target executions result
for name in "${names[@]}"; do
  work=.cache/fuzz/$name
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  mapfile -t found < <(find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
                        -o -name 'timeout-*' -o -name 'oom-*' \) -print)
  if [[ ${#found[@]} -gt 0 ]] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$work/log"; then
    failed=1
    printf '%-28s %14s  FOUND: %s (log %s)\n' "$name" "${executions:-?}" "${found[*]:-see log}" "$work/log"
  elif [[ -z $executions ]]; then
    failed=1
    printf '%-28s %14s  DID NOT RUN (log %s)\n' "$name" "?" "$work/log"
  else
    printf '%-28s %14s  clean\n' "$name" "$executions"
  fi
done
exit "$failed"
