#!/usr/bin/env bash
# The picture follows the taskbar's light or dark mode at once, and the tip costs the shell
# nothing until the pointer comes. A see-through percentage picture with FollowTaskbarTheme on
# is kelvane-preview's picture for a dark taskbar (white digits) while SystemUsesLightTheme is 0,
# and for a light one (black digits) as soon as the value is 1 and WM_SETTINGCHANGE has gone
# round. Then, with the shell calls quiet, the pointer moved onto the icon makes Kelvane call the
# shell within a second, and the tip's load is the load the picture shows.
source "$(dirname "$0")/lib.sh"

personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
set_light_taskbar() { wine reg add "$personalize" /v SystemUsesLightTheme /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
shell_calls() { probe ask KelvaneTrayNotifyWindow Kelvane.ShellCallCount; }
tip_load() { probe tray-tips | grep -o '内存使用: [0-9]*%' | head -1 | grep -o '[0-9]*'; }

mkdir -p "$DATA_DIR"
printf '%s\r\n' '[General]' 'ShowPercentage=1' 'ShowWelcomeWindow=0' 'TransBk=1' 'FollowTaskbarTheme=1' \
  > "$DATA_DIR/Kelvane.Settings"
cp "$DATA_DIR/Kelvane.Settings" "$ARTIFACTS/look.Settings"
set_light_taskbar 0
xdotool mousemove 500 300
start_kelvane
check "the icon shows its tip" wait_for_tray_tip 30

# The icon is the preview's picture, for a TASKBAR (dark or light), at the load of the tip read
# before and after the screenshot.
picture_shows() {  # picture_shows TASKBAR
  local load after
  load=$(tip_load) && [ -n "$load" ] || return 1
  import -window root -depth 8 "rgb:$ARTIFACTS/screen.rgb"
  after=$(tip_load)
  [ "$load" = "$after" ] || return 1
  wine "$KELVANE_BUILD/tools/preview/kelvane-preview.exe" --settings "$(winepath -w "$ARTIFACTS/look.Settings")" \
    --load "$load" --total-phys 8589934592 --avail-phys 4294967296 --total-page 8589934592 \
    --avail-page 4294967296 --taskbar "$1" 2>/dev/null | tr -d '\r' > "$ARTIFACTS/preview-$1.txt"
  python3 "$KELVANE_SOURCE/tests/e2e/lib/compare_tray_picture.py" "$ARTIFACTS/screen.rgb" 1024 1006 750 16 \
    "$ARTIFACTS/preview-$1.txt" --see-through > "$ARTIFACTS/compare-$1.txt"
}

check "white digits on a dark taskbar" wait_for 20 picture_shows dark
set_light_taskbar 1
probe broadcast-setting-change ImmersiveColorSet
check "black digits at once on a light taskbar" wait_for 5 picture_shows light

# The count stays the same over two seconds: no tip goes to the shell while nobody points at it.
quiet_count=
calls_quiet() {
  local before after
  before=$(shell_calls) || return 1
  sleep 2
  after=$(shell_calls) || return 1
  [ "$before" = "$after" ] && quiet_count=$after
}
check "no shell calls while nobody points at the icon" wait_for 40 calls_quiet
log "shell calls so far: $quiet_count"

xdotool mousemove "$ICON_X" "$ICON_Y"
moved=$(date +%s%N)
calls_grew() {
  local count
  while :; do
    count=$(shell_calls) && [ "$count" -gt "${quiet_count:-0}" ] && { log "shell calls: $count"; return 0; }
    [ $(( ($(date +%s%N) - moved) / 1000000 )) -lt 1000 ] || return 1
  done
}
check "the tip is sent within a second of the pointer's arrival" calls_grew
check "the tip's load is the picture's" wait_for 5 picture_shows light
