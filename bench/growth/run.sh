#!/usr/bin/env bash
# How the outputs grow with the album: `excel`, `field-report` and `point-record` on albums of
# 250 to 4,000 rows (a small photo a row), and `parcel-report` on SIMA files of 10,000 to 40,000
# points, all in one run. Prints medians, peak memory and the ratio of the largest size to the
# smallest (linear growth is the ratio of the sizes: 16 for the albums, 4 for the points).
#   bench/growth/run.sh [RUNS] [--full]   (--full adds a 32,767-row album to `excel`)
#   WORK=folder for inputs and outputs (default /tmp); BUILD_DIR=an existing Release build.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/bench/lib.sh"
RUNS=3
FULL=0
for arg in "$@"; do
  case "$arg" in
    --full) FULL=1 ;;
    *) RUNS="$arg" ;;
  esac
done
WORK="${WORK:-${TMPDIR:-/tmp}/tovenla-growth-bench}"
PY=/usr/bin/python3
need=()
$PY -c 'import PIL' 2>/dev/null || need+=(python3-pil)
[ -x /usr/bin/time ] || need+=(time)
install_packages "${need[@]}"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
build_program
ALBUM_SIZES=(250 500 1000 2000 4000)
[ "$FULL" = 1 ] && ALBUM_SIZES+=(32767)
POINT_SIZES=(10000 20000 40000)

mkdir -p "$WORK/photos" "$WORK/home"
# Albums up to 32,767 rows need the capacity raised; the other settings keep their defaults.
printf '32767\r\n' > "$WORK/home/tovenla.ini"
$PY - "$WORK" "${ALBUM_SIZES[@]}" -- "${POINT_SIZES[@]}" <<'PYEOF'
import json, os, sys
from PIL import Image
work = sys.argv[1]
split = sys.argv.index("--")
albums, points = [int(a) for a in sys.argv[2:split]], [int(a) for a in sys.argv[split + 1:]]
distinct = 4000  # rows past this share photos; each distinct one is read once
for i in range(1, min(max(albums), distinct) + 1):
    path = f"{work}/photos/P{i:05d}.JPG"
    if not os.path.exists(path):
        Image.new("RGB", (160, 120), (i % 256, (i * 7) % 256, (i * 13) % 256)).save(path, quality=85)
for n in albums:
    rows = []
    for i in range(1, n + 1):
        info = "".join(f"No.{i} 測点{i} 行{g}\r\n" for g in range(1, 9))
        photo = f"{work}/photos/P{(i - 1) % distinct + 1:05d}.JPG"
        rows.append(json.dumps({"row": i, "cells": {"2": info, "4": photo}}, ensure_ascii=False))
    with open(f"{work}/album{n}.dat", "w", encoding="utf-8") as out:
        out.write('{"format": "tovenla2-sheet", "version": 1, "columns": 4,\n"rows": [\n')
        out.write(",\n".join(rows) + "\n]}\n")
    # The points of the album's line 1, CP932 as surveyors' files are.
    lines = ["G00,01,bench,"] + [f"A01,{i},No.{i} 測点{i} 行1,{1000 + i * 0.5:.3f},{i * 0.25:.3f},1.0,"
                                 for i in range(1, n + 1)] + ["Z00,end,"]
    open(f"{work}/album{n}.SIM", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
# Two shapes: parcels of eight boundary points (a sheet each: 5,000 sheets for 40,000 points),
# and ten large parcels (long sheets).
for n in points:
    for shape, size in (("small", 8), ("large", n // 10)):
        lines = ["G00,01,bench,"] + [f"A01,{i},P{i},{1000 + i * 0.5:.3f},{-500 + i * 0.25:.3f},1.0,"
                                     for i in range(1, n + 1)]
        for parcel in range(n // size):
            lines.append(f"D00,{parcel + 1},画地{parcel + 1},1,")
            lines += [f"B01,{i},P{i}," for i in range(parcel * size + 1, parcel * size + size + 1)]
            lines.append("D99,")
        lines.append("Z00,end,")
        open(f"{work}/{shape}{n}.SIM", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PYEOF

export TOVENLA_HOME="$WORK/home" QT_QPA_PLATFORM=offscreen
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a / b}'; }
declare -A seconds peak
measure() { # key, command...
  local key="$1" times=() kbs=()
  shift
  for _ in $(seq 1 "$RUNS"); do
    rm -f "$WORK/out.xlsx"
    /usr/bin/time -f '%e %M' -o "$WORK/time.txt" "$@" >/dev/null 2>&1 || [ $? = 3 ]
    read -r s kb < <(tail -n 1 "$WORK/time.txt")
    times+=("$s") kbs+=("$kb")
  done
  seconds[$key]=$(printf '%s\n' "${times[@]}" | median)
  peak[$key]=$(( $(printf '%s\n' "${kbs[@]}" | median) / 1024 ))
  printf '  %-32s %8s s  %6s MB\n' "$key" "${seconds[$key]}" "${peak[$key]}"
}
T="$BUILD_DIR/tovenla2"
echo "Medians of $RUNS runs, $(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg) at the start:"
for n in "${ALBUM_SIZES[@]}"; do
  measure "excel $n" "$T" excel "$WORK/album$n.dat" "$WORK/out.xlsx" --paper a4
  [ "$n" = 32767 ] && continue
  measure "field-report $n" "$T" field-report "$WORK/album$n.dat" "$WORK/out.xlsx" --kind 0
  measure "point-record $n" "$T" point-record "$WORK/album$n.dat" "$WORK/out.xlsx" --sima "$WORK/album$n.SIM"
done
for shape in small large; do
  for n in "${POINT_SIZES[@]}"; do
    measure "parcel-report $shape $n" "$T" parcel-report "$WORK/$shape$n.SIM" --parcels all \
      --folder "$WORK/photos" --out "$WORK/out.xlsx"
  done
done
echo
echo "Growth (largest over smallest; linear is 16 for the albums, 4 for the points):"
for what in excel field-report point-record; do
  echo "  $what 4000/250:        $(ratio "${seconds[$what 4000]}" "${seconds[$what 250]}")x   (target <= 20)"
done
for shape in small large; do
  echo "  parcel-report, $shape parcels, 40000/10000: $(ratio "${seconds[parcel-report $shape 40000]}" \
    "${seconds[parcel-report $shape 10000]}")x, 40,000 points in ${seconds[parcel-report $shape 40000]} s" \
    "and ${peak[parcel-report $shape 40000]} MB   (target < 5 s, < 300 MB)"
done
[ "$FULL" = 1 ] && echo "  excel 32767 rows:          ${seconds[excel 32767]} s   (target < 60 s)"
true
