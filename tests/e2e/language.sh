#!/usr/bin/env bash
# The language a user chooses: English named in the settings file speaks from the start, a
# language file in the data folder is offered in the options dialog's list beside the built-in
# ones, picking it (by the row's access key) and Apply make the open dialog and the next one
# speak it and store it, and "Automatic" goes back to Windows' display language (Chinese here)
# while keeping the key. A language file that is no UTF-8 or UTF-16 text (code page 936 here) is
# left out and named once in the log; the chosen file's bad entry is named once, when Apply chose
# it. The tip changes language with the choice at once, not at the next tick (a minute away
# here). Windows open when the language changes (the history window, the about window, a process
# dialog and the settings dialog itself) speak it at once, where they stand.
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
printf 'language.name=Deutsch\r\noptions.caption=Kelvane-Einstellungen\r\nmenu.about=\xc3\x9cber {x}\r\n' \
  > "$DATA_DIR/Languages/de-DE.lng"
printf 'language.name=\xd6\xd0\xce\xc4\r\nmenu.exit=\xcd\xcb\xb3\xf6\r\n' > "$DATA_DIR/Languages/xx-XX.lng"
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

# The language row's access key reaches the list, D picks Deutsch, Apply takes it; the dialog
# speaks it at once.
probe keys alt+g d alt+a
check "the open dialog speaks the chosen language at once" wait_for_dialog 'Kelvane-Einstellungen' 5
check "Apply stores the chosen language" setting Language=de-DE
probe keys esc
check "Escape closes the dialog" wait_for_no_dialog 'Kelvane-Einstellungen'
check "the next dialog speaks the chosen language" open_by_double_click 'Kelvane-Einstellungen'

probe keys alt+g a enter
check "OK closes the dialog" wait_for_no_dialog 'Kelvane-Einstellungen'
check "automatic keeps the key, empty" setting Language=
check "the tip speaks Windows' language again at once" tip_shows '内存使用: ' 5
check "automatic speaks Windows' language again" open_by_double_click 'Kelvane 设置'
probe keys esc
check "Escape closes it" wait_for_no_dialog 'Kelvane 设置'

# Every open window changes language with Apply, where it stands: the history window, the about
# window, a process dialog (on a thread of its own) and the settings dialog itself.
window_line() { probe windows | grep " $1 vis=1 "; }
corner() { window_line "$1" | sed 's/.*rect=\([-0-9]*\),\([-0-9]*\),.*/\1,\2/'; }
shows_title() {  # shows_title CLASS TITLE SECONDS
  local i
  for i in $(seq 1 $(( $3 * 5 ))); do
    window_line "$1" | grep -q " $2\$" && return 0
    sleep 0.2
  done
  return 1
}
open_tray_menu && menu_choose h
check "the history window opens" shows_title TFrmKelvaneHistory 'Kelvane 内存历史' 10
history_corner=$(corner TFrmKelvaneHistory)
open_tray_menu && menu_choose a
check "the about window opens" shows_title TFrmKelvaneMain '关于' 10
about_corner=$(corner TFrmKelvaneMain)
# With logging on, "显示日志(&S)" adds a seventh item below the lowest process.
choose_lowest_process_with_log() {
  local attempt
  for attempt in 1 2 3; do
    if open_tray_menu; then
      sleep 0.3
      probe keys up up up up up up up enter
      wait_for_message 10 && return 0
    fi
    probe keys esc
    sleep 0.5
  done
  return 1
}
check "a process dialog opens" choose_lowest_process_with_log
check "it offers to release memory in Chinese" test "$(probe dlg-text Kelvane 101)" = '释放内存'
check "the settings dialog opens over them" open_by_double_click 'Kelvane 设置'
screenshot before-english
probe keys alt+g e alt+a
check "the settings dialog speaks English at once" wait_for_dialog 'Kelvane Settings' 5
check "the history window speaks English at once" shows_title TFrmKelvaneHistory 'Kelvane Memory History' 5
check "the about window speaks English at once" shows_title TFrmKelvaneMain 'About Kelvane' 5
process_dialog_speaks_english() {
  local i
  for i in $(seq 1 25); do
    [ "$(probe dlg-text Kelvane 101)" = 'Release memory' ] && return 0
    sleep 0.2
  done
  return 1
}
check "the process dialog speaks English at once" process_dialog_speaks_english
check "the history window stays where it was" test "$(corner TFrmKelvaneHistory)" = "$history_corner"
check "the about window stays where it was" test "$(corner TFrmKelvaneMain)" = "$about_corner"
check "the settings dialog's language row reads in English" \
  test "$(probe dlg-text 'Kelvane Settings' 1016)" = 'Lan&guage:'
sleep 0.5
screenshot settings-english-with-history
probe dlg-click Kelvane 103
check "the process dialog's Cancel closes it" wait_for_no_dialog Kelvane
sleep 0.5
screenshot settings-english-over-history
probe keys esc
check "Escape closes the English settings dialog" wait_for_no_dialog 'Kelvane Settings'

log_lines=$(iconv -f GBK -t UTF-8 "$DATA_DIR/Kelvane.log" 2>/dev/null | tr -d '\r' || true)
check "the broken language file is named once in the log" test "$(grep -c 'xx-XX.lng.*not UTF-8 or UTF-16 text' <<<"$log_lines")" = 1
refute "and not listed" grep -qx "xx-XX" <<<"$items"
check "the chosen file's bad entry is named once, when it was chosen" \
  test "$(grep -c 'de-DE.lng": 1 bad entry shown in English, on line 3' <<<"$log_lines")" = 1
check "Exit ends the program" exit_from_menu x
