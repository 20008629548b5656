#!/usr/bin/env bash
# The tray menu from the keyboard and at 144 DPI. Down walks onto the memory lines and shows
# where it is, and Enter there does nothing; with the log on, "显示日志(&S)" and "设置(&S)" share
# S, so S, S, Enter opens the settings. At 144 DPI no text starts left of the caption column.
source "$(dirname "$0")/lib.sh"

seed_settings() { mkdir -p "$DATA_DIR" && printf '%s\r\n' '[General]' "$@" > "$DATA_DIR/Kelvane.Settings"; }

# The open menu's window as LEFT TOP WIDTH HEIGHT.
menu_box() {
  probe windows | awk '$2 == "#32768" && $3 == "vis=1" {
    for (i = 1; i <= NF; i++) if ($i ~ /^rect=/) { split(substr($i, 6), r, ","); print r[1], r[2], r[3] - r[1], r[4] - r[2] } }' | head -1
}
menu_shot() {  # menu_shot NAME: the open menu as NAME.png
  local left top width height
  read -r left top width height <<<"$(menu_box)"
  [ -n "${height:-}" ] || return 1
  import -window root "$ARTIFACTS/.screen.png"
  convert "$ARTIFACTS/.screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$ARTIFACTS/$1.png"
}
# Where two shots differ, as WIDTH HEIGHT X Y (the width is 0 when they do not).
changed_box() {
  convert "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png" -compose difference -composite -threshold 0 \
    -format '%@' info: 2>/dev/null | sed 's/[x+]/ /g'
}
# Shoots the menu as NAME until a row of it (a change at least 100 pixels wide) differs from
# BEFORE below TOP (in menu pixels).
wait_for_change_below() {  # wait_for_change_below BEFORE NAME TOP SECONDS
  local i width height x y
  for i in $(seq 1 $(($4 * 4))); do
    if menu_shot "$2"; then
      read -r width height x y <<<"$(changed_box "$1" "$2")"
      [ "${width:-0}" -ge 100 ] && [ "$y" -ge "$3" ] && { log "changed: ${width}x${height} at $x,$y"; return 0; }
    fi
    sleep 0.25
  done
  return 1
}
# Shoots the open menu as NAME once two shots in a row agree: the menu has painted.
wait_for_painted_menu() {  # wait_for_painted_menu NAME
  local i width
  menu_shot "$1.previous" || true
  for i in $(seq 1 20); do
    sleep 0.25
    menu_shot "$1" || continue
    read -r width _ <<<"$(changed_box "$1.previous" "$1")"
    [ "${width:-1}" -eq 0 ] && return 0
    cp "$ARTIFACTS/$1.png" "$ARTIFACTS/$1.previous.png"
  done
  return 1
}

# Opens the menu and walks Down twice: onto "启动任务管理器(&T)", whose row ends where that
# change ends, then onto the first memory line below it, shot as menu-memory-line-SUFFIX.png.
# ROW_LEFT is where that line's row starts in the menu window.
walk_to_memory_line() {  # walk_to_memory_line SUFFIX
  local suffix=$1 first_height first_y
  check "the tray menu opens ($suffix)" open_tray_menu
  check "the menu paints ($suffix)" wait_for_painted_menu "opened-$suffix"
  probe keys down
  check "Down selects the first command ($suffix)" wait_for_change_below "opened-$suffix" "first-$suffix" 0 5
  read -r _ first_height _ first_y <<<"$(changed_box "opened-$suffix" "first-$suffix")"
  probe keys down
  check "Down onto the first memory line marks that line ($suffix)" wait_for_change_below \
    "opened-$suffix" "menu-memory-line-$suffix" $((${first_y:-0} + ${first_height:-0})) 5
  read -r _ _ ROW_LEFT _ <<<"$(changed_box "opened-$suffix" "menu-memory-line-$suffix")"
  screenshot "memory-line-$suffix"
}

# --- 1. Down onto a memory line, Enter there -------------------------------------------------
seed_settings 'WriteLog=1' 'ShowWelcomeWindow=0'
start_kelvane
check "the icon appears" wait_for_tray_tip 40
walk_to_memory_line 96
probe keys enter
refute "Enter on a memory line leaves the menu open" probe wait-gone '#32768' 2
refute "and opens nothing" probe find '#32770'
probe keys esc
check "Escape closes the menu" probe wait-gone '#32768' 5

# --- 2. S, S, Enter: the second item with S ---------------------------------------------------
open_settings_by_s() {
  open_tray_menu || return 1
  wait_for_painted_menu opened-again || return 1
  # A key typed before the menu reads keys is lost: Down proves it reads them.
  probe keys down
  wait_for_change_below opened-again walked 0 5 || return 1
  probe keys s s enter
  wait_for_dialog 'Kelvane 设置' 10
}
check "S, S, Enter opens the settings" open_settings_by_s
probe post '#32770' 0x0010 || true
probe wait-gone '#32770' 10 || true
check "Exit ends the program" exit_from_menu

# --- 3. 144 DPI: the caption column -----------------------------------------------------------
# A new session, so that the desktop and its taskbar start at 144 DPI too.
kelvane_wine_stop
KELVANE_DPI=144 kelvane_wine_start
PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Kelvane"
DATA_DIR="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brimvale/Kelvane"
mkdir -p "$PROGRAM_DIR"
cp "$KELVANE_BUILD/kelvane.exe" "$PROGRAM_DIR/"
ICON_X=1010
ICON_Y=754
seed_settings 'ShowWelcomeWindow=0'
start_kelvane
check "the icon at 144 DPI" wait_for_tray_tip 40
walk_to_memory_line 144

# Dark pixels of the menu's rows between the icons and the caption column, from the rows' left
# edge: 24-pixel icons end at 30 (at 28 when their 96-DPI place, 4, is not scaled); captions
# start at 45 (30 at 96 DPI), so columns 31 to 44 hold no text.
text_left_of_captions() {
  convert "$ARTIFACTS/menu-memory-line-144.png" -crop "14x10000+$((${ROW_LEFT:-0} + 31))+0" +repage -colorspace Gray \
    -depth 8 txt:- | awk 'NR > 1 { split($2, v, /[(,)]/); if (v[2] + 0 < 128) dark++ } END { print dark + 0 }'
}
dark=$(text_left_of_captions)
log "dark pixels left of the caption column at 144 DPI: $dark"
check "no text left of the caption column at 144 DPI" test "$dark" -eq 0
probe keys esc
probe wait-gone '#32768' 5 || probe keys esc
check "Exit at 144 DPI" exit_from_menu
