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
# Shoots the menu as NAME until it differs from BEFORE below row TOP (in menu pixels).
wait_for_change_below() {  # wait_for_change_below BEFORE NAME TOP SECONDS
  local i width height x y
  for i in $(seq 1 $(($4 * 4))); do
    if menu_shot "$2"; then
      read -r width height x y <<<"$(changed_box "$1" "$2")"
      [ "${width:-0}" -gt 0 ] && [ "$y" -ge "$3" ] && { log "changed: ${width}x${height} at $x,$y"; return 0; }
    fi
    sleep 0.25
  done
  return 1
}

# --- 1. Down onto a memory line, Enter there -------------------------------------------------
seed_settings 'WriteLog=1' 'ShowWelcomeWindow=0'
start_kelvane
check "the icon appears" wait_for_tray_tip 40
check "the tray menu opens" open_tray_menu
sleep 0.5  # the menu paints after its window exists
menu_shot opened
# The first Down lights "启动任务管理器(&T)"; its row ends where the change ends.
probe keys down
check "Down selects the first command" wait_for_change_below opened first 0 5
read -r _ first_height _ first_y <<<"$(changed_box opened first)"
probe keys down
check "Down onto the first memory line marks that line" \
  wait_for_change_below opened memory-line $((first_y + first_height)) 5
screenshot memory-line-96
cp "$ARTIFACTS/memory-line.png" "$ARTIFACTS/menu-memory-line-96.png"
probe keys enter
refute "Enter on a memory line leaves the menu open" probe wait-gone '#32768' 2
refute "and opens nothing" probe find '#32770'
probe keys esc
check "Escape closes the menu" probe wait-gone '#32768' 5

# --- 2. S, S, Enter: the second item with S ---------------------------------------------------
open_settings_by_s() {
  open_tray_menu || return 1
  sleep 0.5
  menu_shot opened-again || return 1
  # A key typed before the menu reads keys is lost: Down proves it reads them.
  probe keys down
  wait_for_change_below opened-again walked 0 5 || return 1
  probe keys s s enter
  wait_for_dialog 'Kelvane 设置' 10
}
check "S, S, Enter opens the settings" open_settings_by_s
refute "the log was not opened on the way" probe find '#32770' '日志文件'
probe post '#32770' 0x0010
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
check "the tray menu opens at 144 DPI" open_tray_menu
sleep 0.5
menu_shot opened-144
probe keys down
wait_for_change_below opened-144 first-144 0 5 || true
probe keys down
check "Down onto a memory line at 144 DPI" wait_for_change_below opened-144 menu-memory-line-144 1 5
screenshot memory-line-144

# Dark pixels of the menu's rows between the icon column's end and the caption column: the
# captions start at 30 pixels at 96 DPI, 45 at 144; the icons end at 28 at 96 DPI (4 + 24 at
# 144 before scaling, 6 + 24 = 30 after). The menu window adds its frame's few pixels, so the
# band looks at 34 to 44 from the window's left edge, over every row.
text_left_of_captions() {
  convert "$ARTIFACTS/menu-memory-line-144.png" -crop "11x10000+34+0" +repage -colorspace Gray \
    -depth 8 txt:- | awk 'NR > 1 { split($2, v, /[(,)]/); if (v[2] + 0 < 128) dark++ } END { print dark + 0 }'
}
dark=$(text_left_of_captions)
log "dark pixels left of the caption column at 144 DPI: $dark"
check "no text left of the caption column at 144 DPI" test "$dark" -eq 0
probe keys esc
probe wait-gone '#32768' 5 || probe keys esc
check "Exit at 144 DPI" exit_from_menu
