#!/usr/bin/env bash
# Builds and runs the check-delivery benchmark against xmllint and ImageMagick's identify,
# installing those two reference tools when missing (about 150 MB of photos are written).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="$ROOT/build-bench"
missing=()
command -v xmllint >/dev/null 2>&1 || missing+=(libxml2-utils)
command -v identify >/dev/null 2>&1 || missing+=(imagemagick)
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update && $SUDO apt-get install -y "${missing[@]}"
fi
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF \
  -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target bench_delivery_check
cd "$BUILD_DIR" && ./bench/bench_delivery_check
