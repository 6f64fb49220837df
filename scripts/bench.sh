#!/usr/bin/env bash
# Full-size results against the vips command line: qz_replay and the same work done with `vips`,
# each step through a .v file as a vips user chains them, on photo-like PNGs of the given sizes.
#   scripts/bench.sh [--sizes 1,4,12,48] [--runs N] [--build DIR]
# Needs a Release build with qz_replay (default build/release) and scripts/install-deps.sh --bench.
# The inputs are made once, in .cache/bench. Prints one table: per size and session, the median
# wall time of N runs (ours and vips back to back), the peak resident memory, the output's size,
# the cores used ((user + sys) / wall) and the ratios ours / vips. Nothing passes or fails here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sizes=1,4,12,48
runs=5
build=$root/build/release
while (($#)); do
  case $1 in
    --sizes) sizes=${2:?}; shift 2 ;;
    --runs) runs=${2:?}; shift 2 ;;
    --build) build=${2:?}; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--sizes 1,4,12,48] [--runs N] [--build DIR]" >&2; exit 2 ;;
  esac
done
[[ $sizes =~ ^[0-9]+(,[0-9]+)*$ && $runs =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: scripts/bench.sh [--sizes 1,4,12,48] [--runs N] [--build DIR]" >&2; exit 2; }

replay=$build/examples/qz_replay
photo=${TESSEL_PHOTO_DIR:-$root/.cache/photos}/chelsea.png
for need in "$replay" /usr/bin/time; do
  [[ -x $need ]] || { echo "bench.sh: $need is missing (build qz_replay; apt-get install time)" >&2; exit 1; }
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
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Sessions: original = effect=original (decode, nothing, encode; vips copy); three = crop, a quarter"
echo "turn, brightness (vips extract_area, rot, linear); six = QzReplayBench's crop, straighten 3 degrees,"
echo "brightness, contrast, saturation, sharpness (vips extract_area, similarity + extract_area, linear"
echo "twice, recomb + cast, sharpen). The vips times add up every command of the chain; MB is the peak"
echo "resident memory (the largest command's for vips); cores = (user + sys) / wall."
