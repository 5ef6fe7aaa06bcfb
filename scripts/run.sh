#!/usr/bin/env bash
# Starts yarrowkit.exe under Wine in a prefix kept under build/wine/user (so the history and
# settings survive between runs), on $DISPLAY, or on a private Xvfb display when there is none.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
user_dir=$top/build/wine/user
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

"$top/scripts/wine-session.sh" template
if [ ! -d "$user_dir/prefix" ]; then
  mkdir -p "$user_dir"
  cp -a "$top/build/wine/template/." "$user_dir/prefix"
fi
export WINEPREFIX=$user_dir/prefix

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$user_dir/display" >/dev/null 2>&1 &
  xvfb=$!
  trap 'WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
  for _ in $(seq 100); do [ -s "$user_dir/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$user_dir/display")"
  echo "Yarrowkit runs on the virtual display $DISPLAY (there was no \$DISPLAY)."
  echo "Look at it with:  DISPLAY=$DISPLAY import -window root shot.png   (or x11vnc -display $DISPLAY)"
fi
echo "Yarrowkit is in the tray of the Wine desktop; Ctrl+D (or a click on its tray icon) opens its window. Stop it with Ctrl+C."
echo "History and settings: $WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/YarrowKit/"
wine "$exe"
