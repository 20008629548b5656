#!/usr/bin/env bash
# Kelvane on an English Windows, with no language chosen: the welcome window, the tip, the tray
# menu and every window it opens (settings and its five pages, about, the memory history, a
# process's dialog, the log notice) speak English; so do the high memory load question, its
# balloon and the log line, which the Western code page could not hold in Chinese. Screenshots
# of each window land in the artifacts as en-*.png (docs/ takes its English pictures from them).
export KELVANE_LOCALE=en_US.UTF-8
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
crlf() { sed 's/$/\r/'; }
seed() { mkdir -p "$DATA_DIR"; printf '%s\n' '[General]' "$@" | crlf > "$SETTINGS"; }
window_line() { probe windows | grep " $1 vis=1 " | head -1; }
titled_line() { probe windows | grep " vis=1 .* $1\$" | head -1; }
# The rectangle of a window's line from `probe windows`, cut from the screen.
shoot_line() {  # shoot_line LINE NAME
  local rect
  rect=$(sed 's/.*rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) .*/\1 \2 \3 \4/' <<<"$1")
  set -- $rect "$2"
  [ "$#" -eq 5 ] || return 1
  import -window root -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage "$ARTIFACTS/$5.png"
}
from_menu() {  # from_menu KEY: the tray menu's item with that access key
  local attempt
  for attempt in 1 2 3; do
    open_tray_menu && menu_choose "$1" && return 0
    probe keys esc
    sleep 0.5
  done
  return 1
}

check "Windows' display language is English (0x0409)" test "$(probe ui-language)" = 0x0409
if [ "$(probe ui-language)" != 0x0409 ]; then exit 1; fi

# --- A first start (logging on, so that the menu offers the log): the welcome window.
seed 'WriteLog=1'
start_kelvane
check "the welcome window greets in English" probe wait TFrmWelcome 40
sleep 1
welcome=$(window_line TFrmWelcome)
check "its caption is English" grep -q ' Welcome to Kelvane$' <<<"$welcome"
shoot_line "$welcome" en-welcome
probe keys enter
check "OK closes it" probe wait-gone TFrmWelcome 10
check "the tip speaks English" tip_shows 'Memory load: ' 20
check "the tip's memory lines are English" tip_shows 'Physical memory: ' 5

# --- The tray menu and what it opens.
check "the tray menu opens" open_tray_menu
sleep 1.5
menu=$(probe windows | grep ' #32768 vis=1 ' | head -1)
shoot_line "$menu" en-tray-menu
probe keys esc
probe wait-gone '#32768' 3 || probe keys esc

check "&Settings opens the settings window" from_menu s
check "the settings window is titled in English" wait_for_dialog 'Kelvane Settings' 10
settings=$(titled_line 'Kelvane Settings')
xdotool mousemove 10 10  # no tray tip over the window
for page in 0 1 2 3 4; do
  sleep 0.6
  shoot_line "$settings" "en-settings-$page"
  probe keys ctrl+tab
done
probe keys esc
check "Escape closes it" wait_for_no_dialog 'Kelvane Settings'

check "&About opens the about window" from_menu a
check "the about window shows" probe wait TFrmKelvaneMain 5
sleep 1
about=$(window_line TFrmKelvaneMain)
check "the about window's caption is English" grep -q ' About Kelvane$' <<<"$about"
xdotool mousemove 10 10
sleep 0.3
shoot_line "$about" en-about
probe keys esc

check "Memory &history opens the history window" from_menu h
history_open() { titled_line 'Kelvane Memory History' | grep -q .; }
wait_history() {
  local i
  for i in $(seq 1 50); do history_open && return 0; sleep 0.2; done
  return 1
}
check "the history window is titled in English" wait_history
sleep 1
shoot_line "$(titled_line 'Kelvane Memory History')" en-history
probe keys esc

# With the log on, the lowest process sits seventh from the bottom (Exit, About, Settings, Show
# log, Memory history, Release memory, the process).
lowest_process() {
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
check "a process entry opens its dialog" lowest_process
xdotool mousemove 10 10
sleep 0.5
shoot_line "$(titled_line Kelvane)" en-process
# (Wine's task dialog ignores Escape; its close box, WM_CLOSE, is the cancel.)
probe post '#32770' 0x0010
check "the close box closes the process dialog" wait_for_no_dialog Kelvane

check "Show &log explains where the log will be" from_menu l
check "its notice is titled in English" wait_for_dialog 'Log file' 10
sleep 0.5
shoot_line "$(titled_line 'Log file')" en-log-notice
probe keys enter
wait_for_no_dialog 'Log file' || true
check "E&xit ends the program" exit_from_menu x

# --- High memory load: Wine's load is low, so a red threshold of 1 % alerts at the first tick.
seed 'WriteLog=1' 'RedPercent=1' 'Warn=1' 'WarnMsgBox=1' 'DefragOnHighMemory=0' 'ShowWelcomeWindow=0'
start_kelvane
check "the first tick asks about the high memory load" wait_for_dialog Kelvane 40
check "the warning balloon is up" probe balloon 8
sleep 0.5
screenshot en-alert
shoot_line "$(titled_line Kelvane)" en-question
probe post '#32770' 0x0010
check "the close box closes the question" wait_for_no_dialog Kelvane
# The line is written once the question is answered.
log_line() {
  local i
  for i in $(seq 1 50); do
    [ -s "$DATA_DIR/Kelvane.log" ] && { tr -d '\r' < "$DATA_DIR/Kelvane.log"; return 0; }
    sleep 0.2
  done
  return 1
}
log_text=$(log_line || true)
log "log: $log_text"
check "the log line is English on a Western code page" grep -Eq ': Memory load: [0-9]{1,3}% \| Physical memory: ' <<<"$log_text"
refute "and holds no question marks for characters it lost" grep -q '?' <<<"$log_text"
check "E&xit ends the program again" exit_from_menu x
