#!/usr/bin/env bash
# Kelvane's windows where a user can reach them, with another program's window in front: the
# tray menu takes keys typed on the display (Escape closes it, Down and Enter run the first
# command) and closes on a click elsewhere; a process dialog opens in front, unowned (so with a
# taskbar button), in the corner next to the tray, and choosing its entry again brings it
# forward instead of opening a second one inside it; the high-memory question, after the about
# window moved the hidden main form into the corner, opens centred in the work area, at 96 and
# at 144 DPI.
source "$(dirname "$0")/lib.sh"

mkdir -p "$DATA_DIR"
cp "$KELVANE_BUILD/idle_child.exe" "$PROGRAM_DIR/"
# A shown window's rectangle "LEFT TOP RIGHT BOTTOM", by class and title.
rect_of() {
  probe windows | grep "^[^ ]* $1 vis=1 .* $2\$" | head -1 | sed -E 's/.* rect=([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+) .*/\1 \2 \3 \4/'
}
shown() { probe windows | grep -c "^[^ ]* $1 vis=1 .* $2\$" || true; }
in_front() { probe foreground | grep -q "^[^ ]* $1 vis=1 .* $2\$"; }
menu_closes() { probe wait-gone '#32768' 3; }
work_bottom() { rect_of Shell_TrayWnd '' | cut -d' ' -f2; }  # the taskbar is at the bottom
centred() {  # centred L T R B: in the middle of the work area, to the pixel
  local dx=$(( $1 + $3 - 1024 )) dy=$(( $2 + $4 - $(work_bottom) ))
  [ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ]
}
choose_process() {  # the sixth item from the bottom; a click right after a menu may be lost
  local attempt
  for attempt in 1 2 3; do
    sleep 0.5
    open_tray_menu && sleep 0.3 && probe keys up up up up up up enter && menu_closes && return 0
    probe keys esc
  done
  return 1
}

# The settings dialog can be found by its title while its controls are still being made; it is
# shown once they are made and filled.
settings_shown() {
  local i
  for i in $(seq 1 50); do
    [ "$(shown '#32770' 'Kelvane 设置')" = 1 ] && return 0
    sleep 0.2
  done
  return 1
}
open_settings() {
  local attempt
  for attempt in 1 2 3; do
    open_tray_menu && menu_choose s && settings_shown && return 0
    probe keys esc
  done
  return 1
}

# The question comes when the load crosses the red threshold: the tick before at or below it,
# this tick at or above it. The load moves from tick to tick, so a threshold set to the load the
# tip showed a moment before is crossed or not by chance. Instead every alert switch stays off
# until the question is wanted, which leaves the alert step's previous load at the 0 of the
# start, and the threshold is 0, which any load reaches: switching the question on in the
# settings dialog makes OK's own tick ask, whatever the load does (so the question comes while
# the settings dialog is still on the screen).
question_in_place() {  # question_in_place DPI
  local l t r b
  open_tray_menu && menu_choose a
  check "the about window is shown ($1 DPI)" test "$(shown TFrmKelvaneMain 关于)" = 1
  probe post TFrmKelvaneMain 0x0010  # its close box hides it
  refute "no question while every alert switch is off ($1 DPI)" probe find '#32770' Kelvane
  check "the settings dialog opens ($1 DPI)" open_settings
  check "the question is switched on ($1 DPI)" probe dlg-click 'Kelvane 设置' 1013  # "显示消息框(&M)"
  check "OK is pressed ($1 DPI)" probe dlg-click 'Kelvane 设置' 1
  check "the question comes with OK's tick ($1 DPI)" wait_for_dialog Kelvane 15
  screenshot "question-$1"
  read -r l t r b <<<"$(rect_of '#32770' Kelvane)"
  log "question at $l,$t,$r,$b above a work area ending at $(work_bottom)"
  check "the question is centred in the work area ($1 DPI)" centred "$l" "$t" "$r" "$b"
  probe post '#32770' 0x0010 || true  # a question that did not come has failed above; go on
  check "the question closes ($1 DPI)" probe wait-gone '#32770' 10
}

printf '%s\r\n' '[General]' 'ShowWelcomeWindow=0' 'TopProcessCount=1' 'YellowPercent=1' 'RedPercent=0' \
  'WarnMsgBox=0' 'Warn=0' 'WriteLog=0' 'DefragOnHighMemory=0' > "$DATA_DIR/Kelvane.Settings"
# The heaviest process, the menu's one process entry.
(cd "$PROGRAM_DIR" && exec wine 'C:\Program Files\Kelvane\idle_child.exe' 300 600 >/dev/null 2>&1) &
start_kelvane
check "the icon appears" wait_for_tray_tip 40
(exec wine notepad >/dev/null 2>&1) &
check "another program's window is in front" probe wait Notepad 20
sleep 1

check "the menu opens" open_tray_menu
sleep 0.5
xdotool key Escape
check "Escape typed on the display closes it" menu_closes
sleep 0.5
check "the menu opens again" open_tray_menu
xdotool mousemove 300 300 click 1
check "a click elsewhere closes it" menu_closes

check "the process entry is chosen" choose_process
check "its dialog opens" wait_for_dialog Kelvane 10
sleep 0.5
check "in front" in_front '#32770' Kelvane
check "with no owner, so with a taskbar button" grep -q ' owner=0000000000000000 ' <<<"$(probe foreground)"
read -r l t r b <<<"$(rect_of '#32770' Kelvane)"
check "in the corner next to the tray" test "$r" -eq 1004 -a "$b" -eq $(( $(work_bottom) - 20 )) -a "$l" -ge 0
xdotool mousemove 300 300 click 1
check "the other program comes back to the front" in_front Notepad '(未命名) - 记事本'
check "the entry is chosen again while its dialog is up" choose_process
sleep 1.5
check "no second dialog opened" test "$(shown '#32770' Kelvane)" = 1
check "the open dialog came to the front" in_front '#32770' Kelvane
probe post '#32770' 0x0010
check "the dialog closes" probe wait-gone '#32770' 10

question_in_place 96
check "Exit ends the program" exit_from_menu

# A new session at 144 DPI, so that the desktop and its taskbar are scaled too.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
check "the first session kept the question switched on" grep -q $'^WarnMsgBox=1\r$' "$DATA_DIR/Kelvane.Settings"
sed -i 's/^WarnMsgBox=.*\r$/WarnMsgBox=0\r/' "$DATA_DIR/Kelvane.Settings"
ICON_X=1010  # the lone icon is 24 x 24
ICON_Y=754
start_kelvane
check "the icon appears at 144 DPI" wait_for_tray_tip 40
check "the taskbar is taller at 144 DPI" test "$(work_bottom)" -lt 748
question_in_place 144

check "the menu opens for the keys" open_tray_menu
sleep 0.5
xdotool key Down Return
check "Down and Enter typed on the display start Task Manager" wait_for_dialog '任务管理器' 10
# Ending Task Manager has been seen to bring Wine's server down: the session ends instead.
wineserver -k >/dev/null 2>&1 || true
