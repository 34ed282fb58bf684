#!/usr/bin/env bash
# Album workbook benchmark: 100 camera JPEGs of 4000x3000 (3-5 MB) written as the fixed A4
# workbook (34 pages) by `tovenla2 excel`, against openpyxl + Pillow building the same workbook
# (reference_album.py), side by side in one run; the same photos also as a field reconnaissance
# report (`tovenla2 field-report --kind 0`) and as point records with a SIMA file of the album's
# point names (`tovenla2 point-record`). Prints the medians, the time ratios, bytes a photo and
# our peak memory.
#   bench/excel/run.sh [RUNS]     (WORK=folder for photos and output, default /tmp;
#                                  BUILD_DIR=an existing Release build, default build-bench/)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/bench/lib.sh"
RUNS="${1:-3}"
PHOTOS=100
WORK="${WORK:-${TMPDIR:-/tmp}/tovenla-excel-bench}"
PY=/usr/bin/python3

need=()
$PY -c 'import PIL' 2>/dev/null || need+=(python3-pil)
$PY -c 'import openpyxl' 2>/dev/null || need+=(python3-openpyxl)
[ -x /usr/bin/time ] || need+=(time)
install_packages "${need[@]}"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-bench}"
build_program

mkdir -p "$WORK/photos" "$WORK/home"
if [ ! -f "$WORK/photos/P$(printf %03d $PHOTOS).JPG" ]; then
  echo "Making $PHOTOS photos of 4000x3000..."
  $PY - "$WORK/photos" "$PHOTOS" <<'PYEOF'
import random, shutil, sys
from PIL import Image, ImageDraw
folder, count = sys.argv[1], int(sys.argv[2])
size = (4000, 3000)
def scene(seed):
    r = random.Random(seed)
    img = Image.new("RGB", size, (110, 95, 70))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, size[0], size[1] // 2], fill=(150, 190, 230))
    for i in range(60):
        x, y = r.randrange(size[0]), r.randrange(size[1])
        box = [x, y, x + 50 + r.randrange(900), y + 50 + r.randrange(700)]
        (d.ellipse if i % 2 else d.rectangle)(box, fill=(r.randrange(256), r.randrange(256), r.randrange(256)))
    noise = Image.merge("RGB", [Image.effect_noise(size, 40 + r.randrange(20)) for _ in range(3)])
    return Image.blend(img, noise, 0.18 + r.random() * 0.06)
seeds = 10
for s in range(seeds):
    scene(s).save(f"{folder}/seed{s}.jpg", quality=90)
for i in range(count):
    shutil.copy(f"{folder}/seed{i % seeds}.jpg", f"{folder}/P{i + 1:03d}.JPG")
PYEOF
fi

# The album: eight lines a photo, in the program's album file format.
$PY - "$WORK/photos" "$PHOTOS" > "$WORK/album.dat" <<'PYEOF'
import json, sys
folder, count = sys.argv[1], int(sys.argv[2])
print('{"format": "tovenla2-sheet", "version": 1, "columns": 4,\n"rows": [')
rows = []
for i in range(1, count + 1):
    info = "".join(f"No.{i} 測点{i} 行{g}\r\n" for g in range(1, 9))
    rows.append(json.dumps({"row": i, "cells": {"2": info, "4": f"{folder}/P{i:03d}.JPG"}}, ensure_ascii=False))
print(",\n".join(rows))
print("]}")
PYEOF

# The points of the album's line 1 names, CP932 as surveyors' SIMA files are.
$PY - "$PHOTOS" "$WORK/points.SIM" <<'PYEOF'
import sys
count, path = int(sys.argv[1]), sys.argv[2]
lines = ["G00,01,bench,"] + [
    f"A01,{i},No.{i} 測点{i} 行1,{1000 + i * 12.3456:.4f},{-500 + i * 7.891:.4f},{10 + i / 8:.4f},"
    for i in range(1, count + 1)] + ["Z00,end,"]
open(path, "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PYEOF

TEMPLATE="$BUILD_DIR/templates/写真帳ORG.xlsx"
export TOVENLA_HOME="$WORK/home" QT_QPA_PLATFORM=offscreen
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
cat "$WORK"/photos/*.JPG >/dev/null # both read from the page cache

ours=() peak=() cpu=() reference=() ref_peak=() ref_cpu=() field=() field_cpu=() points=() points_cpu=()
for run in $(seq 1 "$RUNS"); do
  rm -f "$WORK/ours.xlsx" "$WORK/reference.xlsx" "$WORK/field.xlsx" "$WORK/points.xlsx"
  /usr/bin/time -f '%e %M %U %S' -o "$WORK/time.txt" \
    "$BUILD_DIR/tovenla2" excel "$WORK/album.dat" "$WORK/ours.xlsx" --paper a4 >/dev/null
  read -r seconds kb user sys < "$WORK/time.txt"
  ours+=("$seconds") peak+=("$kb") cpu+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')")
  /usr/bin/time -f '%e %M %U %S' -o "$WORK/time.txt" \
    $PY "$ROOT/bench/excel/reference_album.py" "$TEMPLATE" "$WORK/album.dat" "$WORK/reference.xlsx"
  read -r seconds kb user sys < "$WORK/time.txt"
  reference+=("$seconds") ref_peak+=("$kb") ref_cpu+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')")
  /usr/bin/time -f '%e %U %S' -o "$WORK/time.txt" \
    "$BUILD_DIR/tovenla2" field-report "$WORK/album.dat" "$WORK/field.xlsx" --kind 0 >/dev/null
  read -r seconds user sys < "$WORK/time.txt"
  field+=("$seconds") field_cpu+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')")
  /usr/bin/time -f '%e %U %S' -o "$WORK/time.txt" \
    "$BUILD_DIR/tovenla2" point-record "$WORK/album.dat" "$WORK/points.xlsx" --sima "$WORK/points.SIM" >/dev/null
  read -r seconds user sys < "$WORK/time.txt"
  points+=("$seconds") points_cpu+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')")
  echo "run $run: ours ${ours[-1]} s, reference ${reference[-1]} s," \
    "field report ${field[-1]} s, point records ${points[-1]} s"
done

media_bytes() { # the pictures inside a workbook
  $PY -c 'import sys, zipfile; print(sum(i.file_size for i in zipfile.ZipFile(sys.argv[1]).infolist() if i.filename.startswith("xl/media/")))' "$1"
}
m_ours=$(printf '%s\n' "${ours[@]}" | median)
m_ref=$(printf '%s\n' "${reference[@]}" | median)
m_peak=$(printf '%s\n' "${peak[@]}" | median)
m_ref_peak=$(printf '%s\n' "${ref_peak[@]}" | median)
m_field=$(printf '%s\n' "${field[@]}" | median)
m_points=$(printf '%s\n' "${points[@]}" | median)
m_field_cpu=$(printf '%s\n' "${field_cpu[@]}" | median)
m_points_cpu=$(printf '%s\n' "${points_cpu[@]}" | median)
m_cpu=$(printf '%s\n' "${cpu[@]}" | median)
m_ref_cpu=$(printf '%s\n' "${ref_cpu[@]}" | median)
ours_photo=$(($(media_bytes "$WORK/ours.xlsx") / PHOTOS))
ref_photo=$(($(media_bytes "$WORK/reference.xlsx") / PHOTOS))
echo
echo "Medians of $RUNS runs, $PHOTOS photos of 4000x3000 on fixed A4, $(nproc) cores:"
echo "  tovenla2 excel:            $m_ours s, peak $((m_peak / 1024)) MB   (target < 150 MB)"
echo "  openpyxl + Pillow draft(): $m_ref s, peak $((m_ref_peak / 1024)) MB"
echo "  time ratio:                $(ratio "$m_ours" "$m_ref")x   (target <= 0.5)"
echo "  processor time:            $m_cpu s against $m_ref_cpu s, $(ratio "$m_cpu" "$m_ref_cpu")x" \
  "  (load average now: $(cut -d' ' -f1 /proc/loadavg))"
echo "  bytes a photo:             $((ours_photo / 1024)) KB against $((ref_photo / 1024)) KB," \
  "$(ratio "$ours_photo" "$ref_photo")x   (target <= 1.1)"
echo "  workbook sizes:            $(($(stat -c %s "$WORK/ours.xlsx") / 1024)) KB," \
  "$(($(stat -c %s "$WORK/reference.xlsx") / 1024)) KB"
echo "  field report, kind 0:      $m_field s, $(ratio "$m_field" "$m_ours")x the album workbook   (target <= 1.1);" \
  "processor $m_field_cpu s, $(ratio "$m_field_cpu" "$m_cpu")x"
echo "  point records with SIMA:   $m_points s, $(ratio "$m_points" "$m_ours")x the album workbook   (target <= 1.1);" \
  "processor $m_points_cpu s, $(ratio "$m_points_cpu" "$m_cpu")x"
