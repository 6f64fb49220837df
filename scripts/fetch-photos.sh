#!/usr/bin/env bash
# Puts a few public photographs into the photo cache (default: .cache/photos in the checkout, or
# $TESSEL_PHOTO_DIR). They come from Debian's python3-skimage package, which is downloaded and
# unpacked only: nothing is installed, and no photo is committed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dest=${TESSEL_PHOTO_DIR:-$root/.cache/photos}
photos=(astronaut.png coffee.png chelsea.png rocket.jpg motorcycle_left.png)

have_all=1
for p in "${photos[@]}"; do [[ -s "$dest/$p" ]] || have_all=0; done
if ((have_all)); then
  echo "$dest"
  exit 0
fi

mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(
  cd "$work"
  if ! apt-get download python3-skimage >/dev/null 2>&1; then
    SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO="sudo"
    $SUDO apt-get update -qq
    apt-get download python3-skimage >/dev/null
  fi
  dpkg -x python3-skimage_*.deb unpacked
)
for p in "${photos[@]}"; do
  src=$(find "$work/unpacked" -path "*/skimage/data/$p" | head -n 1)
  if [[ -z "$src" ]]; then
    echo "fetch-photos: $p is not in python3-skimage" >&2
    exit 1
  fi
  cp "$src" "$dest/$p"
done
echo "$dest"
