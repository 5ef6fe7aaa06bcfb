#!/usr/bin/env bash
# Packs one Windows build for users: the per-user installer and the portable zip.
#   dist.sh [BUILD_DIR [OUT_DIR]]   defaults: build/windows, build/dist
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/windows}")
out=${2:-$top/build/dist}
exe=$build/yarrowkit.exe
icon=$build/res/art/yarrowkit.ico
[ -f "$exe" ] || { echo "dist: $exe is missing: build it first (make windows)" >&2; exit 1; }
command -v makensis >/dev/null || { echo "dist: makensis is missing: run scripts/deps.sh" >&2; exit 1; }

# The version resource is the one source of the version number.
full=$(sed -n 's/^#define YK_VERSION_TEXT *"\([0-9.]*\)".*/\1/p' "$top/res/version.rc")
[ -n "$full" ] || { echo "dist: no YK_VERSION_TEXT in res/version.rc" >&2; exit 1; }
short=${full%.0.0}
mkdir -p "$out"
out=$(realpath "$out")

setup=$out/yarrowkit-$short-setup.exe
size_kb=$(( ($(stat -c %s "$exe") + 1023) / 1024 ))
makensis -V2 -NOCD -DEXE="$exe" -DICON="$icon" -DOUTFILE="$setup" -DVERSION="$short" -DVERSION_FULL="$full" \
  -DSIZE_KB="$size_kb" "$top/packaging/yarrowkit.nsi"

zip_file=$out/yarrowkit-$short-portable.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/yarrowkit.exe"
sed 's/$/\r/' "$top/packaging/portable-readme.txt" >"$stage/README.txt"  # Notepad wants CRLF
rm -f "$zip_file"
(cd "$stage" && zip -q -X "$zip_file" yarrowkit.exe README.txt)

echo "dist: $setup"
echo "dist: $zip_file"
