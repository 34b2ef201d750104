#!/usr/bin/env bash
# Runs every fuzz target of a libFuzzer build for SECONDS seconds each, as many
# at once as there are cores:
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
# Runs one target; its summary goes to BUILD_DIR/fuzz/NAME.log.
fuzz_one() {
  local name=$1
  local seeds=tests/fuzz/corpus/$name/
  local work=$build/fuzz/$name
  mkdir -p "$work"
  "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz/$name-" "$work" "$seeds" 2>&1 \
    | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|Fuzz check)|ERROR' >"$build/fuzz/$name.log" || true
}
# As many targets at once as there are cores, so CI pays the fuzzing time once
# per core rather than once per target.
mkdir -p "$build/fuzz"
names=()
for seeds in tests/fuzz/corpus/*/; do names+=("$(basename "$seeds")"); done
cores=$(nproc)
for name in "${names[@]}"; do
  while (( $(jobs -rp | wc -l) >= cores )); do wait -n || true; done
  echo "fuzz_$name: $seconds s"
  fuzz_one "$name" &
done
wait
failed=0
for name in "${names[@]}"; do
  echo "== fuzz_$name"
  cat "$build/fuzz/$name.log"
  if ls "$build/fuzz/$name-"* 2>/dev/null | grep -v "\.log$" >/dev/null; then
    echo "fuzz_$name failed; the input is in $build/fuzz/" >&2
    failed=1
  fi
done
exit $failed
