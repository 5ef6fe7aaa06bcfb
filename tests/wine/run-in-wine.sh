#!/usr/bin/env bash
# ctest's emulator for Windows test programs: one fresh Wine session per run, always torn down.
here=$(cd "$(dirname "$0")" && pwd)
dir=$("$here/../../scripts/wine-session.sh" start) || exit 1
trap '"$here/../../scripts/wine-session.sh" stop "$dir"' EXIT
# shellcheck disable=SC1091
source "$dir/env" && wine "$@"
