#!/usr/bin/env bash
# A user starts Kelvane: the icon appears with its tip and nothing else shows; a second start
# hands over to the first; locking changes nothing; a restarted shell gets the icon back; Exit
# removes the icon and ends the program.
source "$(dirname "$0")/lib.sh"

# Not a first run, which would take the desktop's colour theme (hard_times.sh): the default look.
mkdir -p "$DATA_DIR"
printf '%s\r\n' '[General]' 'ShowPercentage=0' > "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears in the notification area with the memory tip" wait_for_tray_tip 40
sleep 1
screenshot started

tip=$(kelvane_tip)
printf '%s\n' "$tip" > "$ARTIFACTS/tip.txt"
log "tip: $(printf '%s' "$tip" | tr '\n' '|')"
check "the tip starts with what the picture shows" test "$(printf '%s\n' "$tip" | sed -n 1p)" = "显示 已用 物理内存 "
check "the tip has the load line" grep -Eq '^内存使用: [0-9]{1,3}%$' <<<"$(printf '%s\n' "$tip" | sed -n 2p)"
check "the tip has the physical memory line" grep -Eq '^物理内存: [0-9.]+ (GB|MB|KB|bytes?)/[0-9.]+ (GB|MB)$' <<<"$(printf '%s\n' "$tip" | sed -n 3p)"
check "the tip has the page file line" grep -Eq '^页面文件: [0-9.]+ (GB|MB|KB|bytes?)/[0-9.]+ (GB|MB)$' <<<"$(printf '%s\n' "$tip" | sed -n 4p)"

# Wine reports the host's memory: the total in the tip is the core's SizeText of MemTotal.
total_bytes=$(( $(awk '/^MemTotal:/{print $2}' /proc/meminfo) * 1024 ))
expected_total=$("$KELVANE_SOURCE/build/native/tools/preview/kelvane-preview" --load 0 --total-phys "$total_bytes" \
  --avail-phys "$total_bytes" --total-page "$total_bytes" --avail-page 0 | sed -n 's/^hint: 物理内存: .*\///p')
check "the physical total matches the core's formatting of this machine's memory ($expected_total)" \
  test "$(printf '%s\n' "$tip" | sed -n 3p | sed 's/.*\///')" = "$expected_total"

check "no taskbar button" test "$(probe taskbar-buttons)" = 0
refute "no visible Kelvane window" grep -Eq '(TFrmKelvaneMain|KelvaneApplication) vis=1' <<<"$(probe windows)"
# The default look: black digits on white (tray_picture.sh compares every pixel with the preview).
icon_pixels > "$ARTIFACTS/icon.txt"
check "the icon shows the composed picture" grep -q 'FFFFFF.*000000\|000000.*FFFFFF' "$ARTIFACTS/icon.txt"

# A second start ends at once and the running copy says it is running.
start=$(date +%s%N)
(cd "$PROGRAM_DIR" && wine "$PROGRAM_WIN" >/dev/null 2>&1)
second_rc=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
log "second start ended after ${elapsed_ms} ms with exit code $second_rc"
check "the second start exits with code 0" test "$second_rc" = 0
check "the second start ends within 5 s" test "$elapsed_ms" -lt 5000
check "the running copy shows the balloon" probe balloon 8
screenshot balloon
check "still exactly one main form" test "$(probe windows | grep -c TFrmKelvaneMain)" = 1

# Locking the workstation without the monitor option changes nothing.
probe post TFrmKelvaneMain 0x02B1 7 1
sleep 1
check "locking leaves the program running" probe find TFrmKelvaneMain
check "locking leaves the icon in place" wait_for_tray_tip 5

# A restarted shell has lost every icon and broadcasts TaskbarCreated: the icon comes back,
# once, not twice.
check "the icon can be taken away as a crashing shell would" probe tray-forget KelvaneTrayNotifyWindow 1
sleep 0.5
check "the icon is gone" wait_for_empty_icon_slot 0 5
probe broadcast-taskbar-created
check "after a shell restart the icon is back" wait_for_icon_slot 0 5
refute "after a shell restart the icon is there only once" icon_slot_shows_icon 1

# Exit from the tray menu: the accelerator E of "退出(&E)".
check "the tray menu opens on a right click" open_tray_menu
screenshot menu
probe keys esc
check "Exit ends the program" exit_from_menu
# The desktop repaints (or, with no window left, closes) a moment later.
check "Exit removes the icon" wait_for_empty_icon_slot 0 5
