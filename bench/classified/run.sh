#!/usr/bin/env bash
# Builds and runs the classified import benchmark (about 200,000 empty files in a temporary folder).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF \
  -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target bench_classified
cd "$BUILD_DIR" && ./bench/bench_classified
