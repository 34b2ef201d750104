#!/usr/bin/env bash
# Checks that each folder includes only its own headers and those of the
# folders below it, the ones its library links:
#   tools/check-layers.sh [SOURCE_DIR]
# Prints every include that reaches upward, and fails if there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Each layer, then the layers it may include besides its own. A path belongs
# to the longest layer it starts with: script/check is script's.
layers='
framework
script           framework
treeoptions      framework
treeoptions/demo framework treeoptions
scripttree       framework script treeoptions
app              framework script treeoptions scripttree
cli              framework script treeoptions scripttree
'

folders=$(awk 'NF { print $1 }' <<<"$layers")
# shellcheck disable=SC2086 # the folders are words
find $folders \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 grep -Hn '^#include "' |
awk -v layers="$layers" '
  BEGIN {
    n = split(layers, rows, "\n")
    for (i = 1; i <= n; i++) {
      if (split(rows[i], word, " ") == 0) continue
      known[word[1]] = 1
      for (j = 2; word[j] != ""; j++) allowed[word[1], word[j]] = 1
    }
  }
  function layer(path,    best, l) {
    best = ""
    for (l in known)
      if (index(path, l "/") == 1 && length(l) > length(best)) best = l
    return best
  }
  {
    split($0, part, ":"); file = part[1]; line = part[2]
    included = $0; sub(/^[^"]*"/, "", included); sub(/".*/, "", included)
    from = layer(file); to = layer(included)
    if (to == "" || to == from || (from, to) in allowed) next
    printf "%s:%s: %s includes %s, a header of %s, which is not below it\n", file, line, from, included, to
    bad = 1
  }
  END { exit bad }'
