#!/usr/bin/env bash
# The tray menu as a user meets it: a right click shows the memory lines and the programs that
# use the most memory, with their icons, the merged instances of one program on one line, and
# the heavy ones highlighted. The menu opens 50 times in a row while test processes start and
# end around it, without an error box, and the time from the click to the menu is measured.
source "$(dirname "$0")/lib.sh"

crlf() { sed 's/$/\r/'; }
mkdir -p "$DATA_DIR"
# Highlight from 100 MiB, so that a modest test process stands out; no welcome window.
printf '%s\n' '[General]' 'HighlightProcessAbove=100' 'ProcessValueType=1' 'ShowWelcomeWindow=0' | crlf > "$DATA_DIR/Kelvane.Settings"

CHILD_WIN='C:\Program Files\Kelvane\idle_child.exe'
cp "$KELVANE_BUILD/idle_child.exe" "$PROGRAM_DIR/"
children=()
start_child() {  # start_child MEGABYTES SECONDS
  (cd "$PROGRAM_DIR" && exec wine "$CHILD_WIN" "$1" "$2" >/dev/null 2>&1) &
  children+=($!)
}
# Three instances of one program, one of them heavy.
start_child 150 300
start_child 20 300
start_child 20 300

start_kelvane
check "the icon appears in the notification area" wait_for_tray_tip 40
sleep 2

check "the tray menu opens on a right click" open_tray_menu
sleep 1.5  # longer than the notification area's hover delay
screenshot menu
# (grep -c, not -q: with pipefail an early exit of grep would fail the pipe.)
tip_shown() { probe windows | grep -c '^[^ ]* tooltips_class32 vis=1' >/dev/null; }
refute "no tip is shown over the open menu" tip_shown

menu_rect=$(probe windows | awk '$2 == "#32768" && $3 == "vis=1" {for (i = 1; i <= NF; i++) if ($i ~ /^rect=/) print substr($i, 6)}' | head -1)
log "menu window at $menu_rect"
IFS=, read -r left top right bottom <<<"${menu_rect:-0,0,0,0}"
check "the menu is tall enough for memory lines and processes" test $((bottom - top)) -gt 300
if [ -n "$menu_rect" ]; then
  convert "$ARTIFACTS/menu.png" -crop "$((right - left + 8))x$((bottom - top + 8))+$((left - 4))+$((top - 4))" +repage \
    "$ARTIFACTS/tray-menu.png"
fi
# The highlighted row of the heavy merged program: RGB(251, 225, 225) somewhere in the menu.
highlight_painted() { convert "$ARTIFACTS/tray-menu.png" -depth 8 txt:- | grep -ci 'FBE1E1' >/dev/null; }
check "a highlighted process row is painted" highlight_painted
probe keys esc
check "the menu closes with Escape" probe wait-gone '#32768' 5

# From the keyboard: Enter on the focused icon (NIN_KEYSELECT) and Shift+F10 or the context-menu
# key (WM_CONTEXTMENU without a button release before it), as the shell reports them.
menu_visible() { probe windows | grep -c '^[^ ]* #32768 vis=1' >/dev/null; }
for note in 0x401 0x7B; do
  probe post KelvaneTrayNotifyWindow 0x800 1 "$note"
  check "the menu opens from the keyboard ($note)" probe wait '#32768' 5
  probe keys esc
  probe wait-gone '#32768' 3 || probe keys esc
done
# The mouse is unchanged: a left click (release, then the shell's NIN_SELECT) opens nothing.
sleep 0.5
xdotool mousemove "$ICON_X" "$ICON_Y" click 1
sleep 1.5
refute "a left click opens no menu" menu_visible

# From the click to the menu on screen, measured by the probe itself (SendInput to visible).
latencies=()
for _ in 1 2 3 4 5; do
  sleep 0.5
  ms=$(probe menu-latency "$ICON_X" "$ICON_Y") || ms=
  [ -n "$ms" ] && latencies+=("$ms")
  probe keys esc
  probe wait-gone '#32768' 5 || true
done
log "right click to menu on screen (ms): ${latencies[*]}"
check "the menu latency was measured" test "${#latencies[@]}" -ge 3

# Fifty openings while test processes come and go. Under Wine a click that comes right after a
# menu closed often never reaches the program at all (a relay trace shows no notification for
# it), so each click waits a moment after the last menu; a click lost all the same is tried once
# more and counted.
opened=0
second_tries=0
for round in $(seq 1 50); do
  if [ $((round % 5)) -eq 1 ]; then start_child 5 3; fi
  sleep 0.5
  xdotool mousemove "$ICON_X" "$ICON_Y" click 3
  if ! probe wait '#32768' 3; then
    second_tries=$((second_tries + 1))
    screenshot "round-$round"
    xdotool mousemove "$ICON_X" "$ICON_Y" click 3
    probe wait '#32768' 5 || { log "round $round: no menu"; continue; }
  fi
  opened=$((opened + 1))
  probe keys esc
  probe wait-gone '#32768' 3 || probe keys esc
done
log "clicks tried a second time: $second_tries"
log "the menu opened $opened times out of 50"
check "the menu opened every time" test "$opened" -eq 50
refute "no error box came up" probe find '#32770'
check "the program still runs" probe find TFrmKelvaneMain

check "Exit from the menu ends the program" exit_from_menu
for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
