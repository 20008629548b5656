#!/usr/bin/env bash
# CPU time over 60 s and resident anonymous memory (RssAnon) under Wine, for kelvane.exe at its
# default refresh and for bench/minimal_tray_win.cpp, a yardstick tray monitor that only samples
# memory and updates its icon every second.
#
#   bench/tray_cost.sh [SECONDS]      (after cmake --build build/windows)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
seconds=${1:-60}
source "$root/scripts/lib/wine-env.sh"

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -static -municode -mwindows \
  "$root/bench/minimal_tray_win.cpp" -o "$build/minimal_tray.exe" -lshell32 -lgdi32 -luser32 || exit 1

trap kelvane_wine_stop EXIT
kelvane_wine_start || exit 1
wine "$build/kelvane_probe.exe" windows >/dev/null 2>&1  # starts the desktop and its taskbar

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {
  local exe=$1 name
  name=$(basename "$exe")
  wine "$exe" >/dev/null 2>&1 &
  local pid=""
  for _ in $(seq 1 100); do
    pid=$(pgrep -n -f "$name" || true)
    [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] && break
    sleep 0.1
  done
  [ -n "$pid" ] || { echo "$name did not start"; return 1; }
  sleep 5  # start-up is not what is measured
  local before after rss
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  rss=$(awk '/^RssAnon/ {print $2, $3}' "/proc/$pid/status")
  printf '%-18s CPU %5.2f s in %d s   RssAnon %s\n' "$name" \
    "$(echo "($after - $before) / $ticks_per_second" | bc -l)" "$seconds" "$rss"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

measure "$build/kelvane.exe"
measure "$build/minimal_tray.exe"
