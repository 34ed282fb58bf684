#!/usr/bin/env bash
# Builds and runs the album load/clear benchmark (offscreen; no extra tools needed).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF \
  -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target bench_album_load
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$BUILD_DIR/bench/bench_album_load"
