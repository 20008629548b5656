#!/usr/bin/env bash
# The notification area shows exactly the pixels kelvane-preview composes for the same settings
# and memory figures: at 100 % (16 x 16), at 125 % (20 x 20) and at 150 % (24 x 24), the larger
# ones the pictures designed for their size (kelvane-preview --size), for the default look and
# for a bordered percentage look with the full bar.
#
# The default look depends on the load and the used physical memory, both of which the tip
# shows; the tip is read before and after the screenshot and a reading counts only when both
# agree, so the picture and the figures belong to the same tick. The percentage look depends on
# the load alone, and a load one point either side of the tip's is accepted as well.
set -uo pipefail
root=${KELVANE_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
build=${KELVANE_BUILD:-$root/build/windows}
source "$root/scripts/lib/wine-env.sh"

work=$(mktemp -d)
cleanup() {
  kelvane_wine_stop
  rm -rf "$work"
}
trap cleanup EXIT
kelvane_wine_start || exit 1

probe() { wine "$build/kelvane_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
data_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Brimvale/Kelvane"

# Memory figures of the tip as preview arguments: the load, and a machine whose used physical
# memory is exactly the amount shown (the picture shows it with two decimals, as the tip does).
preview_arguments() {
  python3 - "$1" <<'PY'
import re, sys
tip = open(sys.argv[1], encoding="utf-8").read()
load = re.search(r"内存使用: (\d+)%", tip)
used = re.search(r"物理内存: ([\d.]+) (GB|MB|KB|bytes?)/", tip)
if not load or not used:
    sys.exit(1)
unit = {"GB": 2**30, "MB": 2**20, "KB": 2**10}.get(used.group(2), 1)
used_bytes = round(float(used.group(1)) * unit)
total = 64 * 2**30
print(load.group(1), total, total - used_bytes, total, total // 2)
PY
}

check_at_dpi() {
  local look=$1 dpi=$2 size=$3
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  rm -f "$data_dir/Kelvane.Settings"
  local settings=()
  mkdir -p "$data_dir"
  # Not a first run, which would take the desktop's colour theme: the default look.
  printf '%s\r\n' '[General]' 'ShowPercentage=0' > "$data_dir/Kelvane.Settings"
  if [ "$look" = percentage ]; then
    # Plain colours for the border and the rest of the bar: the system's button shadow under
    # Wine is not the Windows 10 one the preview stands for.
    printf '%s\r\n' '[General]' 'ShowPercentage=1' 'ShowPercSign=1' 'NoBorder=0' 'FullBar=1' \
      '[Colors]' 'BarBorderColor=404080' 'FullBarColor=C0C0C0' > "$data_dir/Kelvane.Settings"
    cp "$data_dir/Kelvane.Settings" "$work/look.Settings"
    settings=(--settings "$work/look.Settings")
  fi
  if [ "$dpi" = 96 ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  fi
  wine "$build/kelvane.exe" >/dev/null 2>&1 &
  local kelvane_pid=$!
  probe wait Shell_TrayWnd 30 >/dev/null || { echo "no taskbar"; return 1; }
  local attempt
  for attempt in $(seq 1 10); do
    sleep 1.5
    probe tray-tips > "$work/tip1" || continue
    import -window root -depth 8 "rgb:$work/screen.rgb"
    probe tray-tips > "$work/tip2" || continue
    cmp -s "$work/tip1" "$work/tip2" || continue
    local args
    args=$(preview_arguments "$work/tip1") || continue
    set -- $args
    local loads=("$1")
    [ "$look" = percentage ] && loads=("$1" $(( $1 + 1 )) $(( $1 > 0 ? $1 - 1 : 0 )))
    local load
    for load in "${loads[@]}"; do
      local sized=()
      [ "$size" != 16 ] && sized=(--size "$size")
      wine "$build/tools/preview/kelvane-preview.exe" "${settings[@]}" "${sized[@]}" --load "$load" --total-phys "$2" \
        --avail-phys "$3" --total-page "$4" --avail-page "$5" > "$work/preview" 2>/dev/null
      # The first icon sits at the right end of the taskbar, 2 pixels from its edges.
      local left=$((1024 - 2 - size)) top=$((768 - 2 - size))
      if python3 "$root/tests/e2e/lib/compare_tray_picture.py" "$work/screen.rgb" 1024 "$left" "$top" \
           "$size" "$work/preview" > "$work/compare"; then
        echo "$look look, DPI $dpi: ${size}x${size} icon matches the preview for load $load (attempt $attempt, tip $(grep -m1 -o '内存使用: [0-9]*%' "$work/tip1"))"
        kill "$kelvane_pid" 2>/dev/null; wineserver -k >/dev/null 2>&1
        return 0
      fi
    done
  done
  echo "$look look, DPI $dpi: the icon never matched the preview"; cat "$work/compare" "$work/tip1" 2>/dev/null
  kill "$kelvane_pid" 2>/dev/null; wineserver -k >/dev/null 2>&1
  return 1
}

status=0
for look in default percentage; do
  check_at_dpi "$look" 96 16 || status=1
  check_at_dpi "$look" 120 20 || status=1
  check_at_dpi "$look" 144 24 || status=1
done
exit $status
