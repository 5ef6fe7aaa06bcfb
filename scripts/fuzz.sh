#!/usr/bin/env bash
# Runs the libFuzzer targets.
#   scripts/fuzz.sh short [BUILD]  a few seconds in all, in the native build (`make test`; default
#                                  build/native, which `make native` configures with clang for this)
#   scripts/fuzz.sh long           ten million runs per target, in an optimized build/fuzz (`make fuzz`)
# The corpus grows in BUILD/corpus across runs (YK_FUZZ_BUILD names another folder than build/fuzz
# for long runs); a crash leaves its input in BUILD/artifacts and makes the script fail.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-short}
case "$mode" in
  short) budget=(-max_total_time=3); build=${2:-$top/build/native} ;;
  long)  budget=(-runs=10000000); build=${YK_FUZZ_BUILD:-$top/build/fuzz}
         "$top/scripts/fetch-sqlite.sh"
         CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYK_FUZZ=ON >/dev/null ;;
  *) echo "usage: $0 short [BUILD] | long" >&2; exit 2 ;;
esac

targets=(fuzz_stored_row)
cmake --build "$build" -j 2 --target "${targets[@]}" >/dev/null

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/artifacts"
  echo "fuzz: $target ($mode)"
  if ! "$build/tests/fuzz/$target" "${budget[@]}" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$corpus" 2>"$build/$target.log"; then
    echo "fuzz: $target FAILED, see $build/$target.log and $build/artifacts/" >&2
    tail -n 30 "$build/$target.log" >&2
    status=1
  else
    awk '/DONE/ {print "fuzz:   " $0}' "$build/$target.log"
  fi
done
exit $status
