# Sourced by the build, run and test scripts: a Wine prefix of the project's own, an Xvfb display
# when asked for one (or when there is none), and one wineserver kept alive for the whole session.
# Never touches ~/.wine.

# wine_session_start PREFIX [xvfb|auto]
#   xvfb: always use a private Xvfb display; auto: use $DISPLAY when set, else a private Xvfb.
wine_session_start() {
  local prefix=$1 mode=${2:-xvfb}
  mkdir -p "$(dirname "$prefix")"
  export WINEPREFIX
  WINEPREFIX=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
  # win32 inside the i386 tree, whose Wine is 32-bit only.
  export WINEARCH=${BRUSHWICK_WINEARCH:-win64} WINEDEBUG=-all
  # No browser, no Mono or Gecko installers, no menu entries: nothing leaves this machine.
  export WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree=d;mshtml=d"
  BRUSHWICK_XVFB_PID=
  if [ "$mode" = xvfb ] || [ -z "${DISPLAY:-}" ]; then
    local n=99
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -nolisten unix >/dev/null 2>&1 &
    BRUSHWICK_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X$n-lock" ] && break
      sleep 0.05
    done
    # Xvfb listens on the abstract socket only, so nothing else on the machine draws on it.
  fi
  # A wineserver first started without this display would keep every later program windowless.
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null ||
      { echo "wine-env: making the Wine prefix $WINEPREFIX failed (status $?)" >&2; return 1; }
    wineserver -w
  fi
  # Settings of the prefix, applied again to a prefix made before they changed (bump the number).
  local settings=$WINEPREFIX/.brushwick-settings-2 failed=
  if [ ! -f "$settings" ]; then
    local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    # Without a window manager every hidden window would otherwise wait 2 s for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || failed+=' Managed'
    # Windows does not hide dot files; Wine does unless told.
    wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1 || failed+=' ShowDotFiles'
    # A program that crashes ends at once: no debugger attaches (Auto 1 with an empty Debugger;
    # Auto 0 would ask in a message box, and no Debugger at all means winedbg) and no crash dialog
    # waits for a click.
    wine reg add "$aedebug" /v Auto /d 1 /f >/dev/null 2>&1 || failed+=' Auto'
    wine reg add "$aedebug" /v Debugger /d '' /f >/dev/null 2>&1 || failed+=' Debugger'
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
      failed+=' ShowCrashDialog'
    wineserver -w
    if [ -n "$failed" ]; then
      echo "wine-env: setting$failed in the Wine prefix $WINEPREFIX failed" >&2
      return 1
    fi
    touch "$settings"
  fi
  wineserver -p || { echo "wine-env: starting the wineserver failed (status $?)" >&2; return 1; }
  wine wineboot </dev/null >/dev/null 2>&1 ||
    { echo "wine-env: starting Wine in $WINEPREFIX failed (status $?)" >&2; return 1; }
}

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${BRUSHWICK_XVFB_PID:-}" ]; then
    kill "$BRUSHWICK_XVFB_PID" 2>/dev/null || true
    wait "$BRUSHWICK_XVFB_PID" 2>/dev/null || true
  fi
}

# unix path -> Windows path as Wine sees it
to_windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
