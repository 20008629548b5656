#!/usr/bin/env bash
# A new user's first start shows the welcome window; ticking "不再显示此屏幕" and OK stores that
# and the next start shows none. "关于(&A)" shows the about window next to the tray with the
# program's version; its version check ends in a label; OK hides it, and it comes back. Both
# windows are looked at at 96 and 144 DPI.
source "$(dirname "$0")/lib.sh"

setting() { tr -d '\r' < "$DATA_DIR/Kelvane.Settings" | grep -x "$1=.*" | cut -d= -f2; }
child_text() { probe children "$1" | awk -v id="$2" '$1 == id' | sed 's/^[^ ]* [^ ]* vis=[01] //'; }
visible_child_text() { probe children "$1" | awk -v id="$2" '$1 == id && $3 == "vis=1"' | sed 's/^[^ ]* [^ ]* vis=1 //'; }
window_line() { probe windows | grep " $1 vis=1 "; }
# The about window's download label: the link while it offers one, else the plain text.
download_label() { visible_child_text TFrmKelvaneMain 1003; visible_child_text TFrmKelvaneMain 1004; }
wait_for_final_label() {
  local i label
  for i in $(seq 1 60); do
    label=$(download_label)
    case "$label" in
      *检查新版本时出错*|*是最新的*|*可供下载*) printf '%s\n' "$label"; return 0 ;;
    esac
    sleep 0.5
  done
  printf '%s\n' "$label"
  return 1
}
window_shot() {  # window_shot CLASS NAME: the window's rectangle cut from the screen
  local rect
  rect=$(window_line "$1" | sed 's/.*rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) .*/\1 \2 \3 \4/')
  set -- $rect "$2"
  import -window root -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage "$ARTIFACTS/$5.png"
}

# --- First start: the welcome window, and no taskbar button for it.
start_kelvane
check "the icon appears" wait_for_tray_tip 40
check "the welcome window comes up at the first start" probe wait TFrmWelcome 20
sleep 1
log "welcome: $(window_line TFrmWelcome)"
check "the welcome window has its caption" grep -q '欢迎使用 Kelvane' <<<"$(window_line TFrmWelcome)"
check "the welcome window gets no taskbar button" test "$(probe taskbar-buttons)" = 0
check "the welcome window says how to keep the icon visible" test "$(child_text TFrmWelcome 1001)" = "始终保持 Kelvane 可见"
window_shot TFrmWelcome welcome-96
# The keyboard, once the user has clicked the window's caption: Tab from OK passes the link and
# reaches the check box, Space ticks it, Enter presses OK.
rect=$(window_line TFrmWelcome | sed 's/.*rect=\([0-9]*\),\([0-9]*\),.*/\1 \2/')
xdotool mousemove $(( ${rect% *} + 200 )) $(( ${rect#* } + 10 )) click 1
sleep 0.5
probe keys tab tab space
sleep 0.3
probe keys enter
check "OK closes the welcome window" probe wait-gone TFrmWelcome 5
check "Exit ends the program" exit_from_menu
check "the ticked box is stored" test "$(setting ShowWelcomeWindow)" = 0

# --- Next start: no welcome window; the about window from the menu.
start_kelvane
check "the icon appears again" wait_for_tray_tip 40
sleep 3
refute "no welcome window at the next start" probe find TFrmWelcome
check "the tray menu opens" open_tray_menu
check "关于(&A) is chosen with its key" menu_choose a
check "the about window shows" probe wait TFrmKelvaneMain 5
sleep 0.5
about=$(window_line TFrmKelvaneMain)
log "about: $about"
check "the about window's caption" grep -q ' 关于$' <<<"$about"
check "the about window sits in the work area's corner next to the taskbar" \
  grep -Eq 'rect=[0-9]+,[0-9]+,1004,728 ' <<<"$about"
check "the about window gets no taskbar button" test "$(probe taskbar-buttons)" = 0
check "the version label shows the program's version" test "$(child_text TFrmKelvaneMain 1002)" = "版本 1.0"
label=$(wait_for_final_label) || fail "the version check ends in a label (it says: $label)"
log "download label after the check: $label"
xdotool mousemove 10 10  # no tray tip over the window
sleep 0.3
window_shot TFrmKelvaneMain about-96
probe keys enter
about_shown() { probe windows | grep -q ' TFrmKelvaneMain vis=1 '; }
refute "OK (Enter) hides the about window" about_shown
# Hidden, the form holds none of the window's controls (nor the library that runs its links).
no_about_controls() {
  local i
  for i in $(seq 1 50); do
    [ -z "$(probe children TFrmKelvaneMain)" ] && return 0
    sleep 0.1
  done
  return 1
}
check "the hidden about window keeps none of its controls" no_about_controls
check "the tray menu opens once more" open_tray_menu
check "关于(&A) again" menu_choose a
sleep 1
check "the about window shows again" about_shown
label=$(wait_for_final_label) || fail "the second showing ends in a label too (it says: $label)"
probe keys esc
sleep 0.5
refute "Escape hides the about window" about_shown
check "the tray menu opens a third time" open_tray_menu
check "关于(&A) a third time" menu_choose a
sleep 1
check "the about window shows a third time" about_shown
probe post TFrmKelvaneMain 0x0010
sleep 0.5
refute "the close box hides the about window" about_shown
check "nor after the close box" no_about_controls
main_form_exists() { probe find TFrmKelvaneMain >/dev/null; }
check "and the program runs on" main_form_exists
check "Exit ends the program" exit_from_menu

# --- 144 DPI: both windows once more; Exit while the welcome window waits keeps its box.
# A new session, so that the desktop and its taskbar start at 144 DPI too.
kelvane_wine_stop
kelvane_wine_start
PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Kelvane"
DATA_DIR="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brimvale/Kelvane"
mkdir -p "$PROGRAM_DIR"
cp "$KELVANE_BUILD/kelvane.exe" "$PROGRAM_DIR/"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
ICON_X=1010
ICON_Y=754
start_kelvane
check "the welcome window at 144 DPI" probe wait TFrmWelcome 40
sleep 1
log "welcome at 144 DPI: $(window_line TFrmWelcome)"
window_shot TFrmWelcome welcome-144
check "the box can be ticked" probe click TFrmWelcome 1004
check "the icon at 144 DPI" wait_for_tray_tip 20
check "Exit while the welcome window is up ends the program" exit_from_menu
check "the box ticked before Exit is stored" test "$(setting ShowWelcomeWindow)" = 0
start_kelvane
check "the icon at 144 DPI, second start" wait_for_tray_tip 40
open_menu_retrying() {
  local attempt
  for attempt in 1 2 3; do
    open_tray_menu && return 0
    screenshot "menu-attempt-$attempt"
    probe keys esc
    sleep 1
  done
  return 1
}
check "the tray menu opens at 144 DPI" open_menu_retrying
check "关于(&A) at 144 DPI" menu_choose a
check "the about window at 144 DPI" probe wait TFrmKelvaneMain 5
label=$(wait_for_final_label) || fail "the check ends in a label at 144 DPI (it says: $label)"
about=$(window_line TFrmKelvaneMain)
log "about at 144 DPI: $about"
check "the about window sits next to the taller taskbar at 144 DPI" grep -Eq 'rect=[0-9]+,[0-9]+,1004,720 ' <<<"$about"
xdotool mousemove 10 10
sleep 0.3
window_shot TFrmKelvaneMain about-144
check "Exit at 144 DPI" exit_from_menu
