#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for SECONDS seconds from
# its committed seed corpus. Exits non-zero on any finding (crash, leak,
# sanitizer report, violated invariant, an input running past 30 s under
# the sanitizers).
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
cd "$(dirname "$0")/.."

build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DISOQUILL_FUZZ=ON -DISOQUILL_GUI=OFF -DISOQUILL_TESTS=OFF -DISOQUILL_BENCH=OFF >/dev/null
cmake --build "$build"

status=0
for target in formula_chain_fuzz element_file_fuzz enumeration_fuzz; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/findings/$target"
  max_len=4096
  [[ $target == element_file_fuzz ]] && max_len=24000  # room for a whole data file
  echo "== $target: $seconds s"
  if ! "$build/fuzz/$target" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -max_len=$max_len \
      -artifact_prefix="$build/findings/$target/" -print_final_stats=1 2>"$build/$target.log"; then
    echo "FINDING in $target:"; tail -n 40 "$build/$target.log"; status=1
  fi
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$build/$target.log" || true
  grep -E 'cov: [0-9]+' "$build/$target.log" | tail -n 1 || true
done
exit $status
