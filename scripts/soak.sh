#!/usr/bin/env bash
# The long runs (`make soak`): ten million fuzz runs per target, the kill test with 1,000
# copies, the load test with 10,000 captures, the memory test and 1,000 pastes under load, each
# printing its figures, then a summary. Takes about an hour on two cores.
#   scripts/soak.sh [WINDOWS-BUILD]   (default build/windows, already built)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
windows=${1:-build/windows}
export YK_SOAK=1 YK_BUILD=$top/$windows

summary=()
passed=0
failed=0
step() {  # step NAME COMMAND...: runs the command, notes its result and time
  local name=$1 started=$SECONDS
  shift
  echo "== $name"
  if "$@"; then
    passed=$((passed + 1))
    summary+=("passed  $name ($((SECONDS - started)) s)")
  else
    failed=$((failed + 1))
    summary+=("FAILED  $name ($((SECONDS - started)) s)")
  fi
}

e2e() { (cd "$top/tests/e2e" && /usr/bin/python3 -m pytest -q -p no:cacheprovider "$@"); }
# A memory run of the endurance benchmark: fails the step when it prints a missed bound.
figures() { /usr/bin/python3 "$top/bench/endurance_bench.py" "$1" | tee /dev/stderr | { ! grep -q MISSED; }; }

step "fuzz, 10 million runs per target" "$top/scripts/fuzz.sh" long
"$top/scripts/wine-session.sh" template
step "kill at any instant, 1,000 copies" e2e test_kills.py
step "load, 10,000 captures" figures load
step "memory against a bare dialog" figures memory
step "1,000 pastes, both cores busy" figures pastes

echo "== soak summary"
printf '  %s\n' "${summary[@]}"
echo "soak: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
