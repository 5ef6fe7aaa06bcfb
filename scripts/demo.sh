#!/usr/bin/env bash
# `make demo`: the README's pictures (docs/demo-*.png), taken by a scripted tour of one build in a
# private Wine session on a virtual display.
#   demo.sh [BUILD_DIR [OUT_DIR]]   defaults: build/windows, docs
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/windows}")
mkdir -p "${2:-$top/docs}"
out=$(realpath "${2:-$top/docs}")
for file in yarrowkit.exe tests/e2e/ykclient.exe; do
  [ -f "$build/$file" ] || { echo "demo: $build/$file is missing: build it first (make windows)" >&2; exit 1; }
done
"$top/scripts/wine-session.sh" template
YK_BUILD=$build /usr/bin/python3 "$top/scripts/demo_tour.py" "$out"
