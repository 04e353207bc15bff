#!/usr/bin/env bash
# Runs every fuzz target from its seed corpus for a bounded time (and at most RUNS inputs).
#   fuzz/run-all.sh BUILD_DIR [SECONDS] [RUNS]
# The targets are the folders of fuzz/corpus/; each binary is BUILD_DIR/fuzz/<target>.
# New inputs the fuzzer finds go to a scratch folder, never into the committed corpus.
# Exits non-zero as soon as a target crashes (its input is kept under BUILD_DIR/fuzz-crashes/).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build_dir="$(cd "${1:?usage: run-all.sh BUILD_DIR [SECONDS] [RUNS]}" && pwd)"
seconds="${2:-60}"
runs="${3:-10000000}"
crashes="$build_dir/fuzz-crashes"
mkdir -p "$crashes"

status=0
for corpus in "$here"/corpus/*/; do
  target="$(basename "$corpus")"
  binary="$build_dir/fuzz/$target"
  if [ ! -x "$binary" ]; then
    echo "fuzz: $binary is missing" >&2
    status=1
    continue
  fi
  scratch="$(mktemp -d)"
  echo "fuzz: $target, $seconds s (at most $runs inputs)"
  if ! "$binary" -max_total_time="$seconds" -runs="$runs" -max_len=4096 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$crashes/$target-" "$scratch" "$corpus" > "$build_dir/fuzz-$target.log" 2>&1; then
    tail -n 40 "$build_dir/fuzz-$target.log" >&2
    echo "fuzz: $target FAILED (log: $build_dir/fuzz-$target.log)" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb|cov:" "$build_dir/fuzz-$target.log" | tail -n 3
  fi
  rm -rf "$scratch"
done
exit $status
