#!/usr/bin/env bash
# The options dialog as a user meets it: opened from the tray menu, one value changed on each
# of the five pages from the keyboard, OK writes the settings file and the tray picture changes
# at once, the chosen hot key is registered, a theme saved as "a/b:c" is listed as a_b_c and
# deleting it asks first; double-click action 3 opens the dialog again, and a second "设置"
# while it is open only brings it forward. Screenshots of the five pages at 96 and 144 DPI land
# in the artifacts (pages-96-N.png, pages-144-N.png).
source "$(dirname "$0")/lib.sh"

TITLE='Kelvane 设置'
CB_THEMES=1401
INPUT_EDIT=100
THEMES_DIR="$DATA_DIR/Themes"
SETTINGS="$DATA_DIR/Kelvane.Settings"

dialog_open() { probe find '#32770' "$TITLE" >/dev/null; }
dialog_count() { probe windows | grep -c " $TITLE\$" || true; }
setting() { tr -d '\r' < "$SETTINGS" | grep -qx "$1"; }
# The dialog's place on the screen, as WIDTHxHEIGHT+LEFT+TOP for a crop.
dialog_geometry() {
  probe windows | grep " $TITLE\$" | sed -E 's/.*rect=([0-9-]+),([0-9-]+),([0-9-]+),([0-9-]+).*/\3 \4 \1 \2/' |
    awk '{printf "%dx%d+%d+%d\n", $1-$3, $2-$4, $3, $4}'
}
shoot_pages() {  # shoot_pages DPI: the five pages, turned with Ctrl+Tab
  local page geometry
  geometry=$(dialog_geometry)
  for page in 0 1 2 3 4; do
    sleep 0.6
    import -window root -crop "$geometry" +repage "$ARTIFACTS/pages-$1-$page.png"
    probe keys ctrl+tab
  done
}
# The answer buttons of the yes/no question (the simple task dialog: Yes 6, No 7).
answer_question() {  # answer_question TEXT-TITLE BUTTON-ID
  wait_for_dialog "$1" 10 && probe dlg-click "$1" "$2"
}

mkdir -p "$DATA_DIR"
start_kelvane
check "the icon appears" wait_for_tray_tip 40
sleep 1
before_icon=$(icon_pixels)

# --- opened from the tray menu -------------------------------------------------------------
check "the tray menu opens" open_tray_menu
check "设置(&S) is chosen" menu_choose s
check "the options dialog opens" wait_for_dialog "$TITLE" 10
check "it has no taskbar button" test "$(probe taskbar-buttons)" = 0
shoot_pages 96
screenshot opened

# Page "一般": show the percentage (Alt+E), yellow up by two with the arrows.
probe keys alt+e alt+y up up
# Page "附加": the hot key Ctrl+Alt+R, the refresh rate up one step, double-click action 3.
# (Wine's hot-key field reads the modifiers too late from keys sent all at once; xdotool types
# them as a keyboard does.)
probe keys ctrl+tab alt+k
xdotool key ctrl+alt+r
# The field takes every key combination, Alt+letter too: Tab leaves it.
probe keys tab alt+t up alt+c home down down down
screenshot page-extra
# Page "托盘菜单": the highlight colour from the colour dialog ("自定义..." is the last entry),
# then no process list.
probe keys ctrl+tab alt+g end
check "the custom entry opens the colour dialog" wait_for_dialog "颜色" 10
probe keys enter
check "the colour dialog closes" wait_for_no_dialog "颜色" 10
probe keys alt+w
# Page "显示": transparent background; the font instead of the internal digits, 9 pt from the
# font dialog, whose colour list ends in "Custom...".
probe keys ctrl+tab alt+t alt+i alt+f
check "the font dialog opens" wait_for_dialog "字体" 10
check "its colour list ends in Custom..." test "$(probe dlg-items "字体" 1139 | tail -1)" = 'Custom...'
probe keys alt+s 9 enter
check "the font dialog closes" wait_for_no_dialog "字体" 10
check "the font panel describes the chosen font" test "$(probe dlg-text "$TITLE" 1300)" = ' Tahoma, 9pt'
screenshot page-display
# Page "主题": save as "a/b:c".
probe keys ctrl+tab alt+s
check "the save-as box asks for a name" wait_for_dialog "保存主题" 10
probe dlg-set-text "保存主题" "$INPUT_EDIT" 'a/b:c'
probe keys enter
check "the save-as box closes" wait_for_no_dialog "保存主题" 10
check "the theme file a_b_c.Kelvane Theme is written" test -f "$THEMES_DIR/a_b_c.Kelvane Theme"
check "the theme list shows a_b_c" grep -qx 'a_b_c' <<<"$(probe dlg-items "$TITLE" $CB_THEMES)"
screenshot theme-saved

# Saving the same name again asks before replacing; No leaves the file alone.
printf '; mine\r\n' >> "$THEMES_DIR/a_b_c.Kelvane Theme"
before_theme=$(md5sum < "$THEMES_DIR/a_b_c.Kelvane Theme")
probe keys alt+s
wait_for_dialog "保存主题" 10 && probe dlg-set-text "保存主题" "$INPUT_EDIT" 'a_b_c' && probe keys enter
check "replacing asks first" wait_for_dialog "警告" 10
screenshot replace-question
answer_question "警告" 7
check "No leaves the theme file untouched" test "$(md5sum < "$THEMES_DIR/a_b_c.Kelvane Theme")" = "$before_theme"

# Deleting asks first: No keeps the file, Yes removes it and its entry.
probe keys alt+d
check "deleting asks first" wait_for_dialog "警告" 10
answer_question "警告" 7
sleep 0.5
check "No keeps the theme" test -f "$THEMES_DIR/a_b_c.Kelvane Theme"
probe keys alt+d
answer_question "警告" 6
sleep 0.5
refute "Yes deletes the theme file" test -f "$THEMES_DIR/a_b_c.Kelvane Theme"
refute "the list no longer shows it" grep -qx 'a_b_c' <<<"$(probe dlg-items "$TITLE" $CB_THEMES)"

# A second "设置" while the dialog is open brings it forward and opens no other.
check "the tray menu opens over the dialog" open_tray_menu
menu_choose s
sleep 1
check "still one options dialog" test "$(dialog_count)" = 1

# OK: the file holds the new values and the picture changes at once.
probe keys enter
check "OK closes the dialog" wait_for_no_dialog "$TITLE" 10
sleep 0.5
after_icon=$(icon_pixels)
for line in InternalFont=0 Size=9 ShowPercentage=1 YellowPercent=67 RefreshRate=1100 DoubleClickAction=3 ShowTopProcess=0 \
            HighlightProcessAbove=0 UnifyProcesses=0 TransBk=1 "RefreshHotkey=$((0xC000 + 0x52))"; do
  check "the settings file holds $line" setting "$line"
done
check "the chosen highlight colour is stored" setting ProcMenuHightlightColor=FBE1E1
check "the colour dialog's custom colours are stored" \
  grep -qx 'ColorP=FFFFFFFF' <<<"$(iconv -f GBK -t UTF-8 "$SETTINGS" | tr -d '\r' | sed -n '/^\[自定义颜色\]/,/^\[/p')"
check "the tray picture changed at once" test "$before_icon" != "$after_icon"

# The chosen hot key is held by Kelvane and works.
check "Ctrl+Alt+R is registered" test "$(wine "$KELVANE_BUILD/hotkey_probe.exe" 3 0x52 2>/dev/null | tr -d '\r')" = taken
xdotool key ctrl+alt+r
sleep 1
check "the program runs on after the hot key" eval "probe find TFrmKelvaneMain >/dev/null"

# Double-click action 3 opens the dialog; Escape closes it and changes nothing.
xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
check "a double click opens the options dialog" wait_for_dialog "$TITLE" 10
probe keys alt+e
probe keys esc
check "Escape closes it" wait_for_no_dialog "$TITLE" 10
check "Escape stored nothing" setting ShowPercentage=1
check "Exit ends the program" exit_from_menu

# --- 144 DPI: the same dialog, scaled -------------------------------------------------------
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
start_kelvane
check "the icon appears at 144 DPI" probe wait TFrmKelvaneMain 40
sleep 3
# The lone icon is 24 x 24 at 144 DPI; action 3 is stored, so a double click opens the dialog.
xdotool mousemove 1010 754 click --repeat 2 --delay 80 1
check "the options dialog opens at 144 DPI" wait_for_dialog "$TITLE" 10
check "it is larger at 144 DPI" test "$(dialog_geometry | cut -dx -f1)" -gt 550
shoot_pages 144
# Exit from the tray menu while the dialog is open ends the program cleanly.
ICON_X=1010 ICON_Y=754 exit_from_menu
check "the program has gone" probe wait-gone TFrmKelvaneMain 10
sleep 2
refute "no error window is left" probe find '#32770'
