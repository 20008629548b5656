#!/usr/bin/env bash
# Kelvane where things go wrong around it:
#  1. a new user's first run: the program writes its five theme files into the empty theme
#     folder and the first run takes the desktop's theme from them; stale temporaries of a save
#     cut short are removed, other files stay;
#  2. the data folder deleted while the program runs: the exit's save recreates it;
#  3. the session ends with a read-only settings file: the query is answered at once, without a
#     message box, and the failure goes into the log;
#  4. a start while another copy holds the start-up mutex without a window: once that copy is
#     gone the new one runs; while it stays, the new one says so and ends.
source "$(dirname "$0")/lib.sh"

THEMES_DIR="$DATA_DIR/Themes"
wait_for_program_end() { timeout "${1:-10}" tail --pid="$KELVANE_WINE_PID" -f /dev/null; }
start_and_wait() { start_kelvane && wait_for_tray_tip 40 && probe wait TFrmKelvaneMain 10 && wait_for_icon_slot 0 15 && sleep 1; }

# --- 1. first run in a fresh prefix ----------------------------------------------------------
mkdir -p "$DATA_DIR"
echo '[General]' > "$DATA_DIR/Kelvane.Settings.4000001-0.kelvane-save"
echo 'not ours' > "$DATA_DIR/kel1A2B.tmp"
echo 'not ours' > "$DATA_DIR/notes.kelvane-save"
check "the icon appears on the first run" start_and_wait
delivered=0
for theme in "$KELVANE_SOURCE"/assets/themes/*.Kelvane\ Theme; do
  cmp -s "$theme" "$THEMES_DIR/$(basename "$theme")" && delivered=$((delivered + 1))
done
check "the five theme files were written into the theme folder ($delivered)" test "$delivered" = 5
refute "the stale temporary of a save is gone" test -e "$DATA_DIR/Kelvane.Settings.4000001-0.kelvane-save"
check "files that are not ours stay" test -e "$DATA_DIR/kel1A2B.tmp" -a -e "$DATA_DIR/notes.kelvane-save"

# --- 2. the data folder deleted while running -------------------------------------------------
rm -rf "$DATA_DIR"
check "Exit ends the program" exit_from_menu
saved=$(cat "$DATA_DIR/Kelvane.Settings" 2>/dev/null | tr -d '\r' || true)
# Wine shows neither composition nor an XP colour scheme: the system-colours theme applies.
for line in 'ShowPercentage=0' 'FullBar=1' 'GreenColor=00C000' 'BarBorderColor=ThreeDDarkShadow'; do
  check "the recreated folder holds the saved first run's $line" grep -qx -- "$line" <<<"$saved"
done

# --- 3. session end with a read-only settings file --------------------------------------------
mkdir -p "$DATA_DIR"
printf '%s\r\n' '[General]' 'ShowPercentage=1' 'WriteLog=1' 'RedPercent=100' > "$DATA_DIR/Kelvane.Settings"
chmod a-w "$DATA_DIR/Kelvane.Settings"
check "the icon appears (read-only file)" start_and_wait
answer=$(probe query-end-session TFrmKelvaneMain || true)
log "session-end query: $answer"
check "the session-end query is answered yes" grep -q 'answer=1 ' <<<"$answer"
check "and at once" test "$(sed 's/.*ms=//' <<<"$answer")" -lt 3000
refute "no message box during the session end" wait_for_message 2
check "the failure is in the log" grep -q 'Unable to write to .*Kelvane.Settings' "$DATA_DIR/Kelvane.log"
choose_exit() { open_tray_menu && menu_choose e; }
check "Exit is chosen (read-only file)" choose_exit
check "a failed save on Exit still shows its message" wait_for_message 10
probe post '#32770' 0x111 1  # its OK button
check "the program exits after the failed save" probe wait-gone TFrmKelvaneMain 10
chmod u+w "$DATA_DIR/Kelvane.Settings"

# --- 4. a copy that holds the start-up mutex --------------------------------------------------
mutex='Local\Brimvale.Kelvane.SingleInstance'
holder=$(mktemp)
# The holder lets go 2 s after the new start, well within the 5 s the start waits.
wine "$KELVANE_BUILD/kelvane_probe.exe" hold-mutex "$mutex" 2 kelvane.exe >"$holder" 2>/dev/null &
holder_pid=$!
for _ in $(seq 1 50); do grep -q holding "$holder" && break; sleep 0.2; done
check "the holder has the mutex" grep -q holding "$holder"
start_kelvane
# (Explorer may still show the previous copy's tip: look for the window and the icon.)
check "a start during an old copy's last moments runs once that copy is gone" probe wait TFrmKelvaneMain 40
check "its icon shows" wait_for_icon_slot 0 15
wait "$holder_pid"
check "Exit ends the program (after the hand-over)" exit_from_menu

wine "$KELVANE_BUILD/kelvane_probe.exe" hold-mutex "$mutex" 20 >"$holder" 2>/dev/null &
holder_pid=$!
for _ in $(seq 1 50); do grep -q holding "$holder" && break; sleep 0.2; done
start_kelvane
check "a start that cannot reach the running copy says so" wait_for_message 15
screenshot unreachable-copy
probe post '#32770' 0x111 1
check "and then ends" wait_for_program_end 10
wait "$holder_pid"
rm -f "$holder"
