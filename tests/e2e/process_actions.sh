#!/usr/bin/env bash
# A program in the tray menu, as a user acts on it. The menu lists one process, the heaviest:
# a test program holding 300 MB. Choosing it opens its dialog with the program's description,
# company, version and path; "复制详细信息" puts exactly those four lines on the clipboard;
# "释放内存" asks the system to trim it (Wine accepts the call and trims nothing, so the call
# is counted in Wine's relay trace); "终止进程" ends it, and a second copy of the same program in
# another folder runs on. A program that ends while its dialog is open takes its dialog with it,
# and the new instance of itself that follows is left alone. Three instances
# merged into one entry end together with "终止进程", with a fourth started after the menu
# closed.
source "$(dirname "$0")/lib.sh"

crlf() { sed 's/$/\r/'; }
RELAY="$ARTIFACTS/relay.log"
mkdir -p "$DATA_DIR"
printf '%s\n' '[General]' 'TopProcessCount=1' | crlf > "$DATA_DIR/Kelvane.Settings"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d 'kernel32.SetProcessWorkingSetSize' /f \
  >/dev/null 2>&1

OTHER_DIR="$WINEPREFIX/drive_c/Other"
mkdir -p "$OTHER_DIR"
cp "$KELVANE_BUILD/idle_child.exe" "$PROGRAM_DIR/"
cp "$KELVANE_BUILD/idle_child.exe" "$OTHER_DIR/"
(cd "$PROGRAM_DIR" && exec wine 'C:\Program Files\Kelvane\idle_child.exe' 300 300 >/dev/null 2>&1) &
HEAVY_PID=$!
(cd "$OTHER_DIR" && exec wine 'C:\Other\idle_child.exe' 10 300 >/dev/null 2>&1) &
OTHER_PID=$!

(cd "$PROGRAM_DIR" && WINEDEBUG=+relay exec wine "$PROGRAM_WIN" >/dev/null 2>"$RELAY") &
KELVANE_WINE_PID=$!

dialog() { wine "$KELVANE_BUILD/dialog_probe.exe" "$@" 2>/dev/null; }
trims() { grep -ic 'Call KERNEL32.SetProcessWorkingSetSize(.*,ffffffffffffffff,ffffffffffffffff)' "$RELAY" || true; }
running() { kill -0 "$1" 2>/dev/null; }

# The one process entry is the lowest.
choose_process() { choose_lowest_process && dialog texts Kelvane 5 > "$ARTIFACTS/dialog.txt"; }

check "the icon appears in the notification area" wait_for_tray_tip 40
sleep 2

check "choosing the process in the menu opens its dialog" choose_process
screenshot process-dialog
check "the dialog names the program" grep -qxF "进程信息  'idle_child.exe'" "$ARTIFACTS/dialog.txt"
check "the dialog shows its details and path" grep -qF \
  '名称: Idle child for the process tests\r\n公司: Brimvale Test Works\r\n版本: 3.1.4.15\r\n文件路径: C:\Program Files\Kelvane\idle_child.exe\r\n\r\n请注意' \
  "$ARTIFACTS/dialog.txt"
check "复制详细信息 is pressed" dialog click Kelvane 100
sleep 1
expected=$(printf '名称: Idle child for the process tests\r\n公司: Brimvale Test Works\r\n版本: 3.1.4.15\r\n文件路径: C:\\Program Files\\Kelvane\\idle_child.exe\r\n\r\n' | od -An -tx1)
check "the clipboard holds exactly the four lines" test "$(dialog clipboard | od -An -tx1)" = "$expected"

trims_before=$(trims)
check "choosing it again opens the dialog" choose_process
check "释放内存 is pressed" dialog click Kelvane 101
sleep 1
check "the program's working set was trimmed once" test "$(trims)" -eq $((trims_before + 1))
# A second after the trim a balloon says what it freed: under Wine, which trims nothing, that
# there was nothing to release.
check "a balloon tells what the release freed" probe balloon 10
screenshot process-release-balloon
check "the program still runs after the release" running "$HEAVY_PID"

check "choosing it a third time opens the dialog" choose_process
check "终止进程 is pressed" dialog click Kelvane 102
ended=1
for _ in $(seq 1 20); do running "$HEAVY_PID" || { ended=0; break; }; sleep 0.25; done
check "the program has ended" test "$ended" -eq 0
check "the same program in another folder runs on" running "$OTHER_PID"

start_heavy() {  # start_heavy MEGABYTES: one more instance in the program's folder; its pid in STARTED
  (cd "$PROGRAM_DIR" && exec wine 'C:\Program Files\Kelvane\idle_child.exe' "$1" 300 >/dev/null 2>&1) &
  STARTED=$!
}
start_heavy 300
GONE_PID=$STARTED
sleep 2
check "the next heavy program's dialog opens" choose_process
kill -KILL "$GONE_PID"
wait "$GONE_PID" 2>/dev/null || true
start_heavy 300
SUCCESSOR_PID=$STARTED
check "the dialog closes by itself once its program has ended" probe wait-gone '#32770' 10
sleep 2
check "the new instance that followed it runs on" running "$SUCCESSOR_PID"
check "the other folder's copy runs on" running "$OTHER_PID"
kill "$SUCCESSOR_PID" 2>/dev/null || true
wait "$SUCCESSOR_PID" 2>/dev/null || true

instances=()
for _ in 1 2 3; do start_heavy 100; instances+=("$STARTED"); done
sleep 2
check "the merged entry's dialog opens" choose_process
start_heavy 10
instances+=("$STARTED")
sleep 2
check "终止进程 is pressed for the merged entry" dialog click Kelvane 102
all_ended() { local pid; for pid in "${instances[@]}"; do running "$pid" && return 1; done; return 0; }
for _ in $(seq 1 20); do all_ended && break; sleep 0.25; done
check "all four instances have ended" all_ended
check "the other folder's copy still runs" running "$OTHER_PID"
check "Kelvane runs on" probe find TFrmKelvaneMain
refute "no error box came up" probe find '#32770'

check "Exit from the menu ends the program" exit_from_menu
kill "$OTHER_PID" 2>/dev/null || true
