#!/usr/bin/env bash
# Whole-process figures of `mbscript dump` beside the reference reader, in one
# run: CPU time (user + system), wall time and peak resident memory, medians
# of RUNS runs taken in turn, each as a ratio to the reference.
#   bench/compare_dump.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export TZ=UTC0

"$build/bench/make_script" "$dir/10mb.mbs" about 10
"$build/bench/make_script" "$dir/10k.mbs" actions 10000
"$build/bench/make_script" "$dir/100k.mbs" actions 100000

# Prints "cpu_seconds wall_seconds peak_kilobytes" of one run.
measure() {
  /usr/bin/time -f '%U %S %e %M' -o "$dir/time" env LC_ALL=en_GB.UTF-8 "$@" >/dev/null 2>"$dir/err" || { cat "$dir/err" >&2; exit 1; }
  awk '{printf "%.3f %.3f %d\n", $1 + $2, $3, $4}' "$dir/time"
}
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

dump="$build/cli/mbscript"
: >"$dir/dump" ; : >"$dir/ini" ; : >"$dir/d10k" ; : >"$dir/d100k"
for ((i = 0; i < runs; i++)); do
  measure "$dump" dump "$dir/10mb.mbs" >>"$dir/dump"
  if [[ -x "$build/bench/inih_reader" ]]; then measure "$build/bench/inih_reader" "$dir/10mb.mbs" >>"$dir/ini"; fi
  measure "$dump" dump "$dir/10k.mbs" >>"$dir/d10k"
  measure "$dump" dump "$dir/100k.mbs" >>"$dir/d100k"
done

size=$(stat -c %s "$dir/10mb.mbs")
col() { awk -v c="$2" '{print $c}' "$dir/$1" | median; }
printf 'Script: %s bytes, ANSI; %s runs each, medians\n' "$size" "$runs"
printf '%-28s %9s %9s %11s %14s\n' "" "CPU s" "wall s" "peak MB" "peak / script"
for name in dump ini; do
  [[ -s "$dir/$name" ]] || continue
  label=$([[ $name == dump ]] && echo "mbscript dump" || echo "inih reader with copies")
  printf '%-28s %9.3f %9.3f %11.1f %14.2f\n' "$label" "$(col $name 1)" "$(col $name 2)" \
    "$(echo "$(col $name 3) / 1024" | bc -l)" "$(echo "$(col $name 3) * 1024 / $size" | bc -l)"
done
if [[ -s "$dir/ini" ]]; then
  printf 'dump / inih: CPU %.2f, wall %.2f\n' "$(echo "$(col dump 1) / $(col ini 1)" | bc -l)" \
    "$(echo "$(col dump 2) / $(col ini 2)" | bc -l)"
fi
printf 'dump CPU 10,000 actions %.3f s, 100,000 actions %.3f s: %.2fx\n' "$(col d10k 1)" "$(col d100k 1)" \
  "$(echo "$(col d100k 1) / $(col d10k 1)" | bc -l)"
