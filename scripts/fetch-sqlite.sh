#!/usr/bin/env bash
# Fetches SQLite 3.53.0 (the amalgamation shipped inside better-sqlite3@12.9.0 on npm)
# into build/_deps/sqlite, checked against pinned checksums. Both builds compile it.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
dest="$top/build/_deps/sqlite"
package="better-sqlite3@12.9.0"
tarball_sha256="ad0e29650140c49d0335b1d356596aa8166f12b758f418a98446130e3278f250"
source_sha256="391855ddc7af04001364430884d263cbe8638f852c83865823a2d08358f6b87d"

sha() { sha256sum "$1" | cut -d' ' -f1; }

if [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] && [ "$(sha "$dest/sqlite3.c")" = "$source_sha256" ]; then
  exit 0
fi

echo "deps: fetching SQLite amalgamation from $package"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tarball=$(ls "$work"/*.tgz)
if [ "$(sha "$tarball")" != "$tarball_sha256" ]; then
  echo "deps: ERROR: checksum mismatch for $package tarball" >&2
  echo "      expected $tarball_sha256" >&2
  echo "      got      $(sha "$tarball")" >&2
  exit 1
fi
tar -xzf "$tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
if [ "$(sha "$work/package/deps/sqlite3/sqlite3.c")" != "$source_sha256" ]; then
  echo "deps: ERROR: checksum mismatch for sqlite3.c" >&2
  exit 1
fi
mkdir -p "$dest"
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dest/"
