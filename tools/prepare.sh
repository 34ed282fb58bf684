#!/usr/bin/env bash
# Installs the Debian packages the project needs, then configures and builds it.
# Sourced by ./run and ./test; BUILD_DIR and BUILD_TYPE may be set by the caller.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_TYPE="${BUILD_TYPE:-Release}"
if [ "$BUILD_TYPE" = "Sanitize" ]; then
  BUILD_DIR="${BUILD_DIR:-$ROOT/build-sanitize}"
  # Qt and fontconfig keep caches alive until exit; those are not our leaks.
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0}"
  export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/tools/lsan.supp:print_suppressions=0}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
else
  BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
fi

PACKAGES=(
  g++ cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libicu-dev
  googletest libgtest-dev libgmock-dev
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  poppler-utils libxml2-utils
  libzip-dev libpugixml-dev libjpeg-dev python3-openpyxl python3-pil fonts-crosextra-carlito
  desktop-file-utils appstream
  exfat-fuse exfatprogs
)
# Old .xls workbooks are converted by LibreOffice; any installed one serves.
command -v soffice >/dev/null 2>&1 || PACKAGES+=(libreoffice-calc-nogui)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

install_missing() {
  local missing
  missing="$(missing_packages)"
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages:" $missing >&2
    echo "Run as root, or install them with: sudo apt-get install" $missing >&2
    exit 1
  fi
  echo "Installing:" $missing
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}

build() {
  local warnings=OFF
  [ "${CI:-}" = "true" ] && warnings=ON
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja \
    -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTOVENLA_WARNINGS_AS_ERRORS="$warnings" >/dev/null
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

install_missing
build
