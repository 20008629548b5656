#!/usr/bin/env bash
# The language a user chooses: English named in the settings file speaks from the start, a
# language file in the data folder is offered in the options dialog's list beside the built-in
# ones, picking it and Apply make the next dialog speak it and store it, and "Automatic" goes
# back to Windows' display language (Chinese here) while keeping the key. A broken language
# file is named once in the log. The tip changes language with the choice at once, not at the
# next tick (a minute away here).
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
CMB_LANGUAGE=1017
CK_LOG_FILE=1015

setting() { tr -d '\r' < "$SETTINGS" | grep -qx "$1"; }
# The dialog is ready for keys once it has the focus, a moment after its window exists.
open_by_double_click() {
  xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
  wait_for_dialog "$1" 10 && sleep 0.5
}

mkdir -p "$DATA_DIR/Languages"
printf 'language.name=Deutsch\r\noptions.caption=Kelvane-Einstellungen\r\n' > "$DATA_DIR/Languages/de-DE.lng"
printf 'language.name=Broken\r\nmenu.exit=Exit {nope}\r\n' > "$DATA_DIR/Languages/xx-XX.lng"
printf '[General]\r\nLanguage=en-US\r\nShowPercentage=0\r\nShowWelcomeWindow=0\r\nDoubleClickAction=3\r\nWriteLog=1\r\nRefreshRate=60000\r\n' \
  > "$SETTINGS"

start_kelvane
check "the program starts" probe wait TFrmKelvaneMain 40
check "the tip speaks English from the start" tip_shows 'Memory load: ' 20
check "the settings dialog speaks English from the start" open_by_double_click 'Kelvane Settings'
items=$(probe dlg-items 'Kelvane Settings' "$CMB_LANGUAGE")
check "automatic comes first" test "$(head -1 <<<"$items")" = 'Automatic (same as Windows)'
check "the built-in English is listed" grep -qx English <<<"$items"
check "the language file's language is listed by its own name" grep -qx Deutsch <<<"$items"
sleep 1
screenshot english

# The language list follows the log box in the tab order: Alt+L twice leaves that box as it
# was, Tab reaches the list, D picks Deutsch, Apply takes it.
probe keys alt+l alt+l tab d alt+a
sleep 1
check "Apply stores the chosen language" setting Language=de-DE
probe keys esc
check "Escape closes the dialog" wait_for_no_dialog 'Kelvane Settings'
check "the next dialog speaks the chosen language" open_by_double_click 'Kelvane-Einstellungen'

probe keys alt+l alt+l tab a enter
check "OK closes the dialog" wait_for_no_dialog 'Kelvane-Einstellungen'
check "automatic keeps the key, empty" setting Language=
check "the tip speaks Windows' language again at once" tip_shows '内存使用: ' 5
check "automatic speaks Windows' language again" open_by_double_click 'Kelvane 设置'
probe keys esc
check "Escape closes it" wait_for_no_dialog 'Kelvane 设置'

log_lines=$(iconv -f GBK -t UTF-8 "$DATA_DIR/Kelvane.log" 2>/dev/null | tr -d '\r' || true)
check "the broken language file is named once in the log" test "$(grep -c 'xx-XX.lng' <<<"$log_lines")" = 1
refute "the good one is not" grep -q 'de-DE.lng' <<<"$log_lines"
check "Exit ends the program" exit_from_menu
