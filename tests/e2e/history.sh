#!/usr/bin/env bash
# The memory history as a user and a scheduled task meet it: two hours of history seeded by the
# preview, a run that adds a minute of its own, /history showing the window, a kill -9 and a new
# start that keep and extend it, /release and /export-history with and without a running copy,
# /exit, and a bad switch.
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
HISTORY="$DATA_DIR/Kelvane.History"
PREVIEW="$KELVANE_BUILD/tools/preview/kelvane-preview.exe"
mkdir -p "$DATA_DIR"
# An alert at the first tick (the host's load is above 1%), kept in the log and the history only.
printf '%s\r\n' '[General]' 'ShowWelcomeWindow=0' 'Warn=0' 'WarnMsgBox=0' 'DefragOnHighMemory=0' \
  'WriteLog=1' 'RedPercent=1' 'YellowPercent=1' > "$SETTINGS"

# Two hours of minutes up to ten minutes ago, one of them at 97%.
NOW=$(date +%s)
SEEDED_FROM=$(( (NOW - 7200 - 600) / 60 * 60 ))
for i in $(seq 0 119); do
  t=$(( SEEDED_FROM + 60 * i ))
  load=$(( i == 60 ? 97 : 30 + i % 25 ))
  echo "$t $load $(( load * 85899345 )) 8589934592 4294967296 17179869184"
done > "$ARTIFACTS/samples.txt"
wine "$PREVIEW" --history-samples "$(winepath -w "$ARTIFACTS/samples.txt")" \
  --write-history "$(winepath -w "$HISTORY")" >/dev/null 2>&1

history_lines() { wine "$PREVIEW" --history-file "$(winepath -w "$HISTORY")" 2>/dev/null | tr -d '\r'; }
minutes_from() { history_lines | awk -v from="$1" '$1 == "minute:" && $2 >= from' | wc -l; }
events() { history_lines | awk -v kind="$1" '$1 == "event:" && $3 == kind' | wc -l; }
check "the seeded file holds 120 minutes" test "$(minutes_from 0)" -eq 120

# A CSV a spreadsheet reads: the byte-order mark, then the header.
csv_is_whole() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
    head -n 1 "$1" | tail -c +4 | tr -d '\r' | grep -qx '本地时间,UTC 时间,类型,样本数,最低负载 (%),平均负载 (%),最高负载 (%),已用物理内存 (字节),已用页面文件 (字节),释放来源,释放前可用物理内存 (字节),释放后可用物理内存 (字节),占用内存最多的进程'
}
running_minutes_written() { [ "$(minutes_from "$FIRST_RUN")" -ge 1 ]; }
two_starts() { [ "$(events start)" -eq 2 ]; }
release_from_command_line() { history_lines | grep -q ' release command-line '; }
no_options_dialog() { ! probe find '#32770' 'Kelvane 设置' >/dev/null; }
setting() { tr -d '\r' < "$SETTINGS" | grep -qx "$1"; }
alert_with_processes() { history_lines | grep -q ' alert [0-9]* "'; }

# --- a run adds its minutes to the seeded ones -----------------------------------------------
FIRST_RUN=$(( $(date +%s) / 60 * 60 ))
start_kelvane
check "the icon appears" wait_for_tray_tip 90
check "a minute of the run is written beside the settings (within two minutes)" \
  wait_for 150 running_minutes_written
check "the seeded minutes are kept" test "$(minutes_from 0)" -ge 121

BUTTONS_BEFORE=$(probe taskbar-buttons)
run_switch "$PROGRAM_DIR" 40 /history
check "/history: the running copy answers 0" test "$CODE" -eq 0
check "/history: the window shows" probe wait TFrmKelvaneHistory 20
one_more_button() { [ "$(probe taskbar-buttons)" -eq $((BUTTONS_BEFORE + 1)) ]; }
check "the window has a taskbar button of its own" wait_for 10 one_more_button
sleep 1  # let it paint before the screenshot (the screenshot is an artifact, not a check)
screenshot history-window

# --- kill -9 and a new start keep and extend it ----------------------------------------------
BEFORE_KILL=$(minutes_from 0)
kill -KILL "$KELVANE_WINE_PID"
wait "$KELVANE_WINE_PID" 2>/dev/null || true
check "after the kill every written minute is still there" test "$(minutes_from 0)" -ge "$BEFORE_KILL"
check "the killed run left no exit event" test "$(events exit)" -eq 0
start_kelvane
check "a new start shows the icon" wait_for_tray_tip 90
check "its start is kept" wait_for 10 two_starts

# /export-history from the running copy: what it holds, the open minute of this run included;
# a relative file is resolved in the starting process's own folder.
EXPORT_DIR="$WINEPREFIX/drive_c/exports"
mkdir -p "$EXPORT_DIR"
run_switch "$EXPORT_DIR" 40 /export-history running.csv 1
check "/export-history (running): exit code 0" test "$CODE" -eq 0
check "/export-history (running): BOM and header" csv_is_whole "$EXPORT_DIR/running.csv"
check "/export-history (running): the seeded hours and this run's minute" \
  test "$(grep -c ',分钟,' "$EXPORT_DIR/running.csv")" -gt "$BEFORE_KILL"

run_switch "$PROGRAM_DIR" 40 /release
check "/release (running): exit code 0" test "$CODE" -eq 0
# The balloon's words cannot be read back; its width tells the short feedback from the long
# notice a plain second start gets.
feedback_balloon() {
  local rect
  rect=$(probe balloon 15) || return 1
  awk -F'[ ,]' '{ exit !($4 - $2 < 250) }' <<<"$rect"
}
check "/release (running): a balloon says what it freed" feedback_balloon
screenshot release-balloon

# /settings opens the options dialog; the range the window chooses meanwhile (key 1: 1 小时)
# outlives the dialog's OK, which saves the record.
refute "the settings file has no [History] before" grep -q History "$SETTINGS"
run_switch "$PROGRAM_DIR" 40 /settings
check "/settings: the options dialog shows" wait_for_dialog 'Kelvane 设置' 20
run_switch "$PROGRAM_DIR" 40 /history
check "/history again: the window shows" probe wait TFrmKelvaneHistory 20
probe post TFrmKelvaneHistory 0x0100 0x31 >/dev/null || true  # WM_KEYDOWN '1'
probe post TFrmKelvaneHistory 0x0100 0x1B >/dev/null || true  # WM_KEYDOWN Escape
check "Escape closes the window" probe wait-gone TFrmKelvaneHistory 10
probe dlg-click 'Kelvane 设置' 1 >/dev/null || true
check "the options dialog's OK closes it" wait_for 10 no_options_dialog
check "the range chosen in the window is in the saved record" setting Range=0

# Shown again, the window is where it was; the range and the place are kept at exit.
run_switch "$PROGRAM_DIR" 40 /history
check "/history a third time: the window shows" probe wait TFrmKelvaneHistory 20

run_switch "$PROGRAM_DIR" 40 /exit
check "/exit (running): exit code 0" test "$CODE" -eq 0
check "/exit (running): the program ends" program_ends 30
check "one release is kept" test "$(events release)" -eq 1
check "...as the command line's" release_from_command_line
check "the alerts are kept with their processes" alert_with_processes
check "the exit is kept" test "$(events exit)" -eq 1
check "the range is saved at exit" setting Range=0
check "and the window's place" grep -q '^WindowLeft=-\?[0-9]' <(tr -d '\r' < "$SETTINGS")

# --- no running copy: each switch does its work and ends, no icon ---------------------------
MINUTES=$(minutes_from 0)
run_switch "$EXPORT_DIR" 40 /export-history alone.csv 31
check "/export-history (alone): exit code 0" test "$CODE" -eq 0
check "/export-history (alone): BOM and header" csv_is_whole "$EXPORT_DIR/alone.csv"
check "/export-history (alone): every minute of the file" test "$(grep -c ',分钟,' "$EXPORT_DIR/alone.csv")" -eq "$MINUTES"
# A scheduled task's failure: no window (/quiet), the reason in the log.
run_switch "$EXPORT_DIR" 40 /quiet /export-history 'Q:\no\such\folder.csv'
check "/export-history to a folder that does not exist: exit code 1" test "$CODE" -eq 1
check "...and its reason is in the log" grep -qF 'Q:\no\such\folder.csv' <(iconv -f GBK -t UTF-8 "$DATA_DIR/Kelvane.log")
run_switch "$PROGRAM_DIR" 60 /release
check "/release (alone): exit code 0" test "$CODE" -eq 0
run_switch "$PROGRAM_DIR" 20 /exit
check "/exit (alone): exit code 0" test "$CODE" -eq 0
refute "no copy was left running" probe find TFrmKelvaneMain
check "the history file was only read" test "$(minutes_from 0)" -eq "$MINUTES"

# A bad switch shows the usage and ends with 2 once the box is closed.
(cd "$PROGRAM_DIR" && exec wine "$PROGRAM_WIN" /bogus >/dev/null 2>&1) &
BAD_PID=$!
check "a bad switch shows the usage" probe wait KelvaneCommandLineHelp 20
probe post KelvaneCommandLineHelp 0x0010 >/dev/null || true  # WM_CLOSE
BAD_CODE=0
timeout 20 tail --pid="$BAD_PID" -f /dev/null
wait "$BAD_PID" || BAD_CODE=$?
check "a bad switch: exit code 2" test "$BAD_CODE" -eq 2

# A file that is not a history file is kept aside, never deleted, with one line in the log, and
# the run starts a new history.
echo 'not a history' > "$HISTORY"
start_kelvane
check "a start over a foreign file shows the icon" wait_for_tray_tip 90
check "the foreign file is kept aside" wait_for 10 test -s "$HISTORY.1.old"
run_switch "$PROGRAM_DIR" 40 /exit
check "/exit: the program ends" program_ends 30
check "the new history holds this run" test "$(events start)" -eq 1 -a "$(events exit)" -eq 1
check "the log says where the foreign file went" \
  grep -qF 'Kelvane.History.1.old' <(iconv -f GBK -t UTF-8 "$DATA_DIR/Kelvane.log")
