# Shared steps of the end-to-end scenarios. Each scenario gets its own Xvfb display and Wine
# prefix (scripts/lib/wine-env.sh), starts kelvane.exe as a user would, and looks at the result
# through kelvane_probe.exe, xdotool and screenshots. Everything is stopped when it exits.
set -euo pipefail

KELVANE_SOURCE=${KELVANE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
KELVANE_BUILD=${KELVANE_BUILD:-$KELVANE_SOURCE/build/windows}
KELVANE_ROOT=$KELVANE_SOURCE
source "$KELVANE_SOURCE/scripts/lib/wine-env.sh"

SCENARIO=$(basename "$0" .sh)
ARTIFACTS="$KELVANE_BUILD/e2e-artifacts/$SCENARIO"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

kelvane_wine_start
trap 'e2e_finish' EXIT

PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Kelvane"
PROGRAM_WIN='C:\Program Files\Kelvane\kelvane.exe'
DATA_DIR="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brimvale/Kelvane"
mkdir -p "$PROGRAM_DIR"
cp "$KELVANE_BUILD/kelvane.exe" "$PROGRAM_DIR/"

# The lone icon's centre in the notification area at 96 DPI on a 1024x768 desktop.
ICON_X=1014
ICON_Y=758

E2E_FAILURES=0

e2e_finish() {
  local status=$?
  screenshot final || true
  kelvane_wine_stop
  if [ "$status" -ne 0 ] || [ "$E2E_FAILURES" -ne 0 ]; then
    echo "FAILED: $SCENARIO (artifacts in $ARTIFACTS)"
    exit 1
  fi
  echo "PASSED: $SCENARIO"
}

log() { printf '[%s] %s\n' "$SCENARIO" "$*"; }
fail() { log "FAIL: $*"; E2E_FAILURES=$((E2E_FAILURES + 1)); }
check() {  # check "description" command...
  local what=$1
  shift
  if "$@"; then log "ok: $what"; else fail "$what"; fi
}

refute() {  # refute "description" command...: the command must fail
  local what=$1
  shift
  if "$@"; then fail "$what"; else log "ok: $what"; fi
}

probe() { wine "$KELVANE_BUILD/kelvane_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
screenshot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null; }

# Starts Kelvane in the background; KELVANE_WINE_PID is the wine launcher's pid.
start_kelvane() {
  (cd "$PROGRAM_DIR" && exec wine "$PROGRAM_WIN" >/dev/null 2>&1) &
  KELVANE_WINE_PID=$!
}

# Runs kelvane.exe with a switch in FOLDER and waits for its exit code (in CODE).
run_switch() {  # run_switch FOLDER SECONDS ARGS...
  local folder=$1 seconds=$2
  shift 2
  CODE=0
  (cd "$folder" && timeout "$seconds" wine "$PROGRAM_WIN" "$@" >/dev/null 2>&1) || CODE=$?
}
# The copy start_kelvane started has ended (within SECONDS, 30).
program_ends() { timeout "${1:-30}" tail --pid="$KELVANE_WINE_PID" -f /dev/null; }
wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
  local seconds=$1 i
  shift
  for i in $(seq 1 $((seconds * 2))); do "$@" && return 0; sleep 0.5; done
  return 1
}

# Waits until the notification area shows an icon whose tip starts as Kelvane's does.
wait_for_tray_tip() {
  local seconds=${1:-30} i
  for i in $(seq 1 $((seconds * 2))); do
    if probe tray-tips 2>/dev/null | grep -q '内存使用: '; then return 0; fi
    sleep 0.5
  done
  return 1
}

# Kelvane's tip, one line per tip line.
kelvane_tip() { probe tray-tips | awk '/^tip: /{found=1} found' | sed -n '/内存使用/,$p;/^tip: /p' | sed 's/^tip: //' | sed '/^--$/q' | sed '/^--$/d'; }

# The 16x16 picture at the icon's place as "RRGGBB" tokens, one row per line.
icon_pixels() {
  import -window root -crop 16x16+1006+750 +repage "$ARTIFACTS/icon.png"
  convert "$ARTIFACTS/icon.png" -depth 8 txt:- | awk 'NR>1 {print $3}' | sed 's/#//' | paste -d' ' - - - - - - - - - - - - - - - -
}

# Whether the k-th icon slot from the right (0 = rightmost) shows an icon: some pixel there
# differs from the empty taskbar. (Explorer's tooltip keeps a deleted icon's tip, so the tip
# cannot tell.)
icon_slot_shows_icon() {
  local k=${1:-0}
  local left=$((1006 - 20 * k))
  local shot="$ARTIFACTS/.slot.png"
  import -window root "$shot"
  local background
  background=$(convert "$shot" -crop 1x1+700+766 +repage -depth 8 txt:- | awk 'NR==2{print $3}')
  convert "$shot" -crop 16x16+$left+750 +repage -depth 8 txt:- | awk 'NR>1{print $3}' | grep -qv "^$background\$"
}

wait_for_icon_slot() {  # wait_for_icon_slot K SECONDS
  local i
  for i in $(seq 1 $(( ${2:-5} * 4 ))); do
    icon_slot_shows_icon "$1" && return 0
    sleep 0.25
  done
  return 1
}

wait_for_empty_icon_slot() {  # wait_for_empty_icon_slot K SECONDS
  local i
  for i in $(seq 1 $(( ${2:-5} * 4 ))); do
    icon_slot_shows_icon "$1" || return 0
    sleep 0.25
  done
  return 1
}

# Right-clicks the icon and waits for the menu window.
open_tray_menu() {
  xdotool mousemove "$ICON_X" "$ICON_Y" click 3
  probe wait '#32768' 5
}

# Types an item's accelerator into the open tray menu until the menu takes it and closes: on a
# loaded machine the menu can exist a moment before it reads keys, and an early key is lost.
menu_choose() {
  local attempt
  for attempt in 1 2 3 4; do
    sleep 0.3
    probe keys "$@"
    probe wait-gone '#32768' 3 && return 0
  done
  return 1
}

# Chooses the lowest process entry of the tray menu and waits for its dialog (titled Kelvane).
# The entry sits right above the separator before "内存碎片整理(&D)": the sixth item from the
# bottom (退出, 关于, 设置, 内存历史, 内存碎片整理, the process).
choose_lowest_process() {
  local attempt
  for attempt in 1 2 3; do
    if open_tray_menu; then
      sleep 0.3
      probe keys up up up up up up enter
      wait_for_message 10 && return 0
    fi
    probe keys esc
    sleep 0.5
  done
  return 1
}

wait_for_dialog() {  # wait_for_dialog TITLE SECONDS (10): a dialog window with that title
  local i
  for i in $(seq 1 $(( ${2:-10} * 5 ))); do
    probe find '#32770' "$1" >/dev/null && return 0
    sleep 0.2
  done
  return 1
}
wait_for_message() { wait_for_dialog Kelvane "${1:-10}"; }  # a message box titled Kelvane
wait_for_no_dialog() {  # wait_for_no_dialog TITLE SECONDS (10): no dialog with that title is left
  local i
  for i in $(seq 1 $(( ${2:-10} * 5 ))); do
    probe find '#32770' "$1" >/dev/null || return 0
    sleep 0.2
  done
  return 1
}

tip_shows() {  # tip_shows TEXT SECONDS: the tray's tips hold TEXT within that time
  local i
  for i in $(seq 1 $(( $2 * 5 ))); do
    probe tray-tips | grep -qF "$1" && return 0
    sleep 0.2
  done
  return 1
}

# Ends Kelvane as a user does, with "退出(&E)" from the tray menu (or the item with the access key
# KEY, "E&xit" in English). A loaded machine can show the menu a moment after its window exists,
# and a key typed before that is lost: try again, closing whatever menu is left open first.
exit_from_menu() {  # exit_from_menu [KEY]
  local attempt
  for attempt in 1 2 3; do
    open_tray_menu && menu_choose "${1:-e}"
    probe wait-gone TFrmKelvaneMain 8 && return 0
    probe keys esc
    sleep 0.5
  done
  return 1
}
