#!/usr/bin/env bash
# Private Wine sessions for tests and `make run`: each one is a copy of a template prefix
# plus an Xvfb display of its own, and `stop` ends only that prefix's wineserver.
#   wine-session.sh start [WxH]   prints the session folder; its file `env` holds the variables
#   wine-session.sh stop DIR      ends the session's wineserver and display, removes the folder
#   wine-session.sh template      makes the template prefix if it is missing
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
root=${YK_WINE_ROOT:-$top/build/wine}
template=$root/template
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

start_display() {  # $1 folder, $2 screen size; writes $1/display and $1/xvfb.pid
  local dir=$1 size=$2
  rm -f "$dir/display"
  # fd 9 is the template lock: a display that inherited it would hold the lock for its whole life.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" 9>&- >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
  [ -s "$dir/display" ] || { echo "session: Xvfb did not start" >&2; return 1; }
  DISPLAY=":$(tr -d '\n' <"$dir/display")" xdpyinfo >/dev/null 2>&1 || { echo "session: display not answering" >&2; return 1; }
}

stop_display() { [ -f "$1/xvfb.pid" ] && kill "$(cat "$1/xvfb.pid")" 2>/dev/null || true; }

reg() { wine reg add "$@" /f >/dev/null 2>&1; }

make_template() {
  mkdir -p "$root"
  exec 9>"$root/template.lock"
  flock 9
  # The template is remade whenever this script (which says how it is made) changes.
  local stamp
  stamp=$(sha256sum "$0" | cut -d' ' -f1)
  [ "$(cat "$template/.ready" 2>/dev/null)" = "$stamp" ] && return 0
  rm -rf "$template" "$root/template-display"
  mkdir -p "$root/template-display"
  start_display "$root/template-display" 1024x768
  (
    export WINEPREFIX=$template DISPLAY=":$(cat "$root/template-display/display")"
    wineboot -i >/dev/null 2>&1
    # A crash must end the program, not wait for someone to close a debugger dialog.
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # Every program runs in one virtual desktop with a taskbar and a tray, as on Windows.
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x800
    # Item texts in any script: the fonts Wine links to its UI font for Chinese and for symbols
    # (emoji) are Windows fonts; stand-ins from Debian (scripts/deps.sh) take their names.
    reg 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ /d 'WenQuanYi Micro Hei'
    reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI Symbol' /t REG_SZ /d Symbola
    # The dialogs' "MS Sans Serif" has no linked fonts of its own.
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'MS Sans Serif' \
      /t REG_MULTI_SZ /d 'SIMSUN.TTC,SimSun\0SEGUISYM.TTF,Segoe UI Symbol'
    wineserver -w
  )
  stop_display "$root/template-display"
  rm -rf "$root/template-display"
  echo "$stamp" >"$template/.ready"
}

start_session() {
  make_template
  exec 9>&-
  local dir
  dir=$(mktemp -d "$root/session-XXXXXX")
  cp -a "$template/." "$dir/prefix"
  start_display "$dir" "${1:-1280x800}"
  cat >"$dir/env" <<ENV
export WINEPREFIX='$dir/prefix'
export DISPLAY=':$(cat "$dir/display")'
export WINEDEBUG='$WINEDEBUG'
export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
ENV
  echo "$dir"
}

stop_session() {
  [ -d "$1" ] || return 0
  WINEPREFIX="$1/prefix" wineserver -k 2>/dev/null || true
  stop_display "$1"
  rm -rf "$1"
}

case "${1:-}" in
  start) shift; start_session "$@" ;;
  stop) stop_session "$2" ;;
  template) make_template ;;
  *) echo "usage: wine-session.sh start [WxH] | stop DIR | template" >&2; exit 2 ;;
esac
