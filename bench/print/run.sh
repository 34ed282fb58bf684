#!/usr/bin/env bash
# PDF benchmark: `tovenla2 pdf` of 100 camera-like photos (34 A4 pages) against vipsthumbnail
# preparing the same pictures at the same size and JPEG quality on 2 processes, the two run
# in turn pair by pair; medians of wall and CPU time, the median of the pairs' ratios, peak
# memory, the PDF's size a photo, and the preview's page flips.
#   bench/print/run.sh [RUNS]   (WORK=folder for photos and outputs, BUILD_DIR=build folder,
#                                BASELINE=an earlier tovenla2 to time in the same run)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/bench/lib.sh"
WORK="${WORK:-/tmp/tovenla-print-bench}"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
RUNS="${1:-5}"
PHOTOS="$WORK/photos"

need=()
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
command -v cjpeg >/dev/null || need+=(libjpeg-turbo-progs)
command -v pdfimages >/dev/null || need+=(poppler-utils)
[ -x /usr/bin/time ] || need+=(time)
install_packages "${need[@]}"

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target tovenla2 make_bench_images preview_flip_bench >/dev/null
OURS="$BUILD_DIR/tovenla2"
export QT_QPA_PLATFORM=offscreen TOVENLA_HOME="$WORK/home"
mkdir -p "$TOVENLA_HOME" "$WORK/runtime" && chmod 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"

if [ "$(ls "$PHOTOS" 2>/dev/null | grep -c '\.JPG$')" -lt 100 ]; then
  echo "Generating 100 photos of 4000x3000 in $PHOTOS ..."
  "$BUILD_DIR/bench/make_bench_images" "$PHOTOS" 100 >/dev/null
fi
{
  printf 'h1,h2,file\r\n'
  ls "$PHOTOS" | grep '\.JPG$' | head -100 | awk '{printf "No.%d,測点%d,%s\r\n", NR, NR, $0}'
} >"$PHOTOS/list.csv"
"$OURS" import-csv "$PHOTOS/list.csv" "$WORK/album.dat" >/dev/null
"$OURS" pdf "$WORK/album.dat" "$WORK/album.pdf" >/dev/null
# The reference makes pictures of the size the PDF holds: the frame at 300 dpi.
SIZE=$(pdfimages -list "$WORK/album.pdf" | awk 'NR == 3 {print $4 "x" $5}')
cat "$PHOTOS"/*.JPG >/dev/null

RESULTS="$WORK/results"
: >"$RESULTS"
timed() { # name command... : appends "name wall_s cpu_s peak_kb"
  local name="$1" t="$WORK/time.out"
  shift
  /usr/bin/time -v -o "$t" "$@" >/dev/null 2>&1
  awk -v n="$name" -F': ' '/Elapsed \(wall/ {k = split($2, a, ":"); w = a[k - 1] * 60 + a[k]}
    /User time/ {u = $2} /System time/ {s = $2} /Maximum resident/ {m = $2}
    END {printf "%s %.3f %.3f %d\n", n, w, u + s, m}' "$t" >>"$RESULTS"
}
vips() {
  rm -rf "$WORK/vips" && mkdir -p "$WORK/vips"
  (cd "$PHOTOS" && ls *.JPG | head -100 | VIPS_CONCURRENCY=1 xargs -P2 -n 50 \
    vipsthumbnail -s "$SIZE" -o "$WORK/vips/%s.jpg[Q=85]")
}
export -f vips
export WORK PHOTOS SIZE
for ((run = 0; run < RUNS; run++)); do
  timed ours "$OURS" pdf "$WORK/album.dat" "$WORK/album.pdf"
  timed vips bash -c vips
  if [ -n "${BASELINE:-}" ]; then timed baseline "$BASELINE" pdf "$WORK/album.dat" "$WORK/baseline.pdf"; fi
  echo "run $((run + 1)) of $RUNS done"
done

col() { awk -v n="$1" -v c="$2" '$1 == n {print $c}' "$RESULTS"; }
pairs() { paste <(col "$1" "$3") <(col "$2" "$3") | awk '{print $1 / $2}' | median; }
line() {
  printf "  %-36s %6.2f s wall %6.2f s CPU  peak %4d MB\n" "$1" "$(col "$2" 2 | median)" \
    "$(col "$2" 3 | median)" "$(($(col "$2" 4 | sort -n | tail -1) / 1024))"
}

echo
echo "Medians of $RUNS runs, 100 photos of 4000x3000, pictures of $SIZE:"
line "tovenla2 pdf:" ours
line "vipsthumbnail, 2 processes, Q=85:" vips
if [ -n "${BASELINE:-}" ]; then line "baseline tovenla2 pdf:" baseline; fi
echo "  ours / vipsthumbnail, pair by pair: $(printf '%.2f' "$(pairs ours vips 2)") wall, $(printf '%.2f' "$(pairs ours vips 3)") CPU   (target <= 0.35 wall)"
if [ -n "${BASELINE:-}" ]; then
  echo "  baseline / vipsthumbnail:           $(printf '%.2f' "$(pairs baseline vips 2)") wall, $(printf '%.2f' "$(pairs baseline vips 3)") CPU"
  echo "  baseline PDF: $(($(stat -c %s "$WORK/baseline.pdf") / 1024 / 100)) KB a photo"
fi
echo "  PDF: $(($(stat -c %s "$WORK/album.pdf") / 1024)) KB, $(($(stat -c %s "$WORK/album.pdf") / 1024 / 100)) KB a photo   (target <= 300)"
"$BUILD_DIR/bench/preview_flip_bench" "$WORK/album.dat" 300 2>/dev/null | sed 's/^/  preview /'
echo "  (target: a page flip under 0.1 s)"
