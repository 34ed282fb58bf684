#!/usr/bin/env bash
# Thumbnail benchmark: our thumbnail maker against vipsthumbnail and the JPEG decode floor
# (djpeg -scale 1/8), each on 2 threads or processes, over generated camera-like photos.
# Prints medians, ratios, peak memory, the first-screen latency and the warm-cache ratio.
#   bench/thumbnails/run.sh [REPEATS]     (WORK=folder for images and builds, default /tmp)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
WORK="${WORK:-/tmp/tovenla-thumbnail-bench}"
REPEATS="${1:-5}"
BUILD="$WORK/build"
IMAGES="$WORK/images"

need=()
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
command -v djpeg >/dev/null || need+=(libjpeg-turbo-progs)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

cmake -S "$ROOT/bench/thumbnails" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target make_bench_images thumbnail_bench >/dev/null
if [ ! -f "$IMAGES/IMG_0200.JPG" ]; then
  echo "Generating photos in $IMAGES ..."
  "$BUILD/make_bench_images" "$IMAGES" 200
fi
export QT_QPA_PLATFORM=offscreen
cat "$IMAGES"/* >/dev/null # every contender reads from the page cache

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

CACHE="$WORK/cache"
OUT="$WORK/vips-out"
ours=() ours_jpeg=() warm=() vips=() floor=()
for ((i = 1; i <= REPEATS; i++)); do
  rm -rf "$CACHE"
  ours+=("$("$BUILD/thumbnail_bench" run "$IMAGES" "$CACHE" 2)")
  warm+=("$("$BUILD/thumbnail_bench" run "$IMAGES" "$CACHE" 2)")
  rm -rf "$CACHE"
  ours_jpeg+=("$("$BUILD/thumbnail_bench" run "$IMAGES" "$CACHE" 2 jpeg)")

  rm -rf "$OUT" && mkdir -p "$OUT"
  start=$(now_ms)
  (cd "$IMAGES" && ls | VIPS_CONCURRENCY=1 xargs -P2 -n 26 vipsthumbnail -s 256 -o "$OUT/%s.jpg")
  vips+=($(($(now_ms) - start)))

  start=$(now_ms)
  (cd "$IMAGES" && ls *.JPG | xargs -P2 -n 25 sh -c 'for f; do djpeg -scale 1/8 "$f" >/dev/null; done' sh)
  floor+=($(($(now_ms) - start)))
  echo "run $i: ours ${ours[-1]} ms (JPEGs only ${ours_jpeg[-1]}), warm ${warm[-1]}, vipsthumbnail ${vips[-1]}, djpeg ${floor[-1]}"
done

rm -rf "$CACHE"
peak_kb=$(/usr/bin/time -v "$BUILD/thumbnail_bench" run "$IMAGES" "$CACHE" 2 2>&1 >/dev/null |
  awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}')
first=()
for ((i = 1; i <= REPEATS; i++)); do
  rm -rf "$WORK/xdg"
  first+=("$(XDG_CACHE_HOME="$WORK/xdg" "$BUILD/thumbnail_bench" first30 "$IMAGES" | cut -d' ' -f1)")
done

count=$(ls "$IMAGES" | wc -l)
jpegs=$(ls "$IMAGES"/*.JPG | wc -l)
m_ours=$(printf '%s\n' "${ours[@]}" | median)
m_jpeg=$(printf '%s\n' "${ours_jpeg[@]}" | median)
m_warm=$(printf '%s\n' "${warm[@]}" | median)
m_vips=$(printf '%s\n' "${vips[@]}" | median)
m_floor=$(printf '%s\n' "${floor[@]}" | median)
m_first=$(printf '%s\n' "${first[@]}" | median)
echo
echo "Medians of $REPEATS runs, 2 threads/processes, $count files ($jpegs JPEGs of 4000x3000):"
echo "  our Thumbnailer, cold cache:       $m_ours ms  (JPEGs only: $m_jpeg ms)"
echo "  vipsthumbnail -s 256:              $m_vips ms"
echo "  djpeg -scale 1/8 (JPEGs only):     $m_floor ms"
echo "  throughput vs vipsthumbnail:       $(ratio "$m_vips" "$m_ours")x   (target >= 1.15)"
echo "  time vs decode floor (JPEGs):      $(ratio "$m_jpeg" "$m_floor")x   (target <= 1.25)"
echo "  peak memory, whole cold run:       $((peak_kb / 1024)) MB   (target < 100)"
echo "  first 30 rows shown after placing: $m_first ms   (target < 1000)"
echo "  warm cache (second run):           $m_warm ms, $(ratio "$m_ours" "$m_warm")x faster   (target >= 10)"
