#!/usr/bin/env bash
# Puts a few public photographs into the photo cache (default: .cache/photos in the checkout, or
# $TESSEL_PHOTO_DIR). They come from Debian's python3-skimage package, which is downloaded and
# unpacked only: nothing is installed, and no photo is committed. One more is drawn here:
# redeye.png, a face whose two pupils are plainly red, for the red-eye script.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dest=${TESSEL_PHOTO_DIR:-$root/.cache/photos}
photos=(astronaut.png coffee.png chelsea.png rocket.jpg motorcycle_left.png)

# 600 x 400: skin with a faint grain, two eyes 180 pixels apart on row 190 (left eye's pupil at
# x 210, right one's at 390): white, a brown iris of radius 16 and a red pupil of radius 9. Only
# the pupils have red above green and blue together.
draw_redeye() {
  local file=$dest/redeye.png
  [[ -s $file ]] && return 0
  mkdir -p "$dest"
  python3 - "$file.partial" <<'PY' && mv "$file.partial" "$file"
import struct, sys, zlib
width, height = 600, 400
def pixel(x, y):
    for cx in (210, 390):
        dx, dy = x - cx, y - 190
        d2 = dx * dx + dy * dy
        if d2 <= 9 * 9:
            return (200 + (x + y) % 7, 28 + x % 5, 32 + y % 5)
        if d2 <= 16 * 16:
            return (112, 78, 56)
        if (dx / 36) ** 2 + (dy / 20) ** 2 <= 1:
            return (238, 234, 228)
    grain = (x * 7 + y * 13) % 9 - 4
    return (214 + grain, 168 + grain + y // 40, 140 + grain + x // 60)
rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
PY
}
if command -v python3 >/dev/null; then
  draw_redeye
else
  echo "fetch-photos: no python3 to draw redeye.png with" >&2
fi

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
