#!/usr/bin/env bash
# The settings file from start to exit, as a user meets it:
#  1. a settings file seeded into the per-user folder changes what the tray icon's tip says, and
#     exiting writes every setting back in the known order, keeping the user's own lines;
#  2. an empty Kelvane.Settings beside the program means portable use and a first run, which
#     takes the theme that suits the desktop from the theme folder beside the program;
#  3. a read-only settings file gives "Unable to write to ..." and the program still exits.
source "$(dirname "$0")/lib.sh"

crlf() { sed 's/$/\r/'; }
exit_when_ready() {
  # A restarted desktop keeps the previous copy's tip for a while: wait for the icon itself.
  probe wait TFrmKelvaneMain 30 && wait_for_icon_slot 0 15 && sleep 1 && exit_from_menu
}
mkdir -p "$DATA_DIR"

# --- 1. seeded per-user settings ------------------------------------------------------------
seeded=('; seeded by the end-to-end test' '[General]' 'ShowPercentage=1' 'ShowFree=1'
        'LogFile=C:\my.log' 'Future=7')
printf '%s\n' "${seeded[@]}" | crlf > "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears" wait_for_tray_tip 30
check "the seeded ShowFree shows in the tip" grep -q '显示 可用' <<<"$(kelvane_tip)"
check "Exit ends the program" exit_when_ready
check "the program has gone" probe wait-gone TFrmKelvaneMain 10
expected=$(printf '%s\n' "${seeded[@]}" 'Warn=1' 'WarnMsgBox=0' 'WriteLog=0' \
  'HighlightProcessAbove=1000' 'ShowNameInsteadOfModule=0' 'UnifyProcesses=1' 'ShowPage=0' \
  'NoBorder=1' 'ShowPercSign=0' 'InternalFont=1' 'HintWhatisDisplayed=1' 'StandardGauge=1' \
  'BarBottom=0' 'TransBk=0' 'MiniInternalFont=0' 'RefreshRate=1000' 'FullBar=0' 'RefreshHotkey=0' \
  'ShowWelcomeWindow=1' 'ShowTopProcess=1' 'TopProcessCount=10' 'ShowMemMenu=1' \
  'OptimizeForGigabytes=1' 'DefragOnHighMemory=1' 'DefragEveryActive=0' 'DefragEvery=120' \
  'DoubleClickAction=0' 'SwitchOffMonitorOnLock=0' 'ClickedDonation=0' \
  'NoWarningSwithOffMonMobile=0' 'ProcessValueType=0' 'RedPercent=90' 'YellowPercent=65' \
  '[Font]' 'Name=Tahoma' 'CharSet=1' 'Color=-16777208' 'Size=6' 'Style=0' '[Colors]' \
  'ProcMenuHightlightColor=Automatic' 'OpaqueBkColor=Automatic' 'BarBorderColor=Automatic' \
  'GreenColor=Automatic' 'YellowColor=Automatic' 'RedColor=Automatic' 'FullBarColor=Automatic' | crlf)
cp "$DATA_DIR/Kelvane.Settings" "$ARTIFACTS/seeded-after-exit.Settings"
check "exit writes the known layout and keeps the user's lines (LogFile too)" \
  test "$(cat "$DATA_DIR/Kelvane.Settings")" = "$expected"
refute "no temporary file is left in the data folder" \
  bash -c "ls '$DATA_DIR' | grep -v -e '^Kelvane.Settings\$' -e '^Kelvane.History\$' -e '^Themes\$'"

# --- 2. portable first run with the theme beside the program --------------------------------
: > "$PROGRAM_DIR/Kelvane.Settings"
mkdir -p "$PROGRAM_DIR/Themes"
cp "$KELVANE_SOURCE/assets/themes/"*.Kelvane\ Theme "$PROGRAM_DIR/Themes/"
rm -f "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears (portable)" wait_for_tray_tip 30
check "Exit ends the program (portable)" exit_when_ready
check "the program has gone (portable)" probe wait-gone TFrmKelvaneMain 10
refute "portable use leaves the per-user folder alone" test -e "$DATA_DIR/Kelvane.Settings"
saved=$(tr -d '\r' < "$PROGRAM_DIR/Kelvane.Settings")
cp "$PROGRAM_DIR/Kelvane.Settings" "$ARTIFACTS/portable-after-exit.Settings"
# Wine shows neither composition nor an XP colour scheme: the system-colours theme applies.
for line in 'ShowPercentage=0' 'TransBk=0' 'FullBar=1' 'Color=-16777198' 'OpaqueBkColor=ThreeDFace' \
            'FullBarColor=ButtonShadow' 'BarBorderColor=ThreeDDarkShadow' 'GreenColor=00C000'; do
  check "portable first run saved $line" grep -qx -- "$line" <<<"$saved"
done
rm -rf "$PROGRAM_DIR/Kelvane.Settings" "$PROGRAM_DIR/Themes"

# --- 3. read-only settings file ---------------------------------------------------------------
printf '%s\n' '[General]' 'ShowPercentage=0' | crlf > "$DATA_DIR/Kelvane.Settings"
before=$(md5sum < "$DATA_DIR/Kelvane.Settings")
chmod a-w "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears (read-only file)" wait_for_tray_tip 30
choose_exit() { probe wait TFrmKelvaneMain 30 && wait_for_icon_slot 0 15 && sleep 1 && open_tray_menu && menu_choose e; }
check "Exit is chosen (read-only file)" choose_exit
check "a failed save shows a message" wait_for_message
screenshot read-only-message
probe post '#32770' 0x111 1  # its OK button
check "the program still exits after the failed save" probe wait-gone TFrmKelvaneMain 10
check "the read-only file is unchanged" test "$(md5sum < "$DATA_DIR/Kelvane.Settings")" = "$before"
chmod u+w "$DATA_DIR/Kelvane.Settings"
