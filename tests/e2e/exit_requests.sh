#!/usr/bin/env bash
# The exit request that the installer and the uninstaller post ("Kelvane.ExitRequest") arriving
# while the program waits in a loop of its own: with the tray menu open, with the "unable to
# write" box of an Apply open (the settings file read-only) and with a process dialog open.
# Each time the loop ends and the program ends cleanly under Wine's heap checking: no heap
# error, no fault, and the settings saved where the file can be written (the read-only one is
# left as it was: the failure goes into the log, and no second box holds the exit up).
# And a copy-data message of 2 MB from another process, which Wine's GetMessage cannot hand
# over: the program runs on, says so once in the log, and a later /exit saves.
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
OPTIONS_TITLE='Kelvane 设置'
mkdir -p "$DATA_DIR"
cp "$KELVANE_BUILD/idle_child.exe" "$PROGRAM_DIR/"
# No debugger on a fault: a failing case ends with its program instead of leaving Wine's
# debugger and its windows on the desktop of the next.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d none /f \
  >/dev/null 2>&1

# A settings file that the program's save fills: only the entries a test needs, and LINES.
seed_settings() { printf '%s\r\n' '[General]' 'TopProcessCount=1' 'ShowWelcomeWindow=0' "$@" > "$SETTINGS"; }
saved() { tr -d '\r' < "$SETTINGS" | grep -qx 'RefreshRate=1000'; }

# Starts Kelvane under Wine's heap checking, its output kept in wine-CASE.log.
start_checked() {  # start_checked CASE
  WINE_LOG="$ARTIFACTS/wine-$1.log"
  (cd "$PROGRAM_DIR" && WINEDEBUG=+heap exec wine "$PROGRAM_WIN" >/dev/null 2>"$WINE_LOG") &
  KELVANE_WINE_PID=$!
  wait_for_tray_tip 90 && probe wait TFrmKelvaneMain 30 && wait_for_icon_slot 0 30 && sleep 1
}
request_exit() { probe post TFrmKelvaneMain Kelvane.ExitRequest; }
program_ends() { timeout "${1:-30}" tail --pid="$KELVANE_WINE_PID" -f /dev/null; }
# Wine reports a damaged heap block or a bad free on its heap channel, a fault or a failed
# assertion on its own.
no_heap_error() { ! grep -E 'err:heap|warn:heap|err:seh|wine: (Unhandled|Assertion)' "$WINE_LOG" | head -5 | grep .; }

# A program that does not end (Wine's debugger holds it after a heap error) is stopped, so that
# the next case starts afresh.
ends_cleanly() {  # ends_cleanly CASE
  program_ends 40 && log "ok: $1: the program ends" || { fail "$1: the program ends"; kill -KILL "$KELVANE_WINE_PID" || true; }
  wait "$KELVANE_WINE_PID" 2>/dev/null || true
  check "$1: no heap error and no fault in Wine's output" no_heap_error
}

# --- the tray menu open ----------------------------------------------------------------------
seed_settings
check "menu: the icon appears" start_checked menu
check "menu: the tray menu is open" open_tray_menu
check "menu: the exit request is posted" request_exit
ends_cleanly menu
check "menu: the settings were saved" saved

# --- the "unable to write" box of an Apply open ------------------------------------------------
# A double click opens the options dialog (the menu's S would reach "显示日志" first).
seed_settings WriteLog=1 DoubleClickAction=3
before=$(md5sum < "$SETTINGS")
chmod a-w "$SETTINGS"
check "apply: the icon appears" start_checked apply
open_options() {
  for _ in 1 2 3; do
    xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
    wait_for_dialog "$OPTIONS_TITLE" 10 && return 0
  done
  return 1
}
check "apply: a double click opens the options dialog" open_options
# The dialog's window can be found a moment before its buttons exist. Apply is enabled once a
# value has changed: "显示可用内存" (1001) is ticked first.
press_apply() {
  for _ in $(seq 1 50); do
    probe dlg-click "$OPTIONS_TITLE" 1001 && probe dlg-click "$OPTIONS_TITLE" 3 && return 0
    sleep 0.2
  done
  return 1
}
check "apply: 应用 is pressed" press_apply
check "apply: the save fails with its box" wait_for_message 20
screenshot apply-box
check "apply: the exit request is posted" request_exit
ends_cleanly apply
check "apply: the read-only file is unchanged" test "$(md5sum < "$SETTINGS")" = "$before"
check "apply: the exit's failed save went into the log" grep -qs 'Unable to write to .*Kelvane.Settings' "$DATA_DIR/Kelvane.log"
chmod u+w "$SETTINGS"

# --- a process dialog open --------------------------------------------------------------------
# The menu lists one process, the heaviest: a test program holding 300 MB.
(cd "$PROGRAM_DIR" && exec wine 'C:\Program Files\Kelvane\idle_child.exe' 300 300 >/dev/null 2>&1) &
HEAVY_PID=$!
seed_settings
check "process: the icon appears" start_checked process
sleep 2
check "process: the process dialog opens" choose_lowest_process
screenshot process-dialog
check "process: the exit request is posted" request_exit
ends_cleanly process
check "process: the settings were saved" saved
check "process: the program in the dialog runs on" kill -0 "$HEAVY_PID"
kill "$HEAVY_PID" 2>/dev/null || true
wait "$HEAVY_PID" 2>/dev/null || true

# --- a copy-data message of 2 MB, then /exit ---------------------------------------------------
seed_settings WriteLog=1
check "copy-data: the icon appears" start_checked copydata
# Twice: the loop survives more than one, and the log says it once.
for size in 2097152 3000000; do probe copydata TFrmKelvaneMain "$size" > "$ARTIFACTS/copydata-$size.txt" || true; done
check "copy-data: the program runs on after 2 MB and 3 MB" kill -0 "$KELVANE_WINE_PID"
exit_switch() { (cd "$PROGRAM_DIR" && timeout 40 wine "$PROGRAM_WIN" /exit >/dev/null 2>&1); }
check "copy-data: /exit is answered" exit_switch
ends_cleanly copydata
check "copy-data: the settings were saved" saved
# The log is in the system code page, 936 here.
failed_message_lines() { iconv -f GB18030 -t UTF-8 < "$DATA_DIR/Kelvane.log" | grep -c '无法取得下一条消息'; }
check "copy-data: the log names the failed message once" test "$(failed_message_lines)" = 1
