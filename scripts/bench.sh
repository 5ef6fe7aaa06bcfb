#!/usr/bin/env bash
# Runs every benchmark program of a build (BUILD_DIR/bench/*_bench) and prints its figures.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
shopt -s nullglob
programs=("$build"/bench/*_bench)
if [ ${#programs[@]} -eq 0 ]; then
  echo "bench: no benchmark programs in $build/bench (build the 'benchmarks' target first)" >&2
  exit 1
fi
for program in "${programs[@]}"; do
  echo "== $(basename "$program")"
  "$program"
done
