#!/usr/bin/env bash
# Kelvane's windows where a user can reach them, with another program's window in front:
#  1. the tray menu takes the keyboard, whether the keys are typed on the display or sent by a
#     Windows program: Escape closes it, as does a click elsewhere; Down and Enter run the first
#     command (at the end, since Task Manager is started);
#  2. a process dialog opens in front, as a window with a taskbar button, in the corner next to
#     the tray; choosing its entry again while it is up brings it forward instead of opening a
#     second one inside the first;
#  3. the high-memory question, after other dialogs were shown and the about window moved the
#     hidden main form into the corner, opens in the middle of the work area;
# at 96 DPI and again (2 and 3) at 144 DPI.
source "$(dirname "$0")/lib.sh"

crlf() { sed 's/$/\r/'; }
OPTIONS='Kelvane 设置'
TXT_RED=1008
mkdir -p "$DATA_DIR"
cp "$KELVANE_BUILD/idle_child.exe" "$PROGRAM_DIR/"
# The heaviest process, the one entry of the menu's process section.
start_child() {
  (cd "$PROGRAM_DIR" && exec wine 'C:\Program Files\Kelvane\idle_child.exe' 300 600 >/dev/null 2>&1) &
  CHILD_PID=$!
}
start_child

# The first visible window of that class and title as "LEFT TOP RIGHT BOTTOM".
rect_of() {
  probe windows | grep "^[^ ]* $1 vis=1 .* $2\$" | head -1 | sed -E 's/.* rect=([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+) .*/\1 \2 \3 \4/'
}
count_of() { probe windows | grep -c "^[^ ]* $1 vis=1 .* $2\$" || true; }
wait_for_shown() {  # wait_for_shown CLASS TITLE
  local i
  for i in $(seq 1 50); do
    [ "$(count_of "$1" "$2")" -gt 0 ] && return 0
    sleep 0.2
  done
  return 1
}
work_area() { probe work-area | tr ',' ' '; }
inside_work_area() {  # inside_work_area L T R B
  local wl wt wr wb
  read -r wl wt wr wb <<<"$(work_area)"
  [ "$1" -ge "$wl" ] && [ "$2" -ge "$wt" ] && [ "$3" -le "$wr" ] && [ "$4" -le "$wb" ]
}
foreground_is() { probe foreground | grep -q "^[^ ]* $1 vis=1 .* $2\$"; }
menu_closes() { probe wait-gone '#32768' 3; }

# The process entry is the fifth item from the bottom (退出, 关于, 设置, 内存碎片整理, it).
# Under Wine a click right after a menu closed can be lost: the choice is tried again.
choose_process() {
  local attempt
  for attempt in 1 2 3; do
    sleep 0.5
    if open_tray_menu; then
      sleep 0.3
      probe keys up up up up up enter
      menu_closes && return 0
    fi
    probe keys esc
  done
  return 1
}

# The process dialog: in front, on the taskbar, next to the tray, and one per entry.
process_dialog_in_place() {  # process_dialog_in_place DPI
  local l t r b wl wt wr wb
  check "the process dialog opens ($1 DPI)" choose_process
  check "it is shown ($1 DPI)" wait_for_dialog Kelvane 10
  sleep 0.5
  screenshot "process-dialog-$1"
  check "it is the foreground window ($1 DPI)" foreground_is '#32770' Kelvane
  check "it has no owner, so a taskbar button of its own ($1 DPI)" \
    grep -q "owner=0000000000000000" <<<"$(probe windows | grep '#32770 vis=1 .* Kelvane$')"
  read -r l t r b <<<"$(rect_of '#32770' Kelvane)"
  read -r wl wt wr wb <<<"$(work_area)"
  log "process dialog at $l,$t,$r,$b in the work area $wl,$wt,$wr,$wb"
  check "it lies in the corner next to the tray ($1 DPI)" test "$r" -eq $((wr - 20)) -a "$b" -eq $((wb - 20))
  check "it lies wholly inside the work area ($1 DPI)" inside_work_area "$l" "$t" "$r" "$b"
}

# Sets the red threshold to the load the tip shows, so that the next tick alerts, until the
# question comes (the load may move between reading it and the tick).
raise_the_question() {
  local attempt load
  for attempt in 1 2 3 4 5 6; do
    load=$(kelvane_tip | grep -o '内存使用: [0-9]*' | grep -o '[0-9]*$' | head -1)
    open_tray_menu && menu_choose s || continue
    wait_for_dialog "$OPTIONS" 10 || continue
    probe dlg-set-text "$OPTIONS" "$TXT_RED" "$load"
    probe dlg-click "$OPTIONS" 1
    probe wait-gone '#32770' 5 || true
    wait_for_dialog Kelvane 4 && return 0
  done
  return 1
}

question_in_place() {  # question_in_place DPI
  local l t r b wl wt wr wb
  check "the about window opens ($1 DPI)" open_tray_menu
  menu_choose a
  check "the about window is shown near the tray ($1 DPI)" wait_for_shown TFrmKelvaneMain '关于'
  probe post TFrmKelvaneMain 0x0010  # its close box hides it
  check "the question comes ($1 DPI)" raise_the_question
  sleep 0.5
  screenshot "question-$1"
  read -r l t r b <<<"$(rect_of '#32770' Kelvane)"
  read -r wl wt wr wb <<<"$(work_area)"
  log "question at $l,$t,$r,$b in the work area $wl,$wt,$wr,$wb"
  check "the question lies wholly inside the work area ($1 DPI)" inside_work_area "$l" "$t" "$r" "$b"
  local dx=$(( (l - wl) - (wr - r) )) dy=$(( (t - wt) - (wb - b) ))
  check "it is centred in the work area ($1 DPI)" test "${dx#-}" -le 1 -a "${dy#-}" -le 1
  probe post '#32770' 0x0010
  check "the question closes ($1 DPI)" probe wait-gone '#32770' 10
}

printf '%s\n' '[General]' 'ShowWelcomeWindow=0' 'TopProcessCount=1' 'YellowPercent=1' 'RedPercent=100' \
  'WarnMsgBox=1' 'Warn=0' 'WriteLog=0' 'DefragOnHighMemory=0' | crlf > "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears" wait_for_tray_tip 40
(exec wine notepad >/dev/null 2>&1) &
check "another program's window is in front" probe wait Notepad 20
sleep 1

# --- 1. the menu's keys, with another program's window in front --------------------------------
check "the menu opens" open_tray_menu
sleep 0.5
xdotool key Escape
check "Escape typed on the display closes it" menu_closes
sleep 0.5
check "the menu opens again" open_tray_menu
sleep 0.5
probe keys esc
check "Escape sent by a Windows program closes it" menu_closes
sleep 0.5
check "the menu opens once more" open_tray_menu
xdotool mousemove 300 300 click 1
check "a click elsewhere closes it" menu_closes

# --- 2. process dialogs ------------------------------------------------------------------------
process_dialog_in_place 96
check "the dialog has a taskbar button beside the other program's" test "$(probe taskbar-buttons)" = 2
xdotool mousemove 300 300 click 1
check "the other program comes back to the front" foreground_is Notepad '(未命名) - 记事本'
check "the entry is chosen again while its dialog is up" choose_process
sleep 1.5
check "no second dialog opened" test "$(count_of '#32770' Kelvane)" = 1
check "the open dialog came to the front" foreground_is '#32770' Kelvane
probe post '#32770' 0x0010
check "the dialog closes" probe wait-gone '#32770' 10

# --- 3. the question ---------------------------------------------------------------------------
question_in_place 96
check "Exit ends the program" exit_from_menu

# --- 2 and 3 at 144 DPI ------------------------------------------------------------------------
# A new session, so that the desktop and its taskbar start at the new DPI too.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
start_child
sed -i 's/^RedPercent=.*\r$/RedPercent=100\r/' "$DATA_DIR/Kelvane.Settings"
ICON_X=1010  # the lone icon is 24 x 24 at 144 DPI
ICON_Y=754
start_kelvane
check "the icon appears at 144 DPI" wait_for_tray_tip 40
check "the taskbar is taller at 144 DPI" test "$(work_area | cut -d' ' -f4)" -lt 748
sleep 1
process_dialog_in_place 144
probe post '#32770' 0x0010
check "the dialog closes (144 DPI)" probe wait-gone '#32770' 10
question_in_place 144

# --- 1. Down and Enter run the first command -----------------------------------------------------
check "the menu opens for the keys" open_tray_menu
sleep 0.5
xdotool key Down Return
check "Down and Enter typed on the display start Task Manager" wait_for_dialog '任务管理器' 10
# Ending Task Manager has been seen to bring Wine's server down: the session ends instead.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
kill "$CHILD_PID" 2>/dev/null || true
