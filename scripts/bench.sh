#!/usr/bin/env bash
# Runs every benchmark program of a native build (BUILD_DIR/bench/*_bench), then the Python
# benchmarks (bench/*_bench.py) against the Windows build under Wine, and prints their figures.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [WINDOWS_BUILD_DIR]}
windows=${2:-}
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
if [ -n "$windows" ]; then
  top=$(cd "$(dirname "$0")/.." && pwd)
  for script in "$top"/bench/*_bench.py; do
    echo "== $(basename "$script")"
    YK_BUILD=$(cd "$windows" && pwd) /usr/bin/python3 "$script"
  done
fi
