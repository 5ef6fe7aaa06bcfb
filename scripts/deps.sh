#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing, and fetches the
# pinned SQLite amalgamation. Idempotent and quiet when everything is present.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  make cmake g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils xclip xsel xdotool imagemagick
  googletest libbenchmark-dev sqlite3 python3 python3-pytest
  nsis zip npm
  fonts-wqy-microhei fonts-symbola
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm may come with the machine's own Node.js instead of Debian's package.
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/npm}")
fi
read -r -a missing <<< "${missing[*]}"

if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$top/scripts/fetch-sqlite.sh"
