#!/usr/bin/env bash
# Runs every fuzz target of a libFuzzer build for SECONDS seconds each:
#   tools/fuzz.sh BUILD_DIR SECONDS
# A target is fuzz_NAME with its seeds in tests/fuzz/corpus/NAME/. New inputs
# go to BUILD_DIR/fuzz/NAME/ (the repository's corpus stays as it is); an
# input that fails is kept as BUILD_DIR/fuzz/NAME-crash-* and fails the run:
# add it to the seed corpus once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/lsan.supp:print_suppressions=0}
for seeds in tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  program=$build/tests/fuzz/fuzz_$name
  work=$build/fuzz/$name
  mkdir -p "$work"
  echo "fuzz_$name: $seconds s"
  "$program" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/$name-" "$work" "$seeds" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|Fuzz check)|ERROR' || true
  if ls "$build/fuzz/$name-"* >/dev/null 2>&1; then
    echo "fuzz_$name failed; the input is in $build/fuzz/" >&2
    exit 1
  fi
done
