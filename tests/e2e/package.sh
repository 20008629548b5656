#!/usr/bin/env bash
# What a Windows user downloads, from scripts/package, used as that user would:
#  1. the installer, silent and without the start-with-Windows option: program, shortcut,
#     themes and the entry in the installed programs; no Run entry; the program starts;
#  2. installed again over the running copy, with the option: the copy is asked to end and
#     saves its settings, the Run entry appears, and the program is started again;
#  3. the silent uninstaller ends the copy (which saves once more), removes program, shortcut,
#     Run entry and its entry, and keeps the settings and themes; asked to, it removes those too,
#     but in a folder of the user's only its own files;
#  4. the portable zip unpacked into an empty folder keeps its settings beside the program and
#     writes nothing anywhere else;
#  5. the installer and the uninstaller speak English on an English Windows and Simplified
#     Chinese on a Chinese one; the installer's welcome page shows the program's own side picture,
#     the one drawn for the screen's DPI, at 96 and 144 DPI.
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/package" || { echo "FAILED: package (scripts/package)"; exit 1; }
source "$(dirname "$0")/lib.sh"

dist="$KELVANE_SOURCE/dist"
version=$(sed -n 's/^#define KELVANE_VERSION_STRING "\(.*\)"$/\1/p' "$KELVANE_BUILD/generated/kelvane_version.h")
setup="$dist/Kelvane-$version-setup.exe"
zip="$dist/Kelvane-$version-portable.zip"
check "the installer, the zip and their sums are there" test -s "$setup" -a -s "$zip"
check "SHA256SUMS matches both files" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"

user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
install_dir="$user_dir/AppData/Local/Programs/Kelvane"
install_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Kelvane"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvane.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'

# reg.exe prints in the console code page; the values checked here are ASCII.
reg_query() { wine reg query "$@" 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r'; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
reg_value() { reg_query "$1" /v "$2" | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }'; }
run_installer() { timeout 180 wine "$setup" "$@" >/dev/null 2>&1; }
# Started as the Run entry or the shortcut would, from a folder that is not the program's.
start_installed() { (cd "$user_dir" && exec wine "$install_win\\kelvane.exe" >/dev/null 2>&1) & }
# The uninstaller hands over to a copy of itself in the temporary folder and returns at once;
# its entry in the installed programs goes last.
run_uninstaller() {  # run_uninstaller FOLDER ARGS...
  local folder=$1 i
  shift
  timeout 60 wine "$folder/uninstall.exe" "$@" >/dev/null 2>&1 || return 1
  for i in $(seq 1 120); do
    ! key_exists "$uninstall_key" && [ ! -e "$folder/uninstall.exe" ] && return 0
    sleep 0.5
  done
  return 1
}
icon_running() { probe wait TFrmKelvaneMain 30 >/dev/null && wait_for_tray_tip 30 && wait_for_icon_slot 0 15; }

# --- 1. silent install without the start-with-Windows option ---------------------------------
check "the silent installer succeeds" run_installer /S /AUTOSTART=0
check "the program is in the user's programs folder" test -s "$install_dir/kelvane.exe"
check "the uninstaller is beside it" test -s "$install_dir/uninstall.exe"
check "the Start-menu shortcut starts the installed program" \
  bash -c "strings -a -el \"\$0\" | grep -qiF '$install_win\kelvane.exe'" "$shortcut"
check "the five colour themes are in the data folder" \
  test "$(ls "$DATA_DIR/Themes/"*.Kelvane\ Theme | wc -l)" = 5
entry=$(reg_query "$uninstall_key")
printf '%s\n' "$entry" > "$ARTIFACTS/uninstall-entry.txt"
check "the installed programs list Kelvane with its version and publisher" \
  bash -c "grep -q 'DisplayName *REG_SZ *Kelvane\$' <<<\"\$0\" && grep -q 'DisplayVersion *REG_SZ *$version\$' <<<\"\$0\" \
           && grep -q 'Publisher *REG_SZ *Brimvale\$' <<<\"\$0\"" "$entry"
check "the entry has the program's icon and a size" \
  bash -c "grep -qiF 'DisplayIcon    REG_SZ    $install_win\\kelvane.exe,0' <<<\"\$0\" && grep -Eq 'EstimatedSize *REG_DWORD *0x0*[1-9a-f]' <<<\"\$0\"" "$entry"
check "the entry says how to uninstall, also quietly" \
  bash -c "grep -qiF 'QuietUninstallString    REG_SZ    \"$install_win\\uninstall.exe\" /S' <<<\"\$0\" \
           && grep -qiF 'UninstallString    REG_SZ    \"$install_win\\uninstall.exe\"' <<<\"\$0\"" "$entry"
check "without the option there is no Run entry" test -z "$(reg_value "$run_key" Kelvane)"
refute "the installer wrote no settings" test -e "$DATA_DIR/Kelvane.Settings"

start_installed
check "the installed program shows its icon" icon_running
screenshot installed-running

# --- 2. installed again over the running copy, with the option -------------------------------
check "the silent installer succeeds over the running copy" run_installer /S
check "the running copy saved its settings as it ended" test -s "$DATA_DIR/Kelvane.Settings"
check "the Run entry starts the installed program" \
  test "$(reg_value "$run_key" Kelvane)" = "\"$install_win\\kelvane.exe\""
check "the program runs again after the update" icon_running

# --- 3. silent uninstall ---------------------------------------------------------------------
rm -f "$DATA_DIR/Kelvane.Settings"
echo "keep me" > "$DATA_DIR/Kelvane.log"
check "the silent uninstaller finishes" run_uninstaller "$install_dir" /S
check "the running copy was ended" probe wait-gone TFrmKelvaneMain 5
check "it saved its settings first" grep -q '^\[General\]' "$DATA_DIR/Kelvane.Settings"
refute "the program folder is gone" test -e "$install_dir"
refute "the shortcut is gone" test -e "$shortcut"
check "the Run entry is gone" test -z "$(reg_value "$run_key" Kelvane)"
refute "the entry in the installed programs is gone" key_exists "$uninstall_key"
check "the log and the themes are kept" \
  test "$(cat "$DATA_DIR/Kelvane.log")" = "keep me" -a -s "$DATA_DIR/Themes/System Colors.Kelvane Theme"

check "a second silent install succeeds" run_installer /S /AUTOSTART=0
check "the uninstaller asked to remove the settings finishes" run_uninstaller "$install_dir" /S /REMOVESETTINGS
refute "settings, log and themes are removed on request" test -e "$DATA_DIR"
refute "the program folder is gone again" test -e "$install_dir"

# Installed into a folder of the user's that has a Themes folder of its own, and removed with
# the settings: that folder is left alone, and for a portable copy only its theme files go.
tools="$WINEPREFIX/drive_c/Tools"
mkdir -p "$tools/Themes"
echo notes > "$tools/Themes/notes.txt"
echo "[KelvaneTheme]" > "$tools/Themes/Mine.Kelvane Theme"
install_and_remove_in_tools() {  # [portable]
  run_installer /S /AUTOSTART=0 '/D=C:\Tools' && test -s "$tools/kelvane.exe" || return 1
  [ -z "${1:-}" ] || { echo "[General]" > "$tools/Kelvane.Settings"; echo history > "$tools/Kelvane.History"
    echo half made > "$tools/Kelvane.History.new"; }
  mkdir -p "$tools/Languages" && echo "language.name=Deutsch" > "$tools/Languages/de-DE.lng"
  run_uninstaller "$tools" /S /REMOVESETTINGS && test ! -e "$tools/kelvane.exe"
}
check "an install into a folder of the user's is removed with the settings" install_and_remove_in_tools
check "the user's Themes folder there is left whole" \
  test -s "$tools/Themes/notes.txt" -a -s "$tools/Themes/Mine.Kelvane Theme"
check "the same as a portable copy" install_and_remove_in_tools portable
check "then its settings and theme files go, the user's other file stays" \
  test -s "$tools/Themes/notes.txt" -a ! -e "$tools/Themes/Mine.Kelvane Theme" -a ! -e "$tools/Kelvane.Settings" \
    -a ! -e "$tools/Kelvane.History" -a ! -e "$tools/Kelvane.History.new" -a ! -e "$tools/Languages"

# --- 4. the portable zip ---------------------------------------------------------------------
portable="$WINEPREFIX/drive_c/Portable Kelvane"
mkdir -p "$portable"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$portable"
before="$ARTIFACTS/.before-portable"
touch "$before"
sleep 1
(cd "$user_dir" && exec wine 'C:\Portable Kelvane\kelvane.exe' >/dev/null 2>&1) &
check "the portable program shows its icon" icon_running
check "Exit ends the portable program" exit_from_menu
check "its settings are written beside it" grep -q '^\[General\]' "$portable/Kelvane.Settings"
refute "nothing is written to the per-user data folder" test -e "$DATA_DIR"
written=$(cd "$WINEPREFIX/drive_c" && find . -newer "$before" -type f ! -path './windows/*' | sort)
printf '%s\n' "$written" > "$ARTIFACTS/portable-written.txt"
check "the settings file and the memory history beside it are the only files written" \
  test "$written" = "$(printf '%s\n' './Portable Kelvane/Kelvane.History' './Portable Kelvane/Kelvane.Settings')"

# --- 5. the installer's language -------------------------------------------------------------
# The installer's title now: after the first page, a page's subcaption follows the name.
installer_title() {  # installer_title NAME
  probe windows | awk -v name="$1" '/ #32770 vis=1 / {
    title = $0; sub(/^.* rect=[^ ]* /, "", title); if (index(title, name) == 1) { print title; exit } }'
}
# The page shown: its heading and the caption of its Next button.
installer_page() {
  local title
  title=$(installer_title "$1")
  echo "$(probe dlg-text "$title" 1037)|$(probe dlg-text "$title" 1)"
}
# Started under LOCALE, the installer (or uninstaller) EXE named NAME is walked with Next, a page
# at a time, to the page of choices, whose Next button reads INSTALL.
open_installer_choices() {  # open_installer_choices LOCALE EXE NAME INSTALL
  local page i j
  LANG=$1 LC_ALL=$1 wine "$2" >/dev/null 2>&1 &
  shift
  for i in $(seq 1 120); do
    [ -n "$(installer_title "$2")" ] && break
    sleep 0.25
  done
  for i in 1 2 3 4 5 6; do
    page=$(installer_page "$2")
    [ "${page#*|}" = "$3" ] && return 0
    probe dlg-click "$(installer_title "$2")" 1
    for j in $(seq 1 40); do
      [ "$(installer_page "$2")" != "$page" ] && break
      sleep 0.25
    done
  done
  return 1
}
# Cancel, and Yes to the question whether to quit, which has the name for its title.
cancel_installer() {  # cancel_installer NAME
  local i
  probe dlg-click "$(installer_title "$1")" 2
  for i in $(seq 1 40); do
    probe dlg-click "$1" 6 && break
    sleep 0.25
  done
  for i in $(seq 1 40); do
    [ -z "$(installer_title "$1")" ] && return 0
    sleep 0.25
  done
  return 1
}
installer_shot() {  # installer_shot NAME FILE: the installer's window alone
  local left top right bottom
  IFS=, read -r left top right bottom < <(probe windows | awk -v name="$1" '/ #32770 vis=1 / && index($0, " " name) {
    for (i = 1; i <= NF; i++) if ($i ~ /^rect=/) { print substr($i, 6); exit } }')
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$ARTIFACTS/$2.png"
}

# Under LOCALE, the wizard EXE (installer or uninstaller) is titled NAME and its page of choices,
# where Next reads BUTTON, offers Kelvane and CHOICE; cancelled, it ends.
check_wizard_language() {  # check_wizard_language LOCALE EXE NAME BUTTON CHOICE [SHOT]
  check "under $1 $(basename "$2") is $3" open_installer_choices "$1" "$2" "$3" "$4"
  check "its choices are Kelvane and $5" \
    test "$(probe tree-items "$(installer_title "$3")")" = "Kelvane"$'\n'"$5"
  [ -z "${6:-}" ] || installer_shot "$3" "$6" || true
  check "cancelled, it ends" cancel_installer "$3"
}
# Under DPI, the installer's welcome page shows PICTURE (assets/installer) in its picture control.
welcome_shows_picture() {  # welcome_shows_picture DPI PICTURE
  local i shown=1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 wine "$setup" >/dev/null 2>&1 &
  for i in $(seq 1 120); do
    [ -n "$(installer_title "Kelvane Setup")" ] && break
    sleep 0.25
  done
  for i in $(seq 1 40); do
    installer_shot "Kelvane Setup" "welcome-$1-dpi" &&
      python3 "$KELVANE_SOURCE/tests/e2e/lib/find_side_picture.py" "$ARTIFACTS/welcome-$1-dpi.png" \
        "$KELVANE_SOURCE/assets/installer/$2" 0 0 10000 10000 > "$ARTIFACTS/welcome-$1-dpi.txt" && { shown=0; break; }
    sleep 0.25
  done
  cancel_installer "Kelvane Setup" || shown=1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
  return $shown
}
check "at 96 DPI the welcome page shows the program's side picture" welcome_shows_picture 96 side-164x314.bmp
check "at 144 DPI it shows the one drawn for 144 DPI" welcome_shows_picture 144 side-246x471.bmp
check_wizard_language en_US.UTF-8 "$setup" "Kelvane Setup" "&Install" "Start Kelvane with Windows" installer-en
check_wizard_language zh_CN.UTF-8 "$setup" "Kelvane 安装" "安装(&I)" "开机时启动 Kelvane" installer-zh
check "installed once more, for its uninstaller" run_installer /S /AUTOSTART=0
check_wizard_language en_US.UTF-8 "$install_dir/uninstall.exe" "Kelvane Uninstall" "&Uninstall" \
  "Also remove settings, color themes, language files, log and memory history"
check_wizard_language zh_CN.UTF-8 "$install_dir/uninstall.exe" "Kelvane 卸载" "卸载(&U)" \
  "同时删除设置、颜色主题、语言文件、日志和内存历史" uninstaller-zh
