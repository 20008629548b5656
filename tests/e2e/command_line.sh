#!/usr/bin/env bash
# The command line's words and refusals: /export-history never overwrites the program's own
# files (with and without a running copy), a device or a read-only file; the reason reaches
# standard error when it is a file; /quiet with a typo ends at once without a window; the running
# copy answers a request it does not understand with 3, which the start turns into exit 2.
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
HISTORY="$DATA_DIR/Kelvane.History"
mkdir -p "$DATA_DIR"
printf '%s\r\n' '[General]' 'ShowWelcomeWindow=0' 'Warn=0' 'WarnMsgBox=0' 'WriteLog=1' > "$SETTINGS"
EXPORT_DIR="$WINEPREFIX/drive_c/exports"
mkdir -p "$EXPORT_DIR"
ERR="$ARTIFACTS/stderr.txt"

# Runs kelvane.exe with a switch in FOLDER, standard error into $ERR (UTF-8), the exit code in CODE.
run_switch() {  # run_switch FOLDER SECONDS ARGS...
  local folder=$1 seconds=$2
  shift 2
  CODE=0
  (cd "$folder" && timeout "$seconds" wine "$PROGRAM_WIN" "$@" >/dev/null 2>"$ERR") || CODE=$?
}
said() { tr -d '\r' < "$ERR" | grep -qF "$1"; }
wait_for() {  # wait_for SECONDS COMMAND...
  local seconds=$1 i
  shift
  for i in $(seq 1 $((seconds * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}
no_box() { ! probe find '#32770' >/dev/null; }
SETTINGS_SUM=$(md5sum < "$SETTINGS")
settings_kept() { [ "$(md5sum < "$SETTINGS")" = "$SETTINGS_SUM" ]; }

# --- no copy running --------------------------------------------------------------------------
run_switch "$DATA_DIR" 40 /export-history Kelvane.Settings 31
check "alone, onto the settings file: exit code 1" test "$CODE" -eq 1
check "...the settings file is untouched" settings_kept
check "...standard error says why" said '是 Kelvane 自己的文件'
run_switch "$DATA_DIR" 40 /export-history KELVANE.HISTORY.3.old
check "alone, onto a .N.old beside the history: exit code 1" test "$CODE" -eq 1
refute "...nothing written there" test -e "$DATA_DIR/KELVANE.HISTORY.3.old"
run_switch "$PROGRAM_DIR" 40 /export-history other.EXE
check "alone, onto a program in the program's folder: exit code 1" test "$CODE" -eq 1
run_switch "$EXPORT_DIR" 40 /export-history NUL
check "alone, onto NUL: exit code 1" test "$CODE" -eq 1
check "...standard error says it is no ordinary file" said '不是磁盘上的普通文件'
echo keep > "$EXPORT_DIR/locked.csv"
wine attrib +r 'C:\exports\locked.csv' >/dev/null 2>&1
run_switch "$EXPORT_DIR" 40 /export-history locked.csv
check "alone, onto a read-only file: exit code 1" test "$CODE" -eq 1
check "...the file is kept" test "$(cat "$EXPORT_DIR/locked.csv")" = keep
run_switch "$EXPORT_DIR" 40 /export-history 'Q:\no\such\folder.csv'
check "alone, into a folder that does not exist: the reason on standard error" said 'Q:\no\such\folder.csv'
run_switch "$EXPORT_DIR" 40 /export-history fine.csv
check "alone, an ordinary file: exit code 0" test "$CODE" -eq 0
refute "...no temporary left beside it" compgen -G "$EXPORT_DIR/fine.csv.*"

# Without /quiet and with standard error going nowhere, a failure is told in a box.
(cd "$EXPORT_DIR" && exec wine "$PROGRAM_WIN" /export-history NUL >/dev/null 2>&1) &
BOX_PID=$!
check "a failure with nowhere else to go shows a box" wait_for_dialog '错误' 20
probe dlg-click '错误' 1 >/dev/null || true  # OK
BOX_CODE=0
timeout 20 tail --pid="$BOX_PID" -f /dev/null || true
wait "$BOX_PID" || BOX_CODE=$?
check "...and its start ends with 1 once it is closed" test "$BOX_CODE" -eq 1

# A typo in a scheduled task: ends within 5 s with 2 and no window (standard error goes nowhere).
START=$(date +%s%N)
CODE=0
(cd "$EXPORT_DIR" && timeout 30 wine "$PROGRAM_WIN" /quiet /export-history a.csv 0 >/dev/null 2>/dev/null) || CODE=$?
ELAPSED_MS=$(( ($(date +%s%N) - START) / 1000000 ))
log "/quiet with a typo ended after $ELAPSED_MS ms"
check "/quiet with a typo: exit code 2" test "$CODE" -eq 2
check "...within 5 s" test "$ELAPSED_MS" -lt 5000
check "...and no window" no_box
run_switch "$EXPORT_DIR" 20 /quiet /history
check "/quiet before /history is a bad command line" test "$CODE" -eq 2
check "...whose usage goes to standard error" said '/quiet'

run_switch "$EXPORT_DIR" 20 '/?'
check "/? with standard error to a file: exit code 0" test "$CODE" -eq 0
check "...the usage as a table, descriptions in their column" said '/release              释放一次内存'
check "...a long switch alone on its line" said '                      导出最近 天数 天的内存历史'

# With standard error going nowhere, the help is a window: the table, its problem above it.
(cd "$EXPORT_DIR" && exec wine "$PROGRAM_WIN" /histroy >/dev/null 2>&1) &
HELP_PID=$!
check "a bad switch with nowhere else to go shows the help window" probe wait KelvaneCommandLineHelp 20
sleep 1  # let it paint before the screenshot (an artifact, not a check)
screenshot help-window
probe post KelvaneCommandLineHelp 0x0010 >/dev/null || true  # WM_CLOSE
HELP_CODE=0
timeout 20 tail --pid="$HELP_PID" -f /dev/null || true
wait "$HELP_PID" || HELP_CODE=$?
check "...and the start ends with 2 once it is closed" test "$HELP_CODE" -eq 2

# --- a running copy ---------------------------------------------------------------------------
start_kelvane
check "the icon appears" wait_for_tray_tip 90
run_switch "$EXPORT_DIR" 40 /export-history 'C:\users\'"$(id -un)"'\AppData\Roaming\Brimvale\Kelvane\kelvane.settings'
check "running, onto its settings file: exit code 1" test "$CODE" -eq 1
check "...the settings file is untouched" settings_kept
check "...the start words the running copy's reason" said '是 Kelvane 自己的文件'
run_switch "$EXPORT_DIR" 40 /export-history 'Q:\no\such\folder.csv'
check "running, into a folder that does not exist: exit code 1" test "$CODE" -eq 1
check "...the start words the reason from the system's error" said 'Q:\no\such\folder.csv'
ANSWER=$(probe copydata-answer TFrmKelvaneMain 4B4C5251 'release-twice')
check "an unknown request is answered 3 (was: $ANSWER)" test "$ANSWER" = 3
ANSWER=$(probe copydata-answer TFrmKelvaneMain 4B4C5251 $'export-history\n1\nrelative.csv')
check "an export to a relative file is answered 3 (was: $ANSWER)" test "$ANSWER" = 3
refute "...and nothing is written in the running copy's folder" test -e "$PROGRAM_DIR/relative.csv"
ANSWER=$(probe copydata-answer TFrmKelvaneMain 1234 'release')
check "another program's copy-data goes to the default handling (was: $ANSWER)" test "$ANSWER" = 0
run_switch "$EXPORT_DIR" 40 /export-history running.csv
check "running, an ordinary file: exit code 0" test "$CODE" -eq 0 -a -s "$EXPORT_DIR/running.csv"
run_switch "$PROGRAM_DIR" 40 /quiet /exit
check "/quiet /exit: exit code 0" test "$CODE" -eq 0
check "the program ends" timeout 30 tail --pid="$KELVANE_WINE_PID" -f /dev/null
