#!/usr/bin/env bash
# The project's main job: builds the example host program and runs it on a real photograph.
#   scripts/run-example.sh [--gpu] [OPERATION [ARGUMENTS...]]
#   scripts/run-example.sh [--gpu] --recipe FILE.json
# writes out/astronaut-<operation or recipe>[-gpu].png. `scripts/run-example.sh --help` lists the
# operations.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
photos=$(TESSEL_PHOTO_DIR=${TESSEL_PHOTO_DIR:-$root/.cache/photos} scripts/fetch-photos.sh)
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target qop_apply

# Leading options pass through to qop_apply; a recipe names the output after its file.
options=()
label=""
suffix=""
while [[ $# -gt 0 ]]; do
  case $1 in
    --recipe) options+=(--recipe "$2"); label=$(basename "$2" .json); shift 2 ;;
    --gpu) options+=(--gpu); suffix="-gpu"; shift ;;
    *) break ;;
  esac
done
if [[ -z $label ]]; then
  operation=${1:-sepia}
  shift || true
  label=$operation
  set -- "$operation" "$@"
fi
mkdir -p out
output="out/astronaut-$label$suffix.png"
build/release/examples/qop_apply "${options[@]}" "$photos/astronaut.png" "$output" "$@"
[[ $label == --help ]] || echo "Wrote $output"
