#!/usr/bin/env bash
# The long runs (`make soak`): ten million fuzz runs per target, the kill test with 1,000
# copies, the load test with 10,000 captures and the memory test, each printing its figures,
# then a summary. Takes about an hour on two cores.
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

step "fuzz, 10 million runs per target" "$top/scripts/fuzz.sh" long
"$top/scripts/wine-session.sh" template
step "kill at any instant, 1,000 copies" e2e test_kill_load_memory.py::test_kills_at_any_instant_lose_no_committed_item
step "load, 10,000 captures" e2e test_kill_load_memory.py::test_many_captures_leak_nothing
step "memory against a bare dialog" e2e test_kill_load_memory.py::test_private_memory_is_within_8_mib_of_a_bare_dialog

echo "== soak summary"
printf '  %s\n' "${summary[@]}"
echo "soak: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
