#!/usr/bin/env bash
# Checks that every C++ source is formatted as .clang-format says:
#   tools/check-format.sh [SOURCE_DIR]
# Prints what clang-format would change, and fails if anything would.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
find app bench cli framework res script scripttree tests treeoptions \( -name '*.cpp' -o -name '*.h' \) -print0 |
  sort -z | xargs -0 clang-format --dry-run -Werror
