# Shared by the benchmark scripts (sourced): installing the tools a benchmark compares against,
# and medians. Never used by ./test.

# Installs the Debian packages named (as root); nothing when none is named.
install_packages() { # package...
  [ $# -gt 0 ] || return 0
  echo "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# Builds the program into BUILD_DIR, configuring a Release build without tests there first when
# the folder has none (an existing build, such as build/, is used as it is).
build_program() {
  [ -f "$BUILD_DIR/CMakeCache.txt" ] ||
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVENLA_BUILD_TESTS=OFF >/dev/null
  cmake --build "$BUILD_DIR" --target tovenla2
}
