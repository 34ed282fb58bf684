#!/usr/bin/env bash
# Fails, naming them, when tracked C++ files differ from what clang-format makes of them under
# the repository's .clang-format. Run by ctest; the first argument is the clang-format to use.
set -euo pipefail
CLANG_FORMAT="${1:-clang-format}"
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
else
  mapfile -d '' files < <(find bench src tests tools \( -name '*.cpp' -o -name '*.h' \) -print0)
fi

unformatted="$("$CLANG_FORMAT" --dry-run -Werror "${files[@]}" 2>&1 |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)" || true
if [ -n "$unformatted" ]; then
  echo "Not formatted as .clang-format says (clang-format -i FILE formats one):" >&2
  echo "$unformatted" | sed 's/^/  /' >&2
  exit 1
fi
