#!/usr/bin/env bash
# Thumbnail benchmark: our thumbnail maker against vipsthumbnail, a bare QImageReader loop and
# the JPEG decode floor (djpeg -scale 1/8), each on 2 threads or processes, over the same
# generated camera-like photos. Every contender is timed from outside by /usr/bin/time (wall
# and CPU time, peak memory). Within each run the contenders take turns, starting with a
# different one every run, so that a change in the machine's load falls on all of them alike.
# On a busy machine the CPU-time ratios are the ones to trust. In the main window, from a cold
# cache: the first screen after placing the photos, with their Exif previews and without
# (the same photos stripped of them), and start-up with a 400-row album.
#   bench/thumbnails/run.sh [RUNS]   (WORK=folder for photos and outputs, BUILD_DIR=build folder,
#                                     BASELINE=an earlier thumbnail_bench to compare with)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/bench/lib.sh"
WORK="${WORK:-/tmp/tovenla-thumbnail-bench}"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
RUNS="${1:-5}"
IMAGES="$WORK/camera" # camera-like photos with Exif previews

need=()
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
command -v djpeg >/dev/null || need+=(libjpeg-turbo-progs)
command -v file >/dev/null || need+=(file)
[ -x /usr/bin/time ] || need+=(time)
install_packages "${need[@]}"

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target make_bench_images thumbnail_bench >/dev/null
BENCH="${BENCH:-$BUILD_DIR/bench/thumbnail_bench}"
if [ ! -f "$IMAGES/IMG_0200.JPG" ]; then
  echo "Generating photos in $IMAGES ..."
  "$BUILD_DIR/bench/make_bench_images" "$IMAGES" 200
fi
PLAIN="$WORK/plain" # the same JPEGs without their previews
rm -rf "$PLAIN" && "$BUILD_DIR/bench/make_bench_images" strip "$IMAGES" "$PLAIN"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Program folders, each with a 400-row album over the photos.
for kind in camera plain; do
  mkdir -p "$WORK/program-$kind"
  "$BENCH" album "$WORK/$kind" "$WORK/program-$kind" 400
done

CACHE="$WORK/cache"     # our cold runs
WARM="$WORK/warm"       # filled once, then read by every warm run
VIPS_OUT="$WORK/vips-out"
RESULTS="$WORK/results"
: >"$RESULTS"

count=$(ls "$IMAGES" | wc -l)
jpegs=$(ls "$IMAGES" | grep -c '\.JPG$')

# Every contender works on the same files: all of them, or the JPEGs where djpeg is compared.
ours() { rm -rf "$CACHE"; "$BENCH" run "$IMAGES" "$CACHE" 2; }
ours_nocache() { "$BENCH" run "$IMAGES" - 2; }
ours_jpeg() { rm -rf "$CACHE"; "$BENCH" run "$IMAGES" "$CACHE" 2 jpeg; }
ours_warm() { "$BENCH" run "$IMAGES" "$WARM" 2; }
qt_plain() { "$BENCH" plain "$IMAGES" 2; }
vips() {
  rm -rf "$VIPS_OUT" && mkdir -p "$VIPS_OUT"
  (cd "$IMAGES" && ls | VIPS_CONCURRENCY=1 xargs -P2 -n $(((count + 7) / 8)) vipsthumbnail -s 256 -o "$VIPS_OUT/%s.jpg")
}
# One process per file, as djpeg takes one; its output goes nowhere.
djpeg_floor() {
  (cd "$IMAGES" && ls *.JPG | xargs -P2 -n $(((jpegs + 7) / 8)) sh -c 'for f; do djpeg -scale 1/8 "$f" >/dev/null; done' sh)
}
# The decode floor of the first screen: the first 30 photos.
djpeg_first30() {
  (cd "$IMAGES" && ls *.JPG | head -30 | xargs -P2 -n 15 sh -c 'for f; do djpeg -scale 1/8 "$f" >/dev/null; done' sh)
}
CONTENDERS=(ours ours_nocache ours_jpeg ours_warm qt_plain vips djpeg_floor djpeg_first30)
BASELINE="${BASELINE:-}"
baseline() { rm -rf "$CACHE"; "$BASELINE" run "$IMAGES" "$CACHE" 2; }
[ -n "$BASELINE" ] && CONTENDERS+=(baseline)
export BASELINE
export BENCH IMAGES CACHE WARM VIPS_OUT count jpegs
export -f "${CONTENDERS[@]}"

timed() { # name: appends "name wall_s cpu_s peak_kb" to the results
  local name="$1" t="$WORK/time.out"
  /usr/bin/time -f "%e %U %S %M" -o "$t" bash -c "$name" >/dev/null
  awk -v n="$name" '{printf "%s %s %.2f %s\n", n, $1, $2 + $3, $4}' "$t" >>"$RESULTS"
}

rm -rf "$WARM" && "$BENCH" run "$IMAGES" "$WARM" 2
# The warm cache as the desktop's, for start-up.
mkdir -p "$WORK/warm-home" && ln -sfn "$WARM" "$WORK/warm-home/thumbnails"
cat "$IMAGES"/* >/dev/null # every contender reads from the page cache
n=${#CONTENDERS[@]}
for ((run = 0; run < RUNS; run++)); do
  for ((k = 0; k < n; k++)); do
    timed "${CONTENDERS[$(((run + k) % n))]}"
  done
  # The first screen after a placement and start-up with an album, from a cold cache.
  rm -rf "$WORK/xdg"
  XDG_CACHE_HOME="$WORK/xdg" "$BENCH" first30 "$IMAGES" previews | awk '{print "first30", $1, $2, $3, $4}' >>"$RESULTS"
  rm -rf "$WORK/xdg"
  XDG_CACHE_HOME="$WORK/xdg" "$BENCH" first30 "$PLAIN" | awk '{print "first30_plain", $1, $2, $3, $4}' >>"$RESULTS"
  for kind in camera plain; do
    rm -rf "$WORK/xdg"
    XDG_CACHE_HOME="$WORK/xdg" "$BENCH" startup "$WORK/program-$kind" "$WORK/program-$kind/album.dat" |
      awk -v n="startup_$kind" '{print n, $1, $2}' >>"$RESULTS"
  done
  XDG_CACHE_HOME="$WORK/warm-home" "$BENCH" startup "$WORK/program-camera" "$WORK/program-camera/album.dat" |
    awk '{print "startup_warm", $1, $2}' >>"$RESULTS"
  echo "run $((run + 1)) of $RUNS done"
done

med() { # name column -> median
  awk -v n="$1" -v c="$2" '$1 == n {print $c}' "$RESULTS" | median
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
line() { printf "  %-44s %7s s wall %7s s CPU\n" "$1" "$(med "$2" 2)" "$(med "$2" 3)"; }

echo
echo "Medians of $RUNS runs, 2 threads/processes, $count files ($jpegs JPEGs of 4000x3000):"
line "ours, cold cache (decode + 2 PNG entries):" ours
line "ours, no cache (decode only):" ours_nocache
line "ours, warm cache:" ours_warm
line "bare QImageReader loop (decode only):" qt_plain
line "vipsthumbnail -s 256 (decode + JPEG file):" vips
line "ours, cold cache, JPEGs only:" ours_jpeg
line "djpeg -scale 1/8, JPEGs only:" djpeg_floor
[ -n "$BASELINE" ] && line "baseline build, cold cache:" baseline
echo
echo "Ratios (wall / CPU):"
echo "  throughput vs vipsthumbnail:      $(ratio "$(med vips 2)" "$(med ours 2)")x / $(ratio "$(med vips 3)" "$(med ours 3)")x   (target >= 1.15)"
echo "  time vs decode floor (JPEGs):     $(ratio "$(med ours_jpeg 2)" "$(med djpeg_floor 2)")x / $(ratio "$(med ours_jpeg 3)" "$(med djpeg_floor 3)")x   (target <= 1.25)"
echo "  time vs bare QImageReader loop:   $(ratio "$(med ours 2)" "$(med qt_plain 2)")x / $(ratio "$(med ours 3)" "$(med qt_plain 3)")x"
echo "  warm cache, times faster:         $(ratio "$(med ours 2)" "$(med ours_warm 2)")x / $(ratio "$(med ours 3)" "$(med ours_warm 3)")x   (target >= 10)"
[ -n "$BASELINE" ] && echo "  time vs baseline build:           $(ratio "$(med ours 2)" "$(med baseline 2)")x / $(ratio "$(med ours 3)" "$(med baseline 3)")x"
peak=$(awk '$1 == "ours" && $4 > m {m = $4} END {print m}' "$RESULTS")
echo "  peak memory, whole cold run:      $((peak / 1024)) MB   (target < 100)"
echo
echo "In the main window, cold cache (ms; medians):       with previews   without"
printf "  placed: rows 1-30 hold a picture            %9s %13s   (target < 300 with)\n" "$(med first30 2)" "$(med first30_plain 2)"
printf "  placed: visible rows painted, first picture %9s %13s\n" "$(med first30 3)" "$(med first30_plain 3)"
printf "  placed: visible rows painted, real picture  %9s %13s\n" "$(med first30 4)" "$(med first30_plain 4)"
printf "  placed: all 200 rows done                   %9s %13s\n" "$(med first30 5)" "$(med first30_plain 5)"
printf "  start-up, 400 rows: window shown, painted   %9s %13s   (target < 500; warm cache %s)\n" "$(med startup_camera 2)" "$(med startup_plain 2)" "$(med startup_warm 2)"
printf "  start-up, 400 rows: rows 1-30 hold a picture %8s %13s   (warm cache %s)\n" "$(med startup_camera 3)" "$(med startup_plain 3)" "$(med startup_warm 3)"
echo "  first 30 rows without previews vs their decode floor: $(ratio "$(med first30_plain 2)" "$(awk -v f="$(med djpeg_first30 2)" 'BEGIN {print f * 1000}')")x   (djpeg, 30 JPEGs: $(med djpeg_first30 2) s wall)"

# The work each contender did, from its outputs.
echo
echo "Work check:"
echo "  ours: $(ls "$WARM"/large | wc -l) large and $(ls "$WARM"/normal | wc -l) normal PNG entries, e.g. $(file -b "$WARM"/large/"$(ls "$WARM"/large | head -1)" | cut -d, -f1-2)"
echo "  vipsthumbnail: $(ls "$VIPS_OUT" | wc -l) JPEG files, e.g. $(file -b "$VIPS_OUT"/IMG_0001.jpg | grep -o '[0-9]*x[0-9]*, components' | cut -d, -f1)"
echo "  turned photo IMG_0005: ours $(file -b "$WARM/large/$(printf '%s' "file://$IMAGES/IMG_0005.JPG" | md5sum | cut -d' ' -f1).png" | cut -d, -f2), vipsthumbnail $(file -b "$VIPS_OUT"/IMG_0005.jpg | grep -o '[0-9]*x[0-9]*, components' | cut -d, -f1)"
