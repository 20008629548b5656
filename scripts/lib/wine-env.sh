# Wine environment helpers, sourced by scripts/run, scripts/wine-exec and the end-to-end tests.
#
# kelvane_wine_template   makes (once) a template prefix under build/wine-template: the "shell"
#                         virtual desktop with a taskbar, CJK font replacements, no menu builder.
# kelvane_wine_start      gives the caller a private display and prefix: starts Xvfb on a free
#                         display number, copies the template, exports DISPLAY and WINEPREFIX;
#                         with KELVANE_DPI set (144), the prefix's screen has that DPI.
# kelvane_wine_stop       ends every process started by kelvane_wine_start and removes the prefix.

KELVANE_ROOT=${KELVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
KELVANE_TEMPLATE="$KELVANE_ROOT/build/wine-template"
# Bump when the template's settings change, so old templates are rebuilt.
KELVANE_TEMPLATE_VERSION=3

export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
# Wine takes its code page and languages from the locale: Simplified Chinese (code page 936)
# unless the caller names another, such as en_US.UTF-8 (code page 1252).
KELVANE_LOCALE=${KELVANE_LOCALE:-zh_CN.UTF-8}
export LANG=$KELVANE_LOCALE LC_ALL=$KELVANE_LOCALE

kelvane_wine_template() {
  mkdir -p "$KELVANE_ROOT/build"
  (
    flock 9
    if [ "$(cat "$KELVANE_TEMPLATE/.kelvane-template" 2>/dev/null)" = "$KELVANE_TEMPLATE_VERSION" ]; then
      exit 0
    fi
    rm -rf "$KELVANE_TEMPLATE"
    export WINEPREFIX="$KELVANE_TEMPLATE"
    # wineboot needs no display; keep it off any real one.
    DISPLAY= wineboot -i >/dev/null 2>&1
    local_reg() { DISPLAY= wine reg add "$@" /f >/dev/null 2>&1; }
    local_reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell
    local_reg 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 1024x768
    for face in SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Segoe UI" "Microsoft Sans Serif" \
                "Microsoft YaHei" "宋体"; do
      local_reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei"
    done
    wineserver -w
    echo "$KELVANE_TEMPLATE_VERSION" > "$KELVANE_TEMPLATE/.kelvane-template"
  ) 9>"$KELVANE_ROOT/build/.wine-template.lock"
}

kelvane_wine_start() {
  kelvane_wine_template
  mkdir -p "$KELVANE_ROOT/build/tmp"
  KELVANE_WINE_TMP=$(mktemp -d "$KELVANE_ROOT/build/tmp/wine.XXXXXX")
  # The prefix is 700 MB of system DLLs that nothing writes to: hard links make the copy
  # instant; the registry files, which Wine rewrites, are real copies.
  cp -al "$KELVANE_TEMPLATE" "$KELVANE_WINE_TMP/prefix"
  local reg
  for reg in system.reg user.reg userdef.reg; do
    rm -f "$KELVANE_WINE_TMP/prefix/$reg"
    cp -p "$KELVANE_TEMPLATE/$reg" "$KELVANE_WINE_TMP/prefix/$reg"
  done
  export WINEPREFIX="$KELVANE_WINE_TMP/prefix"
  local fdfile="$KELVANE_WINE_TMP/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  KELVANE_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -1 "$fdfile")"
  [ "$DISPLAY" != ":" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  # A screen of another DPI (KELVANE_DPI=144): Wine takes it when a process starts.
  if [ -n "${KELVANE_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KELVANE_DPI" /f >/dev/null 2>&1
  fi
}

kelvane_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -n "${KELVANE_WINE_TMP:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${KELVANE_XVFB_PID:-}" ]; then
    kill "$KELVANE_XVFB_PID" 2>/dev/null || true
    wait "$KELVANE_XVFB_PID" 2>/dev/null || true
  fi
  [ -n "${KELVANE_WINE_TMP:-}" ] && rm -rf "$KELVANE_WINE_TMP"
  unset KELVANE_XVFB_PID KELVANE_WINE_TMP
}
