#!/usr/bin/env bash
# Album PDF benchmark: 300 rows of 4000x3000 JPEGs on A4 (100 pages). Reports the median time
# of `tovenla2 pdf`, its peak memory and the PDF's size, against vipsthumbnail preparing the
# same photos at print size on 2 processes, measured side by side in this run.
# Usage: bench/print/album_pdf_bench.sh [runs]   (builds Release first)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
RUNS="${1:-3}"
PHOTOS=300

for tool in vipsthumbnail:libvips-tools convert:imagemagick /usr/bin/time:time; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${tool##*:}"
  fi
done
source "$ROOT/tools/prepare.sh"

WORK="${TMPDIR:-/tmp}/tovenla_print_bench"
mkdir -p "$WORK/photos" "$WORK/home" "$WORK/thumbs"
if [ ! -f "$WORK/photos/P$(printf %03d $PHOTOS).JPG" ]; then
  echo "Making $PHOTOS photos of 4000x3000..."
  for i in 1 2 3 4 5 6; do
    convert -size 1000x750 plasma:fractal -resize 4000x3000! -attenuate 0.4 +noise Gaussian -quality 90 "$WORK/seed$i.jpg"
  done
  for i in $(seq 1 $PHOTOS); do cp "$WORK/seed$(( (i - 1) % 6 + 1 )).jpg" "$WORK/photos/P$(printf %03d "$i").JPG"; done
fi

{
  printf 'h1,h2,file\r\n'
  for i in $(seq 1 $PHOTOS); do printf 'No.%d,測点%d,P%03d.JPG\r\n' "$i" "$i" "$i"; done
} > "$WORK/photos/list.csv"
export TOVENLA_HOME="$WORK/home" QT_QPA_PLATFORM=offscreen
"$BUILD_DIR/tovenla2" import-csv "$WORK/photos/list.csv" "$WORK/album.dat" >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

ours=() ; reference=() ; peak=()
for run in $(seq 1 "$RUNS"); do
  sync
  /usr/bin/time -f '%e %M' -o "$WORK/time.txt" "$BUILD_DIR/tovenla2" pdf "$WORK/album.dat" "$WORK/album.pdf" >/dev/null 2>&1
  read -r seconds kb < "$WORK/time.txt"
  ours+=("$seconds"); peak+=("$kb")
  rm -f "$WORK"/thumbs/*
  start=$(date +%s.%N)
  ls "$WORK"/photos/*.JPG | xargs -P 2 -n $((PHOTOS / 2)) vipsthumbnail -s 1401x1051 -o "$WORK/thumbs/%s_t.jpg"
  reference+=("$(echo "$(date +%s.%N) - $start" | bc)")
done

ours_median=$(printf '%s\n' "${ours[@]}" | median)
ref_median=$(printf '%s\n' "${reference[@]}" | median)
peak_mb=$(printf '%s\n' "${peak[@]}" | sort -n | tail -1 | awk '{printf "%.0f", $1 / 1024}')
size=$(stat -c %s "$WORK/album.pdf")
pages=$(pdfinfo "$WORK/album.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
echo "tovenla2 pdf:        median ${ours_median} s over $RUNS runs, peak ${peak_mb} MB, ${pages:-?} pages"
echo "vipsthumbnail (x2):  median ${ref_median} s"
echo "ratio ours/ref:      $(echo "scale=2; $ours_median / $ref_median" | bc)  (target <= 0.6)"
echo "PDF size:            $(echo "scale=1; $size / 1048576" | bc) MB, $(echo "$size / 1024 / $PHOTOS" | bc) KB per photo (target <= 400)"
