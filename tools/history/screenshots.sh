#!/usr/bin/env bash
# The memory history window's pictures in docs/: an hour (its gap, an alert and a release) and 30
# days with the pointer on an alert, at 96 DPI, and 30 days at 144 DPI; the same 30 days in
# English at both. Needs build/windows.
set -euo pipefail
KELVANE_ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${KELVANE_BUILD:-$KELVANE_ROOT/build/windows}
source "$KELVANE_ROOT/scripts/lib/wine-env.sh"

kelvane_wine_start
trap kelvane_wine_stop EXIT
OUT=$(mktemp -d "$KELVANE_ROOT/build/tmp/shots.XXXXXX")

# shot NAME RANGE [MINUTES_AGO]: runs the tool, waits for its window line, crops the desktop.
shot() {
  local name=$1 rect="" i
  shift
  xdotool mousemove 1020 10 2>/dev/null || true
  wine "$BUILD/history_window_shot.exe" "$@" > "$OUT/$name.txt" 2>/dev/null &
  local pid=$!
  for i in $(seq 1 120); do
    rect=$(grep -a '^window:' "$OUT/$name.txt" 2>/dev/null | tr -d '\r' || true)
    [ -n "$rect" ] && break
    sleep 0.25
  done
  [ -n "$rect" ] || { echo "screenshots: no window for $name" >&2; return 1; }
  sleep 1  # the desktop shows what the window painted
  read -r _ left top right bottom <<< "$rect"
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$OUT/$name.png"
  xdotool key Escape 2>/dev/null || true  # the window closes on Escape; else the tool ends in 20 s
  wait "$pid" || true
  cp "$OUT/$name.png" "$KELVANE_ROOT/docs/$name.png"
  echo "docs/$name.png: $((right - left))x$((bottom - top))"
}

shot history-1h 0
shot history-30d 3 $((9 * 1440))
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
shot history-30d-144 3 $((9 * 1440))
KELVANE_SHOT_LANGUAGE=en-US shot history-30d-en-144 3 $((9 * 1440))
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
KELVANE_SHOT_LANGUAGE=en-US shot history-30d-en 3 $((9 * 1440))
rm -rf "$OUT"
