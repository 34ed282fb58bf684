#!/usr/bin/env bash
# Builds and runs the SIMA reader benchmark against mawk (installed here when missing).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/bench/lib.sh"
BUILD_DIR="$ROOT/build-bench"
command -v mawk >/dev/null 2>&1 || install_packages mawk
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF \
  -DTOVENLA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target bench_sima
cd "$BUILD_DIR" && ./bench/bench_sima
