#!/usr/bin/env bash
# The settings file from start to exit, as a user meets it:
#  1. a settings file seeded into the per-user folder changes what the tray icon's tip says, and
#     exiting writes every setting back in the known order, keeping the user's lines;
#  2. an empty Kelvane.Settings beside the program means portable use and a first run, which
#     takes the theme that suits the desktop from the theme folder beside the program;
#  3. a read-only settings file gives "Unable to write to ..." and the program still exits.
set -euo pipefail
root=${KELVANE_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
build=${KELVANE_BUILD:-$root/build/windows}
source "$root/scripts/lib/wine-env.sh"
kelvane_wine_start
trap kelvane_wine_stop EXIT

probe() { wine "$build/kelvane_probe.exe" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
crlf() { sed 's/$/\r/'; }

program="$WINEPREFIX/drive_c/Kelvane"
data="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Brimvale/Kelvane"
mkdir -p "$program" "$data"
cp "$build/kelvane.exe" "$program/"

WM_COMMAND=0x111
CLOSE_COMMAND=108  # the tray menu's exit item

start_kelvane() {
  wine 'C:\Kelvane\kelvane.exe' >/dev/null 2>&1 &
  probe wait TFrmKelvaneMain 30 || fail "the main window did not appear"
  sleep 2  # the first ticks put the tip in place
}
exit_kelvane() {
  probe post TFrmKelvaneMain $WM_COMMAND $CLOSE_COMMAND || fail "cannot reach the main window"
}

# --- 1. seeded per-user settings ------------------------------------------------------------
printf '%s\n' '; seeded by the end-to-end test' '[General]' 'ShowPercentage=1' 'ShowFree=1' \
  'LogFile=C:\my.log' 'Future=7' | crlf > "$data/Kelvane.Settings"
start_kelvane
tips=$(probe tray-tips || true)
grep -q '显示 可用' <<<"$tips" || fail "the tip does not show free memory: $tips"
exit_kelvane
probe wait-gone TFrmKelvaneMain 20 || fail "the program did not exit"
expected=$( {
  printf '%s\n' '; seeded by the end-to-end test' '[General]' 'ShowPercentage=1' 'ShowFree=1' \
    'LogFile=C:\my.log' 'Future=7' 'Warn=1' 'WarnMsgBox=0' 'WriteLog=0' 'HighlightProcessAbove=1000' \
    'ShowNameInsteadOfModule=0' 'UnifyProcesses=1' 'ShowPage=0' 'NoBorder=1' 'ShowPercSign=0' \
    'InternalFont=1' 'HintWhatisDisplayed=1' 'StandardGauge=1' 'BarBottom=0' 'TransBk=0' \
    'MiniInternalFont=0' 'RefreshRate=1000' 'FullBar=0' 'RefreshHotkey=0' 'ShowWelcomeWindow=1' \
    'ShowTopProcess=1' 'TopProcessCount=10' 'ShowMemMenu=1' 'OptimizeForGigabytes=1' \
    'DefragOnHighMemory=1' 'DefragEveryActive=0' 'DefragEvery=120' 'DoubleClickAction=0' \
    'SwitchOffMonitorOnLock=0' 'ClickedDonation=0' 'NoWarningSwithOffMonMobile=0' \
    'ProcessValueType=0' 'RedPercent=90' 'YellowPercent=65' '[Font]' 'Name=Tahoma' 'CharSet=1' \
    'Color=-16777208' 'Size=6' 'Style=0' '[Colors]' 'ProcMenuHightlightColor=Automatic' \
    'OpaqueBkColor=Automatic' 'BarBorderColor=Automatic' 'GreenColor=Automatic' \
    'YellowColor=Automatic' 'RedColor=Automatic' 'FullBarColor=Automatic'; } | crlf)
[ "$(cat "$data/Kelvane.Settings")" = "$expected" ] ||
  fail "saved settings differ: $(diff <(echo "$expected") "$data/Kelvane.Settings" | head -20)"
ls "$data" | grep -v -e '^Kelvane.Settings$' -e '^Themes$' && fail "files left in the data folder"

# --- 2. portable first run with the theme beside the program --------------------------------
: > "$program/Kelvane.Settings"
mkdir -p "$program/Themes"
cp "$root/assets/themes/"*.Kelvane\ Theme "$program/Themes/"
rm -f "$data/Kelvane.Settings"
start_kelvane
exit_kelvane
probe wait-gone TFrmKelvaneMain 20 || fail "the program did not exit (portable)"
[ ! -e "$data/Kelvane.Settings" ] || fail "portable use wrote the per-user file"
saved=$(tr -d '\r' < "$program/Kelvane.Settings")
# Wine shows neither composition nor an XP colour scheme: the system-colours theme applies.
for line in 'TransBk=0' 'FullBar=1' 'Color=-16777198' 'OpaqueBkColor=ThreeDFace' \
            'FullBarColor=ButtonShadow' 'BarBorderColor=ThreeDDarkShadow' 'GreenColor=00C000' \
            'ShowPercentage=0'; do
  grep -qx -- "$line" <<<"$saved" || fail "portable first run: no $line in: $saved"
done
rm -rf "$program/Kelvane.Settings" "$program/Themes"

# --- 3. read-only settings file ---------------------------------------------------------------
printf '%s\n' '[General]' 'ShowPercentage=0' | crlf > "$data/Kelvane.Settings"
before=$(md5sum < "$data/Kelvane.Settings")
chmod a-w "$data/Kelvane.Settings"
start_kelvane
exit_kelvane
for _ in $(seq 1 50); do probe find '#32770' Kelvane >/dev/null && break; sleep 0.2; done
probe find '#32770' Kelvane >/dev/null || fail "no message about the failed save"
probe post '#32770' $WM_COMMAND 1 || fail "cannot answer the message"
probe wait-gone TFrmKelvaneMain 20 || fail "the program did not exit after the failed save"
[ "$(md5sum < "$data/Kelvane.Settings")" = "$before" ] || fail "the read-only file changed"
chmod u+w "$data/Kelvane.Settings"
echo "settings_file: all passed"
