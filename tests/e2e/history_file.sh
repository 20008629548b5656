#!/usr/bin/env bash
# Kelvane.History against what clocks and the file system do to it: a month of minutes with one
# minute left 40 days ahead by a clock that was put right (the month stays through a restart),
# then a pipe and a link to a device under the file's name (the program starts all the same,
# keeps the history in memory and says so once in the log).
source "$(dirname "$0")/lib.sh"

SETTINGS="$DATA_DIR/Kelvane.Settings"
HISTORY="$DATA_DIR/Kelvane.History"
LOG="$DATA_DIR/Kelvane.log"
PREVIEW="$KELVANE_BUILD/tools/preview/kelvane-preview.exe"
mkdir -p "$DATA_DIR"
printf '%s\r\n' '[General]' 'ShowWelcomeWindow=0' 'Warn=0' 'WarnMsgBox=0' 'DefragOnHighMemory=0' \
  'WriteLog=1' > "$SETTINGS"

# The minutes from 31 days ago to 11 minutes ago, but for a night 22 days ago: 44,000 of them.
# A minute 40 days ahead takes the ring slot of a minute 22 days back, inside that night.
NOW_MINUTE=$(( $(date +%s) / 60 * 60 ))
AHEAD=$(( NOW_MINUTE + 40 * 86400 ))
NIGHT=$(( 22 * 1440 ))
awk -v now="$NOW_MINUTE" -v night="$NIGHT" 'BEGIN {
  for (back = 44600; back >= 11; back--)
    if (back < night - 295 || back > night + 294) printf "%d 40 4294967296 8589934592 2147483648 17179869184\n", now - 60 * back
}' > "$ARTIFACTS/month.txt"
echo "$AHEAD 40 4294967296 8589934592 2147483648 17179869184" > "$ARTIFACTS/ahead.txt"
wine "$PREVIEW" --history-samples "$(winepath -w "$ARTIFACTS/month.txt")" \
  --write-history "$(winepath -w "$HISTORY")" >/dev/null 2>&1
wine "$PREVIEW" --history-samples "$(winepath -w "$ARTIFACTS/ahead.txt")" \
  --write-history "$(winepath -w "$ARTIFACTS/ahead.History")" >/dev/null 2>&1
# The one record copied into its slot: 64 bytes of header, 32 bytes a minute record.
SLOT_OFFSET=$(( 64 + 32 * ((AHEAD / 60) % 44640) ))
dd if="$ARTIFACTS/ahead.History" of="$HISTORY" bs=1 skip="$SLOT_OFFSET" seek="$SLOT_OFFSET" count=32 \
  conv=notrunc status=none

minutes_at() {  # minutes_at NOW [FROM]: the file's minutes from FROM on, read at NOW
  wine "$PREVIEW" --history-file "$(winepath -w "$HISTORY")" --now "$1" 2>/dev/null | tr -d '\r' |
    awk -v from="${2:-0}" '$1 == "minute:" && $2 >= from' | wc -l
}
holds_ahead() { wine "$PREVIEW" --history-file "$(winepath -w "$HISTORY")" --now "$AHEAD" 2>/dev/null |
  grep -q "^minute: $AHEAD "; }
MONTH_FROM=$(( NOW_MINUTE - 44600 * 60 ))
MONTH_TO=$(( NOW_MINUTE - 11 * 60 ))
month_minutes_in_file() {
  wine "$PREVIEW" --history-file "$(winepath -w "$HISTORY")" --now "$(date +%s)" 2>/dev/null | tr -d '\r' |
    awk -v from="$MONTH_FROM" -v to="$MONTH_TO" '$1 == "minute:" && $2 >= from && $2 <= to' | wc -l
}

check "the edited file holds the minute 40 days ahead" holds_ahead
check "read at the true time, it holds the month: 44,000 minutes" test "$(month_minutes_in_file)" -eq 44000

# --- the next start keeps the month and erases the stray minute ------------------------------
start_kelvane
check "the icon appears" wait_for_tray_tip 90
run_minute_written() { [ "$(minutes_at "$(date +%s)" "$NOW_MINUTE")" -ge 1 ]; }
check "a minute of the run is written (within two minutes)" wait_for 150 run_minute_written
run_switch "$PROGRAM_DIR" 40 /exit
check "/exit: exit code 0" test "$CODE" -eq 0
check "/exit: the program ends" program_ends 30
MONTH_AFTER=$(month_minutes_in_file)
check "after the restart the month is still there ($MONTH_AFTER of 44000 minutes)" test "$MONTH_AFTER" -eq 44000
refute "the minute 40 days ahead is gone from the file" holds_ahead

# --- a pipe, and a link to a device, under the history file's name ---------------------------
log_text() { [ ! -f "$LOG" ] || iconv -f GBK -t UTF-8 "$LOG"; }
log_lines() { log_text | grep -c 'Kelvane.History' || true; }
log_lines_are() { [ "$(log_lines)" -eq "$1" ]; }
starts_beside() {  # starts_beside WHAT: a start with WHAT under the name, and its exit on request
  local before
  before=$(log_lines)
  start_kelvane
  check "$1: the icon appears within 10 s" wait_for_tray_tip 10
  check "$1: one line in the log says the history is in memory" wait_for 10 log_lines_are $((before + 1))
  check "$1: ...because the name is no ordinary disk file" \
    grep -q 'Kelvane.History.*不是磁盘上的普通文件' <(log_text)
  run_switch "$PROGRAM_DIR" 40 /exit
  check "$1: /exit: exit code 0" test "$CODE" -eq 0
  program_ends 30 && log "ok: $1: the program ends" || { fail "$1: the program ends"; kill -KILL "$KELVANE_WINE_PID" || true; }
  check "$1: still one line in the log" log_lines_are $((before + 1))
}
mv "$HISTORY" "$ARTIFACTS/month.History"
mkfifo "$HISTORY"
starts_beside "a pipe"
check "the pipe is left as it was" test -p "$HISTORY"
rm -f "$HISTORY"
ln -s /dev/zero "$HISTORY"
starts_beside "a link to the zero device"
check "the link is left as it was" test -L "$HISTORY"
