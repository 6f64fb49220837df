#!/usr/bin/env bash
# The project's main job: builds the example host program tessel_editor and opens the editor on a
# real photograph, headless, running a short script that takes screenshots of the home screen and
# presses Done. Writes out/editor-*.png (screenshots) and out/astronaut-edited.png (the result).
#   scripts/run-example.sh [--script FILE] [--device phone|tablet]
#   scripts/run-example.sh --qop-apply [qop_apply's arguments]   # the imaging library alone
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
photos=$(TESSEL_PHOTO_DIR=${TESSEL_PHOTO_DIR:-$root/.cache/photos} scripts/fetch-photos.sh)
export CCACHE_DIR=${CCACHE_DIR:-$root/.cache/ccache}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
mkdir -p out

if [[ ${1:-} == --qop-apply ]]; then
  shift
  cmake --build build/release -j "$(nproc)" --target qop_apply
  operation=${1:-sepia}
  shift || true
  output="out/astronaut-$operation.png"
  build/release/examples/qop_apply "$photos/astronaut.png" "$output" "$operation" "$@"
  [[ $operation == --help ]] || echo "Wrote $output"
  exit 0
fi

cmake --build build/release -j "$(nproc)" --target tessel_editor

script=""
device=phone
while [[ $# -gt 0 ]]; do
  case $1 in
    --script) script=$2; shift 2 ;;
    --device) device=$2; shift 2 ;;
    *) echo "usage: scripts/run-example.sh [--script FILE] [--device phone|tablet] | --qop-apply [ARGS...]" >&2; exit 2 ;;
  esac
done
if [[ -z $script ]]; then
  script=out/editor-script.txt
  cat > "$script" <<'SCRIPT'
# The home screen as it opens: the photo on the canvas, the bar with Cancel and Done, the tool strip.
wait 0.5
expect Photo Editor
expect Done
screenshot editor-home
# Holding the canvas of an unedited photo shows nothing more; Done hands the photo back.
press 160,300 0.3
screenshot editor-after-press
tap Done
SCRIPT
fi
output=out/astronaut-edited.png
rm -f "$output"
build/release/examples/tessel_editor --headless --device "$device" --script "$script" \
  --screenshots out --output "$output" "$photos/astronaut.png"
if [[ -f $output ]]; then echo "Wrote $output and the screenshots in out/"; fi
