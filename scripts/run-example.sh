#!/usr/bin/env bash
# The project's main job: builds the example host program and runs it on a real photograph.
#   scripts/run-example.sh [OPERATION [more qop_apply arguments]]
# writes out/<photo>-<operation>.png. Run build/release/examples/qop_apply --help for the list.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
photos=$(TESSEL_PHOTO_DIR=${TESSEL_PHOTO_DIR:-$root/.cache/photos} scripts/fetch-photos.sh)
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target qop_apply

operation=${1:-sepia}
shift || true
mkdir -p out
output="out/astronaut-$operation.png"
build/release/examples/qop_apply "$photos/astronaut.png" "$output" "$operation" "$@"
[[ $operation == --help ]] || echo "Wrote $output"
