#!/usr/bin/env bash
# Full-size results against the vips command line: qz_replay and the same work done with `vips`,
# each step through a .v file as a vips user chains them, on photo-like PNGs of the given sizes;
# then the editor against the bare replay: tessel_editor playing scripts beside qz_replay doing the
# same steps, at the editor sizes.
#   scripts/bench.sh [--sizes 1,4,12,48] [--editor-sizes 12,48] [--runs N] [--build DIR]
# Needs a Release build with qz_replay and tessel_editor (default build/release) and
# scripts/install-deps.sh --bench. The inputs are made once, in .cache/bench. Prints two tables:
# per size and session, the median wall time of N runs (ours and vips back to back), the peak
# resident memory, the output's size, the cores used ((user + sys) / wall) and the ratios
# ours / vips; and per editor size and script, the editor's and qz_replay's median wall time and
# peak memory, and what the script adds to each over the same program doing no edit. Nothing
# passes or fails here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sizes=1,4,12,48
editor_sizes=12,48
runs=5
build=$root/build/release
usage="usage: scripts/bench.sh [--sizes 1,4,12,48] [--editor-sizes 12,48] [--runs N] [--build DIR]"
while (($#)); do
  case $1 in
    --sizes) sizes=${2:?}; shift 2 ;;
    --editor-sizes) editor_sizes=${2:?}; shift 2 ;;
    --runs) runs=${2:?}; shift 2 ;;
    --build) build=${2:?}; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[[ $sizes =~ ^[0-9]+(,[0-9]+)*$ && $editor_sizes =~ ^([0-9]+(,[0-9]+)*)?$ && $runs =~ ^[1-9][0-9]*$ ]] || {
  echo "$usage" >&2; exit 2; }

replay=$build/examples/qz_replay
editor=$build/examples/tessel_editor
photo=${TESSEL_PHOTO_DIR:-$root/.cache/photos}/chelsea.png
for need in "$replay" "$editor" /usr/bin/time; do
  [[ -x $need ]] || {
    echo "bench.sh: $need is missing (build qz_replay and tessel_editor; apt-get install time)" >&2; exit 1; }
done
command -v vips >/dev/null || { echo "bench.sh: no vips command: run scripts/install-deps.sh --bench" >&2; exit 1; }
[[ -f $photo ]] || { echo "bench.sh: no $photo: run scripts/fetch-photos.sh" >&2; exit 1; }

cache=$root/.cache/bench
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$cache"

calc() { python3 -c "import math; print($1)"; }

# A photo-like input of MP megapixels, 4:3: the photograph enlarged, with sensor-like grain.
input_for() {
  local mp=$1 file=$cache/photo-${1}mp.png
  if [[ ! -f $file ]]; then
    local width height
    width=$(calc "round(math.sqrt($mp * 1e6 * 4 / 3))")
    height=$(calc "round($width * 3 / 4)")
    vips resize "$photo" "$work/big.v" "$(calc "$width / 451")" --vscale "$(calc "$height / 300")"
    vips extract_area "$work/big.v" "$work/fit.v" 0 0 "$width" "$height"
    vips gaussnoise "$work/noise.v" "$width" "$height" --sigma 3 --mean 0
    vips add "$work/fit.v" "$work/noise.v" "$work/sum.v"
    vips cast "$work/sum.v" "$work/rgb.v" uchar
    vips copy "$work/rgb.v" "$file.partial.png"
    mv "$file.partial.png" "$file"
    rm -f "$work"/*.v
  fi
  echo "$file"
}

# The vips side of each session: a list of commands, each line one command reading the one
# before's output; IN and OUT stand for the input and the final PNG.
vips_session() {
  local session=$1 in=$2 width height
  width=$(vipsheader -f width "$in")
  height=$(vipsheader -f height "$in")
  case $session in
    original) echo "vips copy IN OUT" ;;
    three)
      local x y w h
      x=$(calc "math.floor(0.1 * $width)"); y=$(calc "math.floor(0.1 * $height)")
      w=$(calc "math.ceil(0.9 * $width) - $x"); h=$(calc "math.ceil(0.9 * $height) - $y")
      echo "vips extract_area IN $work/a.v $x $y $w $h"
      echo "vips rot $work/a.v $work/b.v d90"
      echo "vips linear --uchar $work/b.v OUT 1 40" ;;
    six)
      local x y w h s sw sh
      x=$(calc "math.floor(0.05 * $width)"); y=$(calc "math.floor(0.05 * $height)")
      w=$(calc "math.ceil(0.95 * $width) - $x"); h=$(calc "math.ceil(0.95 * $height) - $y")
      # The zoom that keeps a turned rectangle free of empty corners, and the centre it keeps.
      s=$(calc "math.cos(math.radians(3)) + math.sin(math.radians(3)) * max($w / $h, $h / $w)")
      sw=$(calc "math.floor($w / $s)"); sh=$(calc "math.floor($h / $s)")
      printf '3 3\n1.0712 -0.0646 -0.0125\n-0.0330 1.0410 -0.0080\n-0.0330 -0.0646 1.0976\n' >"$work/saturation.mat"
      echo "vips extract_area IN $work/a.v $x $y $w $h"
      echo "vips similarity $work/a.v $work/b.v --angle -3 --interpolate bilinear"
      echo "vips extract_area $work/b.v $work/c.v $(calc "(math.floor($w * math.cos(math.radians(3)) + $h * math.sin(math.radians(3))) - $sw) // 2") $(calc "(math.floor($h * math.cos(math.radians(3)) + $w * math.sin(math.radians(3))) - $sh) // 2") $sw $sh"
      echo "vips linear --uchar $work/c.v $work/d.v 1 20"
      echo "vips linear --uchar $work/d.v $work/e.v 1.15 -- -19"
      echo "vips recomb $work/e.v $work/f.v $work/saturation.mat"
      echo "vips cast $work/f.v $work/g.v uchar"
      echo "vips sharpen $work/g.v OUT --sigma 1.5" ;;
  esac
}

ours_steps() {
  case $1 in
    original) echo "effect=original" ;;
    three) echo "crop=0.1,0.1,0.8,0.8 rotate=1 brightness=40" ;;
    six) echo "crop=0.05,0.05,0.9,0.9 straighten=3 brightness=20 contrast=15 saturation=10 sharpness=40" ;;
  esac
}

# Runs the commands (one a line) one after another under /usr/bin/time; prints
# "wall_seconds cpu_seconds peak_kilobytes" summed (wall, cpu) and the largest (memory).
timed() {
  local wall=0 cpu=0 peak=0 line
  while IFS= read -r line; do
    # shellcheck disable=SC2086
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" $line >/dev/null 2>"$work/err" || {
      echo "bench.sh: failed: $line" >&2; cat "$work/err" >&2; exit 1; }
    read -r e u s m <"$work/time"
    wall=$(calc "$wall + $e"); cpu=$(calc "$cpu + $u + $s")
    ((m > peak)) && peak=$m
  done
  echo "$wall $cpu $peak"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "scripts/bench.sh: median of $runs runs, ours and vips back to back; $(nproc) cores;" \
  "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-4s %-9s %8s %8s %7s | %8s %8s %7s | %8s %8s %7s | %6s %6s\n' MP session "ours s" "vips s" ratio \
  "ours MB" "vips MB" ratio "out MB" "vips out" ratio "cores" "vips"
for mp in ${sizes//,/ }; do
  in=$(input_for "$mp")
  for session in original three six; do
    read -ra steps <<<"$(ours_steps "$session")"
    : >"$work/ours"; : >"$work/vips"
    for ((run = 0; run < runs; ++run)); do
      echo "$replay $in $work/ours.png ${steps[*]}" | timed >>"$work/ours"
      vips_session "$session" "$in" | sed "s|IN|$in|; s|OUT|$work/vips.png|" | timed >>"$work/vips"
    done
    ow=$(cut -d' ' -f1 "$work/ours" | median); vw=$(cut -d' ' -f1 "$work/vips" | median)
    oc=$(cut -d' ' -f2 "$work/ours" | median); vc=$(cut -d' ' -f2 "$work/vips" | median)
    om=$(cut -d' ' -f3 "$work/ours" | median); vm=$(cut -d' ' -f3 "$work/vips" | median)
    os=$(stat -c %s "$work/ours.png"); vs=$(stat -c %s "$work/vips.png")
    printf '%-4s %-9s %8.2f %8.2f %7.2f | %8.0f %8.0f %7.2f | %8.1f %8.1f %7.2f | %6.1f %6.1f\n' "$mp" "$session" \
      "$ow" "$vw" "$(calc "$ow / $vw")" "$(calc "$om / 1024")" "$(calc "$vm / 1024")" "$(calc "$om / $vm")" \
      "$(calc "$os / 1e6")" "$(calc "$vs / 1e6")" "$(calc "$os / $vs")" "$(calc "$oc / max($ow, 0.01)")" \
      "$(calc "$vc / max($vw, 0.01)")"
    rm -f "$work"/*.v
  done
done
# ---- The editor over the bare replay ----

# The Star sticker of the shipped Doodles pack, the largest picture of it the build holds.
star=$(find "$build" -path '*doodle_stickers*' -name 'star*.png' -printf '%s %p\n' 2>/dev/null | sort -n |
  tail -n 1 | cut -d' ' -f2-)
# The scripts the editor plays, without their screenshots: none (open, then Done), adjust.txt,
# stickers.txt, and stickers.txt with its Star tapped on 1000 times.
printf 'wait 1\ntap Done\n' >"$work/none.txt"
grep -v '^screenshot' "$root/examples/scripts/adjust.txt" >"$work/adjust.txt"
grep -v '^screenshot' "$root/examples/scripts/stickers.txt" >"$work/stickers.txt"
awk '/^tap Star/ { for (i = 0; i < 1000; ++i) print "tap Star"; next } { print }' \
  "$work/stickers.txt" >"$work/stickers-1000.txt"

# qz_replay's steps for a script: what the editor's session records. A tapped sticker lands in the
# middle, 0.275 of the photo's width on a side (the inputs are 4:3).
editor_steps() {
  local i
  case $1 in
    none) echo "effect=original" ;;
    adjust) echo "adjust=100,30,0,0" ;;
    stickers) echo "sticker=$star,0.3625,0.3167,0.275,0.3667" ;;
    stickers-1000) for ((i = 0; i < 1000; ++i)); do printf 'sticker=%s,0.3625,0.3167,0.275,0.3667 ' "$star"; done ;;
  esac
}

if [[ -n $editor_sizes ]]; then
  [[ -n $star ]] || { echo "bench.sh: no star sticker under $build (build TesselSDKShippedPacks)" >&2; exit 1; }
  echo
  echo "tessel_editor against qz_replay: median of $runs runs; load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  printf '%-4s %-13s %8s %8s | %8s %8s | %8s %8s %6s | %8s %7s\n' MP script "editor s" "qz s" "ed MB" "qz MB" \
    "ed+ s" "qz+ s" ratio "ed+ MB" images
  for mp in ${editor_sizes//,/ }; do
    in=$(input_for "$mp")
    image_mb=$(calc "$(vipsheader -f width "$in") * $(vipsheader -f height "$in") * 4 / 2 ** 20")
    for script in none adjust stickers stickers-1000; do
      # A thousand stickers on 12 MP at most: qz_replay commits each step, a full-size copy.
      [[ $script == stickers-1000 ]] && ((mp > 12)) && continue
      : >"$work/editor"; : >"$work/qz"
      for ((run = 0; run < runs; ++run)); do
        rm -rf "$work/content"
        echo "$editor --headless --script $work/$script.txt --content-root $work/content --output $work/editor.png $in" |
          timed >>"$work/editor"
        echo "$replay $in $work/qz.png $(editor_steps "$script")" | timed >>"$work/qz"
      done
      ew=$(cut -d' ' -f1 "$work/editor" | median); qw=$(cut -d' ' -f1 "$work/qz" | median)
      em=$(cut -d' ' -f3 "$work/editor" | median); qm=$(cut -d' ' -f3 "$work/qz" | median)
      [[ $script == none ]] && { ew0=$ew; qw0=$qw; em0=$em; }
      printf '%-4s %-13s %8.2f %8.2f | %8.0f %8.0f | %8.2f %8.2f %6.2f | %8.0f %7.2f\n' "$mp" "$script" "$ew" "$qw" \
        "$(calc "$em / 1024")" "$(calc "$qm / 1024")" "$(calc "$ew - $ew0")" "$(calc "$qw - $qw0")" \
        "$(calc "($ew - $ew0) / $qw")" "$(calc "($em - $em0) / 1024")" \
        "$(calc "($em - $em0) / 1024 / $image_mb")"
    done
  done
fi

echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Sessions: original = effect=original (decode, nothing, encode; vips copy); three = crop, a quarter"
echo "turn, brightness (vips extract_area, rot, linear); six = QzReplayBench's crop, straighten 3 degrees,"
echo "brightness, contrast, saturation, sharpness (vips extract_area, similarity + extract_area, linear"
echo "twice, recomb + cast, sharpen). The vips times add up every command of the chain; MB is the peak"
echo "resident memory (the largest command's for vips); cores = (user + sys) / wall."
echo "Editor scripts: none = open, then Done (qz_replay: effect=original); adjust = examples/scripts/adjust.txt"
echo "(adjust=100,30,0,0); stickers = examples/scripts/stickers.txt, Star in the middle (one sticker= step);"
echo "stickers-1000 = Star tapped on 1000 times, up to 12 MP (1000 sticker= steps, a module each). ed+ and qz+"
echo "are what the script adds to the program's none; ratio = ed+ / qz s, the editor's cost over Done with no"
echo "edit against qz_replay doing the same steps; ed+ MB is the editor's added peak memory, and images that in"
echo "full-size RGBA images of the input."
