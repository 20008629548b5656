#!/usr/bin/env bash
# A DLL planted beside the program is never loaded in place of a system library: Kelvane loads
# its run-time libraries from the system folder only. Wine prefers its own built-in libraries
# whatever the search finds, so the scenario asks it to prefer a native wtsapi32.dll, as Windows
# would for a DLL found first on the search path; a control program shows that the plant is then
# picked up by the default search. With the Run dialog as the double-click action, the shell's
# ordinal export is reached the same restricted way.
source "$(dirname "$0")/lib.sh"

crlf() { sed 's/$/\r/'; }
MARKER="$WINEPREFIX/drive_c/planted-dll-was-loaded.txt"
cat > "$ARTIFACTS/planted.c" <<'CODE'
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance; (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE file = CreateFileA("C:\\planted-dll-was-loaded.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return TRUE;
}
__declspec(dllexport) BOOL WINAPI WTSRegisterSessionNotification(HWND window, DWORD flags) {
  (void)window; (void)flags;
  return TRUE;
}
__declspec(dllexport) BOOL WINAPI WTSUnRegisterSessionNotification(HWND window) {
  (void)window;
  return TRUE;
}
CODE
x86_64-w64-mingw32-gcc -shared -o "$PROGRAM_DIR/wtsapi32.dll" "$ARTIFACTS/planted.c"
cp "$KELVANE_BUILD/dll_probe.exe" "$PROGRAM_DIR/"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wtsapi32=n,b"

(cd "$PROGRAM_DIR" && wine dll_probe.exe wtsapi32.dll >"$ARTIFACTS/control.txt" 2>/dev/null) || true
log "control loaded: $(tr -d '\r' < "$ARTIFACTS/control.txt")"
check "the default search would load the plant (control)" test -e "$MARKER"
rm -f "$MARKER"

mkdir -p "$DATA_DIR"
printf '%s\n' '[General]' 'DoubleClickAction=5' 'ShowWelcomeWindow=0' | crlf > "$DATA_DIR/Kelvane.Settings"
start_kelvane
check "the icon appears" wait_for_tray_tip 40
refute "Kelvane's session registration did not load the plant" test -e "$MARKER"

# The Run dialog, with the title the program gives it.
xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
run_dialog=1
for _ in $(seq 1 40); do
  probe find '#32770' Run >/dev/null && { run_dialog=0; break; }
  sleep 0.25
done
check "a double click opens the Run dialog" test "$run_dialog" = 0
screenshot run-dialog
probe post '#32770' 0x0010
check "the Run dialog closes" probe wait-gone '#32770' 10
check "the program still runs after the Run dialog" probe find TFrmKelvaneMain
refute "nothing loaded the plant" test -e "$MARKER"
