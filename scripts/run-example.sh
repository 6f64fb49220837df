#!/usr/bin/env bash
# The project's main job: builds the example host program tessel_editor and opens the editor on a
# real photograph, headless, playing examples/scripts/adjust.txt: the adjust tool opened, brightness
# and contrast raised, applied, Done. Writes a screenshot after each step into out/ and the edited
# photo to out/astronaut-edited.png. Other scripts: --script examples/scripts/sharpness.txt ...
#   scripts/run-example.sh [--script FILE] [--photo NAME] [--device phone|tablet]
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
photo=astronaut.png
device=phone
while [[ $# -gt 0 ]]; do
  case $1 in
    --script) script=$2; shift 2 ;;
    --photo) photo=$2; shift 2 ;;
    --device) device=$2; shift 2 ;;
    *) echo "usage: scripts/run-example.sh [--script FILE] [--photo NAME] [--device phone|tablet] | --qop-apply [ARGS...]" >&2
       exit 2 ;;
  esac
done
if [[ ! -f $photos/$photo ]]; then
  echo "run-example.sh: no photo $photo in $photos (one of: $(ls "$photos" | tr '\n' ' '))" >&2
  exit 2
fi
# By default a person's short edit: the adjust tool opened from the strip, brightness and contrast
# raised, applied, then Done.
script=${script:-examples/scripts/adjust.txt}
output=out/${photo%.*}-edited.png
rm -f "$output"
# The editor's content store, packs and settings in out/ rather than the person's data folder.
build/release/examples/tessel_editor --headless --device "$device" --script "$script" \
  --content-root out/content --screenshots out --output "$output" "$photos/$photo"
if [[ -f $output ]]; then echo "Wrote $output and the screenshots in out/"; fi
