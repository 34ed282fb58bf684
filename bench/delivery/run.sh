#!/usr/bin/env bash
# Builds and runs the delivery export benchmark in the build folder (needs about 2.5 GB free).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF \
  -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target bench_delivery
cd "$BUILD_DIR" && ./bench/bench_delivery
