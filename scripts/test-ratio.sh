#!/usr/bin/env bash
# Prints the size of the tests against the size of the product, in non-blank lines: everything
# under tests/ (test client and harness included) against the product's .cpp, .h and .rc files.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
count() { if [ $# -eq 0 ]; then echo 0; else cat "$@" | grep -c '[^[:space:]]'; fi; }
mapfile -t product < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.rc' \
  ':!tests/' ':!bench/' ':!scripts/' ':!packaging/' ':!docs/' ':!cmake/')
mapfile -t tests < <(git ls-files --cached --others --exclude-standard -- tests/)
p=$(count "${product[@]}")
t=$(count "${tests[@]}")
awk -v t="$t" -v p="$p" 'BEGIN { printf "tests %d, product %d non-blank lines: ratio %.3f\n", t, p, t / p }'
