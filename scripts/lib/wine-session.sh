# Sourced by the scripts that run Windows programs: starts a private X server
# and a fresh wineserver in the Japanese locale, and stops both again.
#   wine_session_start [--use-display] [--fake-browser]
#                        sets DISPLAY, WINEPREFIX, ZARVO_HOST_MHZ; with
#                        --use-display an X server already named by DISPLAY is
#                        used instead of a private one; with --fake-browser web
#                        addresses go to tests/win32/fake-browser, which
#                        records them in /tmp/zarvo-browser.log
#   wine_session_stop

ZARVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ZARVO_ROOT/scripts/lib/arch.sh"
ZARVO_WINE="$ZARVO_ROOT/scripts/wine-exec"
if [ "$ZARVO_ARCH" = i686 ]; then ZARVO_WINESERVER=wineserver; else ZARVO_WINESERVER=/usr/lib/wine/wineserver64; fi

# The host's time-stamp counter rate as Linux measured it at boot, for tests
# that compare the program's figure with it.
host_counter_mhz() {
  local mhz
  mhz=$(dmesg 2>/dev/null | sed -n 's/.*tsc: Detected \([0-9.]*\) MHz.*/\1/p' | head -n 1)
  [ -n "$mhz" ] || mhz=$(sed -n 's/^cpu MHz[[:space:]]*: *\([0-9.]*\).*/\1/p' /proc/cpuinfo | head -n 1)
  echo "${mhz:-0}"
}

start_private_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$ZARVO_SESSION_DIR/display" >/dev/null 2>&1 &
  ZARVO_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$ZARVO_SESSION_DIR/display" ] && break; sleep 0.1; done
  if [ ! -s "$ZARVO_SESSION_DIR/display" ]; then
    echo "wine-session: Xvfb did not start within ten seconds; run scripts/setup, then try 'Xvfb :99'" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$ZARVO_SESSION_DIR/display")"
}

wine_session_start() {
  export WINEPREFIX="${WINEPREFIX:-$ZARVO_ROOT/build/wineprefix-$ZARVO_ARCH}"
  export ZARVO_HOST_MHZ
  ZARVO_HOST_MHZ=$(host_counter_mhz)
  ZARVO_SESSION_DIR=$(mktemp -d)

  local use_display= fake_browser=
  for option in "$@"; do
    case "$option" in
      --use-display) use_display=1 ;;
      --fake-browser) fake_browser=1 ;;
    esac
  done
  if [ -n "$use_display" ] && [ -n "${DISPLAY:-}" ]; then
    ZARVO_XVFB_PID=
  else
    start_private_display
  fi

  # A server left from another locale would hand its code page on.
  WINEPREFIX="$WINEPREFIX" "$ZARVO_WINESERVER" -k >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX"
  if ! "$ZARVO_WINE" wineboot --init >/dev/null 2>&1 </dev/null; then
    echo "wine-session: $ZARVO_ARCH Wine could not start in $WINEPREFIX; 'scripts/wine-exec wineboot --init' shows why" >&2
    return 1
  fi
  # Wine draws the caption buttons with the Marlett font. Debian's Wine reads
  # only the prefix's Fonts folder and fontconfig's, not the folder where
  # fonts-wine puts it, so without a copy the buttons show as letters.
  cp -u /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # The About box asks for a Japanese proportional gothic face; give it IPA's.
  # Without a window manager Wine draws the caption and frame itself, so the
  # whole window shows on the X screen as it would on Windows. A UTF-16 file
  # carries the Japanese value name through unchanged.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Decorated"="N"' '' \
    ${fake_browser:+'[HKEY_CURRENT_USER\Software\Wine\WineBrowser]'} \
    ${fake_browser:+"\"Browsers\"=\"$ZARVO_ROOT/tests/win32/fake-browser\""} |
    iconv -f UTF-8 -t UTF-16 >"$ZARVO_SESSION_DIR/settings.reg"
  "$ZARVO_WINE" regedit /S "$("$ZARVO_WINE" winepath -w "$ZARVO_SESSION_DIR/settings.reg" 2>/dev/null)" \
    >/dev/null 2>&1 </dev/null

  # One idle process keeps the server and Wine's services alive for the whole
  # session. Otherwise each test program would start them afresh, and they
  # would hold the test runner's output pipe open after the test ends.
  mkfifo "$ZARVO_SESSION_DIR/keepalive"
  "$ZARVO_WINE" cmd.exe <"$ZARVO_SESSION_DIR/keepalive" >/dev/null 2>&1 &
  exec 7>"$ZARVO_SESSION_DIR/keepalive"
}

wine_session_stop() {
  exec 7>&- || true
  WINEPREFIX="$WINEPREFIX" "$ZARVO_WINESERVER" -k >/dev/null 2>&1 || true
  WINEPREFIX="$WINEPREFIX" "$ZARVO_WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "${ZARVO_XVFB_PID:-}" ]; then
    kill "$ZARVO_XVFB_PID" 2>/dev/null || true
    wait "$ZARVO_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "${ZARVO_SESSION_DIR:-/nonexistent}"
}
