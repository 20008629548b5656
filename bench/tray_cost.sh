#!/usr/bin/env bash
# What Kelvane costs in the tray, side by side with bench/minimal_tray_win.cpp (a yardstick tray
# monitor that samples memory and replaces its icon every interval), both in one Wine desktop of
# this script's own (private Xvfb and prefix): CPU time per 60 s, RssAnon and VmRSS at 1 s and at
# 100 ms refresh (the yardstick at the same interval), the time from start to icon, and Kelvane's
# RssAnon before and after its tray menu, a task dialog, the settings dialog, the about window
# (with its version check) and the memory history window have been opened once and closed, and
# again after a second round of
# them: what a window took should be given back when it closes. A third
# copy of the yardstick only samples memory (sample-only): the floor every monitor pays per tick;
# Kelvane's CPU is printed as a ratio to that floor, beside the Shell_NotifyIconW calls it made
# per minute (asked of its tray window with the registered Kelvane.ShellCallCount).
# Each measured span also says what the memory history did inside it: the minutes it wrote and
# the process snapshots that fell due. The machine's load is printed with the figures: CPU time
# is the program's own, but a busy machine stretches it. Prints figures; never fails a build.
#
#   bench/tray_cost.sh [SECONDS [WARM_UP_SECONDS]]    (60 and 10; after cmake --build build/windows)
#   bench/tray_cost.sh --long                         (600 s at each refresh: ten minute-writes
#                                                      and two snapshots inside, about 25 minutes)
#   REFRESH_RATES="1000 100" bench/tray_cost.sh       (the refresh intervals measured, in ms;
#                                                      1000 and 100 unless given, --long too)
#   KELVANE_EXE=/path/to/kelvane.exe bench/tray_cost.sh   (another build, e.g. an older one)
#   HISTORY_DAYS=30 bench/tray_cost.sh                (a history of that many days of minutes
#                                                      first, as a user has after a month)
#   GENERAL_SETTINGS="ShowPercentage=1" bench/tray_cost.sh  (more [General] lines for Kelvane: the
#                                                      default look shows used gigabytes, whose
#                                                      picture changes with every 10 MB)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
long=0
[ "${1:-}" = --long ] && { long=1; shift; }
seconds=${1:-$([ "$long" = 1 ] && echo 600 || echo 60)}
warm_up=${2:-10}
refresh_rates=${REFRESH_RATES:-1000 100}
snapshot_seconds=300  # the program's process snapshot interval
KELVANE_ROOT=$root
source "$root/scripts/lib/wine-env.sh"

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -static -municode -mwindows \
  "$root/bench/minimal_tray_win.cpp" -o "$build/minimal_tray.exe" -lshell32 -lgdi32 -luser32 || exit 1

trap kelvane_wine_stop EXIT
kelvane_wine_start || exit 1
probe() { wine "$build/kelvane_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
probe windows >/dev/null  # starts the desktop and its taskbar

bench_dir="$WINEPREFIX/drive_c/bench"
data_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brimvale/Kelvane"
mkdir -p "$bench_dir" "$data_dir"
cp "${KELVANE_EXE:-$build/kelvane.exe}" "$bench_dir/kelvane.exe"
cp "$build/minimal_tray.exe" "$bench_dir/"
cp "$build/minimal_tray.exe" "$bench_dir/sampling_floor.exe"  # an image of its own, found apart
bench_dir=$(realpath "$bench_dir")

# A Windows process of this prefix whose mapped image is exactly this file (a command line can
# name anything; the mapping and the prefix cannot be mistaken).
find_pid() {
  local image="$bench_dir/$1" dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    grep -qF -- "$image" "$dir/maps" 2>/dev/null || continue
    tr '\0' '\n' < "$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
    return 0
  done
  return 1
}

wait_pid() {
  local pid i
  for i in $(seq 1 200); do
    pid=$(find_pid "$1") && { echo "$pid"; return 0; }
    sleep 0.1
  done
  return 1
}

stop_program() {
  local pid
  pid=$(find_pid "$1") || return 0
  kill "$pid" 2>/dev/null
  for _ in $(seq 1 50); do [ -d "/proc/$pid" ] || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null
}

# CPU time of all the process's threads in ms, from the scheduler's nanosecond counts (the tick
# counts of /proc/PID/stat are 10 ms coarse, as much as a minute of idle ticks costs).
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.1f", ns / 1e6}'; }
status_kb() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
mapped_dlls() { grep -o '[^/]*\.\(dll\|drv\)$' "/proc/$1/maps" | sort -u; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
median() { sort -n | awk '{v[NR] = $1} END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }

# The history file's minutes, one "minute: START COUNT MIN AVG10 MAX USED_PHYS USED_PAGE" a line,
# read with the preview, as a second program reads it.
history_minutes() {
  wine "$build/tools/preview/kelvane-preview.exe" --history-file "$(winepath -w "$data_dir/Kelvane.History" 2>/dev/null)" \
    2>/dev/null | tr -d '\r' | awk '$1 == "minute:"'
}
# Minutes the history file holds that closed inside [FROM, TO) (epoch seconds): what the tray's
# copy wrote in that span.
minutes_written() {
  history_minutes | awk -v from="$1" -v to="$2" '$2 + 60 > from && $2 + 60 <= to' | wc -l
}
# The snapshots due in [FROM, TO) for a program started at START: its timer runs from the start.
snapshots_due() {
  awk -v start="$1" -v from="$2" -v to="$3" -v every="$snapshot_seconds" \
    'BEGIN { print int((to - start) / every) - int((from - start) / every) }'
}
load_average() { cut -d' ' -f1-3 /proc/loadavg; }
# Kelvane's Shell_NotifyIconW calls so far; "-" from a build that does not count them.
shell_calls() { probe ask KelvaneTrayNotifyWindow Kelvane.ShellCallCount || echo -; }

# A minute a line up to a minute ago, loads going round 30-69%, written by the preview. The used
# amounts pass 2 GiB (from 2.6 to 5.9 GB): %.0f, since Debian's awk caps %d at 2^31 - 1.
seed_history() {
  local samples="$KELVANE_WINE_TMP/samples.txt" per_load=85899345
  awk -v from=$(( ($(date +%s) - $1 * 86400) / 60 * 60 )) -v count=$(( $1 * 1440 )) -v per_load=$per_load 'BEGIN {
    for (i = 0; i < count; i++) {
      load = 30 + (i * 7) % 40
      printf "%.0f %.0f %.0f 8589934592 4294967296 17179869184\n", from + 60 * i, load, load * per_load
    }
  }' > "$samples"
  wine "$build/tools/preview/kelvane-preview.exe" --history-samples "$(winepath -w "$samples" 2>/dev/null)" \
    --write-history "$(winepath -w "$data_dir/Kelvane.History" 2>/dev/null)" >/dev/null 2>&1
  # Each seeded minute holds one sample, so its largest used amount is that sample's.
  history_minutes | awk -v per_load=$per_load '
    { n++; if ($7 == sprintf("%.0f", $6 * per_load)) same++; if ($7 + 0 > most) most = $7 + 0 }
    END { printf "history seeded: %d minutes, %d of them with the used memory as seeded, the largest %.0f bytes\n", n, same, most }'
}

seed_settings() {
  printf '%s\r\n' '[General]' "RefreshRate=$1" 'ShowWelcomeWindow=0' 'WriteLog=1' ${GENERAL_SETTINGS:-} \
    > "$data_dir/Kelvane.Settings"
}

# Commands are reached as a user reaches them: the tray menu, then its keys.
choose_from_menu() {
  probe post KelvaneTrayNotifyWindow 0x0800 1 0x0204 >/dev/null  # right button on the icon
  probe wait '#32768' 10 || { echo "  (the tray menu did not open)"; return 1; }
  sleep 0.8  # the menu reads keys a moment after it appears
  probe keys "$@" >/dev/null
  probe wait-gone '#32768' 5 || echo "  (the tray menu did not close)"
}

# Kelvane's tray menu opened and closed.
open_menu() {
  probe post KelvaneTrayNotifyWindow 0x0800 1 0x0204 >/dev/null  # right button on the icon
  probe wait '#32768' 10 || echo "  (the tray menu did not open)"
  sleep 1
  probe keys esc >/dev/null
  probe wait-gone '#32768' 5 || echo "  (the tray menu did not close)"
  sleep 3
}

# The settings dialog opened and cancelled.
open_settings() {
  choose_from_menu up up up enter  # from the bottom: 退出, 关于, then 设置 (S would show the log)
  local i opened=1
  for i in $(seq 1 40); do
    probe find '#32770' 'Kelvane 设置' >/dev/null && { opened=0; break; }
    sleep 0.25
  done
  [ "$opened" = 0 ] || { echo "  (the settings dialog did not open)"; return; }
  sleep 2
  probe dlg-click 'Kelvane 设置' 2 >/dev/null  # Cancel
  probe wait-gone '#32770' 10 || echo "  (the settings dialog did not close)"
  sleep 3
}

# The log notice, a task dialog, opened and closed.
open_dialog() {
  choose_from_menu s  # "显示日志(&S)": no log file yet, so a notice explains where it will be
  probe wait '#32770' 10 || echo "  (the dialog did not open)"
  sleep 1
  probe post '#32770' 0x0010 >/dev/null
  probe wait-gone '#32770' 10 || echo "  (the dialog did not close)"
  sleep 3
}

about_shown() { probe windows | grep -q ' TFrmKelvaneMain vis=1 '; }

# The about window: its version check ends in a label (an error where the machine is offline),
# then OK hides the window.
open_about() {
  choose_from_menu a  # "关于(&A)"
  local i
  for i in $(seq 1 40); do about_shown && break; sleep 0.25; done
  about_shown || { echo "  (the about window did not open)"; return; }
  for i in $(seq 1 120); do
    probe children TFrmKelvaneMain | grep -Eq '^100[34] .* vis=1 .*(检查新版本时出错|是最新的|可供下载)' && break
    sleep 0.5
  done
  [ "$i" -lt 120 ] || echo "  (the version check did not end)"
  probe post TFrmKelvaneMain 0x0111 1 >/dev/null  # OK
  for i in $(seq 1 40); do about_shown || break; sleep 0.25; done
  about_shown && echo "  (the about window did not close)"
  sleep 3
}

# The memory history window, shown by the command line (handed to the running copy) and closed
# with Escape.
open_history() {
  (cd "$bench_dir" && wine 'C:\bench\kelvane.exe' /history >/dev/null 2>&1)
  probe wait TFrmKelvaneHistory 10 || { echo "  (the history window did not open)"; return; }
  sleep 2
  probe post TFrmKelvaneHistory 0x0100 0x1B >/dev/null  # WM_KEYDOWN Escape
  probe wait-gone TFrmKelvaneHistory 10 || echo "  (the history window did not close)"
  sleep 3
}

echo "kelvane.exe: $(stat -c %s "$bench_dir/kelvane.exe") bytes"
[ "${HISTORY_DAYS:-0}" -gt 0 ] && seed_history "$HISTORY_DAYS"

seed_settings 1000
echo "start to icon (ms, 7 starts each, alternating):"
# The started program inherits the probe's output: a file, so that no pipe waits for it to end.
start_to_icon() {
  wine "$build/kelvane_probe.exe" start-to-icon "C:\\bench\\$1" >"$KELVANE_WINE_TMP/start.txt" 2>/dev/null
  tr -d '\r' <"$KELVANE_WINE_TMP/start.txt"
  stop_program "$1"
  sleep 1  # the desktop settles before the next start
}
k_times=() m_times=()
for _ in 1 2 3 4 5 6 7; do
  k_times+=("$(start_to_icon kelvane.exe)")
  m_times+=("$(start_to_icon minimal_tray.exe)")
done
# On a busy machine single starts scatter widely: the median and the fastest start both count.
k_start=$(printf '%s\n' "${k_times[@]}" | median)
m_start=$(printf '%s\n' "${m_times[@]}" | median)
k_best=$(printf '%s\n' "${k_times[@]}" | sort -n | head -1)
m_best=$(printf '%s\n' "${m_times[@]}" | sort -n | head -1)
printf '  kelvane.exe      %s\n  minimal_tray.exe %s\n' "${k_times[*]}" "${m_times[*]}"
printf '  median %s vs %s (ratio %s), fastest %s vs %s (ratio %s)\n' "$k_start" "$m_start" \
  "$(ratio "$k_start" "$m_start")" "$k_best" "$m_best" "$(ratio "$k_best" "$m_best")"

# One row per program: CPU ms per 60 s, RssAnon, VmRSS.
row() { printf '  %-28s %10s %12s %10s\n' "$@"; }

for refresh in $refresh_rates; do
  seed_settings "$refresh"
  (cd "$bench_dir" && exec wine 'C:\bench\kelvane.exe' >/dev/null 2>&1) &
  (cd "$bench_dir" && exec wine 'C:\bench\minimal_tray.exe' "$refresh" >/dev/null 2>&1) &
  (cd "$bench_dir" && exec wine 'C:\bench\sampling_floor.exe' "$refresh" sample-only >/dev/null 2>&1) &
  started=$(date +%s)
  k=$(wait_pid kelvane.exe) || { echo "kelvane.exe did not start"; exit 1; }
  m=$(wait_pid minimal_tray.exe) || { echo "minimal_tray.exe did not start"; exit 1; }
  f=$(wait_pid sampling_floor.exe) || { echo "sampling_floor.exe did not start"; exit 1; }
  sleep "$warm_up"
  k0=$(cpu_ms "$k"); m0=$(cpu_ms "$m"); f0=$(cpu_ms "$f"); calls0=$(shell_calls)
  t0=$(date +%s); load0=$(load_average)
  sleep "$seconds"
  k1=$(cpu_ms "$k"); m1=$(cpu_ms "$m"); f1=$(cpu_ms "$f"); calls1=$(shell_calls)
  t1=$(date +%s); load1=$(load_average)
  per_minute() { awk -v a="$1" -v b="$2" -v s="$seconds" 'BEGIN {printf "%.1f", (b - a) * 60 / s}'; }
  kcpu=$(per_minute "$k0" "$k1"); mcpu=$(per_minute "$m0" "$m1"); fcpu=$(per_minute "$f0" "$f1")
  kanon=$(status_kb "$k" RssAnon); manon=$(status_kb "$m" RssAnon)
  krss=$(status_kb "$k" VmRSS); mrss=$(status_kb "$m" VmRSS)
  echo "refresh $refresh ms ($seconds s measured after $warm_up s):"
  row "" "CPU ms/60s" "RssAnon KB" "VmRSS KB"
  row kelvane.exe "$kcpu" "$kanon" "$krss"
  row minimal_tray.exe "$mcpu" "$manon" "$mrss"
  row "ratio" "$(ratio "$kcpu" "$mcpu")" "$(ratio "$kanon" "$manon")" "$(ratio "$krss" "$mrss")"
  row "floor (sampling, no icon)" "$fcpu" "$(status_kb "$f" RssAnon)" "$(status_kb "$f" VmRSS)"
  calls=$(awk -v a="$calls0" -v b="$calls1" -v s="$seconds" \
    'BEGIN { if (a != "-" && b != "-") printf "%.1f", (b - a) * 60 / s; else print "-" }')
  echo "  kelvane.exe against the floor: CPU ratio $(ratio "$kcpu" "$fcpu"), $calls Shell_NotifyIconW calls per minute"
  echo "  machine load average (1, 5, 15 min): $load0 before, $load1 after ($(nproc) cores)"
  if [ -f "$data_dir/Kelvane.History" ]; then
    echo "  inside the span: $(minutes_written "$t0" "$t1") minutes written to the history," \
      "$(snapshots_due "$started" "$t0" "$t1") process snapshots due"
  else
    echo "  no history file: a build without the memory history"
  fi
  if [ "$refresh" = 1000 ]; then
    dlls_before=$(mapped_dlls "$k")
    open_menu
    menu=$(status_kb "$k" RssAnon)
    dlls_menu=$(mapped_dlls "$k")
    open_dialog
    dialog=$(status_kb "$k" RssAnon)
    dlls_dialog=$(mapped_dlls "$k")
    open_settings
    settings=$(status_kb "$k" RssAnon)
    dlls_settings=$(mapped_dlls "$k")
    open_about
    about=$(status_kb "$k" RssAnon)
    open_history
    history=$(status_kb "$k" RssAnon)
    # The same windows once more: what stays is a cache (flat from here on) or a leak (grows).
    open_dialog
    open_settings
    open_about
    open_history
    second_round=$(status_kb "$k" RssAnon)
    manon=$(status_kb "$m" RssAnon)
    printf '  kelvane.exe RssAnon: before %s KB, after its menu %s KB, after a task dialog too %s KB (ratio %s),\n' \
      "$kanon" "$menu" "$dialog" "$(ratio "$dialog" "$manon")"
    printf '    after the settings dialog too %s KB (ratio %s), after the about window and its check too %s KB\n' \
      "$settings" "$(ratio "$settings" "$manon")" "$about"
    printf '  kept after each closed window, against the figure after the menu (KB): task dialog %+d, settings %+d, about %+d, history %+d\n' \
      $((dialog - menu)) $((settings - menu)) $((about - menu)) $((history - menu))
    printf '    after the history window %s KB (%+d against the about window before it)\n' "$history" $((history - about))
  printf '    after a second round of the same four windows %s KB (%+d against the first round)\n' \
      "$second_round" $((second_round - history))
    echo "  libraries mapped after the menu: $(comm -13 <(echo "$dlls_before") <(echo "$dlls_menu") | tr '\n' ' ')"
    echo "  libraries mapped after the task dialog: $(comm -13 <(echo "$dlls_menu") <(echo "$dlls_dialog") | tr '\n' ' ')"
    echo "  libraries mapped after the settings dialog: $(comm -13 <(echo "$dlls_dialog") <(echo "$dlls_settings") | tr '\n' ' ')"
    echo "  libraries mapped after the about and history windows and the second round: $(comm -13 <(echo "$dlls_settings") <(mapped_dlls "$k") | tr '\n' ' ')"
  fi
  stop_program kelvane.exe
  stop_program minimal_tray.exe
  stop_program sampling_floor.exe
done
