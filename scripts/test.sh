#!/usr/bin/env bash
# Runs every tier: native unit tests (under ASan/UBSan), a short fuzz run, then the Windows
# tests and the end-to-end tests under Wine. Ends with one line that counts all of them.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
native=${1:-build/native}
windows=${2:-build/windows}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

passed=0
failed=0
tally() {  # reads a ctest summary line "N% tests passed, F tests failed out of T"
  local line total bad
  line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -n 1)
  [ -n "$line" ] || return 0
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

status=0
times=()
stage() { times+=("$1 $((SECONDS - started)) s"); started=$SECONDS; }
started=$SECONDS
echo "== native unit tests"
(cd "$top/$native" && ctest --output-on-failure -j 2) 2>&1 | tee "$log" || status=1
tally
stage native

echo "== fuzz (short)"
if "$top/scripts/fuzz.sh" short "$top/$native"; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi
stage fuzz

echo "== Windows tests and end-to-end tests under Wine"
"$top/scripts/wine-session.sh" template
(cd "$top/$windows" && ctest --output-on-failure -j 2) 2>&1 | tee "$log" || status=1
tally
stage wine

echo "times: ${times[*]}"
echo "all tiers: $passed passed, $failed failed"
exit $status
