# Sourced by the scripts that run Windows programs: starts a private X server
# and a fresh wineserver in the Japanese locale, and stops both again however
# the script ends (an error, a failed step, Ctrl-C).
#   wine_session_start [--use-display] [--fake-browser RECORD]
#                        sets DISPLAY and WINEPREFIX; with --use-display an X
#                        server already named by DISPLAY is used instead of a
#                        private one; with --fake-browser web addresses go to
#                        tests/win32/fake-browser, which appends them to the
#                        file RECORD (exported as ZARVO_BROWSER_RECORD),
#                        emptied first
#   session_run COMMAND...
#                        runs a command in the foreground, listed among what
#                        the session started
#   wine_session_stop    (registered by wine_session_start before it starts
#                        anything)
# A script killed outright (kill -9, the out-of-memory killer) cannot stop
# what it started. So each session lists in its folder, build/session.*, who
# owns it and every process it starts, as "pid start-time program"; the next
# session ends what the folders of dead owners list, each process only while
# it is still the one listed, then removes those folders. A Wine prefix is
# marked made only once it is whole; one without the mark is made afresh.

ZARVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ZARVO_ROOT/scripts/lib/arch.sh"
ZARVO_WINE="$ZARVO_ROOT/scripts/wine-exec"
if [ "$ZARVO_ARCH" = i686 ]; then ZARVO_WINESERVER=wineserver; else ZARVO_WINESERVER=/usr/lib/wine/wineserver64; fi

# "START PROGRAM" of process PID: its start time (which a reused pid does not
# share) and what it runs; nothing for a process that is gone or not ours.
process_identity() {
  local stat exe
  stat=$(cat "/proc/$1/stat" 2>/dev/null) && exe=$(readlink "/proc/$1/exe" 2>/dev/null) || return 0
  stat=${stat##*) }
  read -ra stat <<<"$stat"
  echo "${stat[19]} $exe"
}

# Lists process PID as one this session started.
record_process() {
  local identity
  identity=$(process_identity "$1")
  [ -z "$identity" ] || echo "$1 $identity" >>"$ZARVO_SESSION_DIR/processes"
}

# The processes that carry the session folder DIR in their environment: all
# that a session started, Wine's server and services and the programs under
# test included, though Wine starts those itself.
session_pids() {
  local environ
  for environ in $(grep -lzxF "ZARVO_SESSION_DIR=$1" /proc/[0-9]*/environ 2>/dev/null); do
    environ=${environ#/proc/}
    echo "${environ%/environ}"
  done
}

record_wine_processes() {
  local pid
  for pid in $(session_pids "$ZARVO_SESSION_DIR"); do
    grep -q "^$pid " "$ZARVO_SESSION_DIR/processes" || record_process "$pid"
  done
}

session_run() {
  local program
  program=$(readlink -f "$(command -v "$1")")
  # A shell lists its own pid and start time with the program it then becomes
  # under the same pid.
  export -f process_identity
  bash -c 'read -r start _ < <(process_identity $$)
           echo "$$ $start $0" >>"$ZARVO_SESSION_DIR/processes"; exec "$@"' "$program" "$@"
}

# Ends what the sessions of this tree whose scripts are gone left running:
# what their folders list, with what was started under them after the list
# was written (Wine programs do not all end when their server is killed).
reap_stale_sessions() {
  local dir pid identity ended
  for dir in "$ZARVO_ROOT"/build/session.*; do
    [ -d "$dir" ] || continue
    if [ ! -s "$dir/owner" ]; then
      # Made a moment ago by a session still writing its owner, or never owned.
      [ -z "$(find "$dir" -maxdepth 0 -mmin +1)" ] || rm -rf "$dir"
      continue
    fi
    read -r pid identity <"$dir/owner"
    [ "$(process_identity "$pid")" != "$identity" ] || continue  # its script still runs
    for pid in $(session_pids "$dir"); do
      echo "$pid $(process_identity "$pid")"
    done >>"$dir/processes"
    ended=0
    while read -r pid identity; do
      if [ -n "$identity" ] && [ "$(process_identity "$pid")" = "$identity" ] && kill -KILL "$pid" 2>/dev/null; then
        ended=$((ended + 1))
      fi
    done < <(sort -u "$dir/processes" 2>/dev/null)
    rm -rf "$dir"
    [ "$ended" -eq 0 ] || echo "wine-session: ended $ended processes (Xvfb, Wine) left running by a run that was killed" >&2
  done
}

start_private_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$ZARVO_SESSION_DIR/display" >/dev/null 2>&1 &
  ZARVO_XVFB_PID=$!
  record_process "$ZARVO_XVFB_PID"
  for _ in $(seq 100); do [ -s "$ZARVO_SESSION_DIR/display" ] && break; sleep 0.1; done
  if [ ! -s "$ZARVO_SESSION_DIR/display" ]; then
    echo "wine-session: Xvfb did not start within ten seconds; run scripts/setup, then try 'Xvfb :99'" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$ZARVO_SESSION_DIR/display")"
}

wine_session_start() {
  local use_display= record= browser= drop_browser=-
  while [ $# -gt 0 ]; do
    case "$1" in
      --use-display) use_display=1 ;;
      --fake-browser) record=$2; shift ;;
    esac
    shift
  done
  export WINEPREFIX="${WINEPREFIX:-$ZARVO_ROOT/build/wineprefix-$ZARVO_ARCH}"
  mkdir -p "$ZARVO_ROOT/build"
  reap_stale_sessions
  ZARVO_SESSION_DIR=$(mktemp -d "$ZARVO_ROOT/build/session.XXXXXX")
  export ZARVO_SESSION_DIR
  echo "$$ $(process_identity $$)" >"$ZARVO_SESSION_DIR/owner"
  ZARVO_XVFB_PID= ZARVO_SETTINGS_WRITTEN=
  trap wine_session_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP

  if [ -z "$use_display" ] || [ -z "${DISPLAY:-}" ]; then
    start_private_display
  fi

  # A server left from another locale would hand its code page on.
  "$ZARVO_WINESERVER" -k >/dev/null 2>&1 || true
  # A prefix of this tree's whose making was cut short (Ctrl-C during
  # wineboot) lacks the mark and is made again from nothing. One named from
  # outside (WINEPREFIX set elsewhere) is used as it is.
  # A prefix of its own for each of several sessions side by side is copied
  # from a made one, ZARVO_PREFIX_TEMPLATE, in a second rather than made anew
  # in half a minute.
  local made=
  case $WINEPREFIX in "$ZARVO_ROOT"/build/*) made=$WINEPREFIX/.zarvo-made ;; esac
  if [ -n "$made" ] && [ ! -f "$made" ]; then
    rm -rf "$WINEPREFIX" "$WINEPREFIX.part"
    if [ -f "${ZARVO_PREFIX_TEMPLATE:-}/.zarvo-made" ]; then
      cp -a "$ZARVO_PREFIX_TEMPLATE" "$WINEPREFIX.part"
      mv "$WINEPREFIX.part" "$WINEPREFIX"
    fi
  fi
  mkdir -p "$WINEPREFIX"
  if ! "$ZARVO_WINE" wineboot --init >/dev/null 2>&1 </dev/null; then
    echo "wine-session: $ZARVO_ARCH Wine could not start in $WINEPREFIX; 'scripts/wine-exec wineboot --init' shows why" >&2
    return 1
  fi
  record_wine_processes
  if [ -n "$made" ] && [ ! -f "$made" ]; then
    # The server writes the new registry to disk when it exits.
    "$ZARVO_WINESERVER" -w >/dev/null 2>&1 || true
    touch "$made"
  fi
  # Wine draws the caption buttons with the Marlett font. Debian's Wine reads
  # only the prefix's Fonts folder and fontconfig's, not the folder where
  # fonts-wine puts it, so without a copy the buttons show as letters.
  cp -u /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # The About box asks for a Japanese proportional gothic face; give it IPA's.
  # Without a window manager Wine draws the caption and frame itself, so the
  # whole window shows on the X screen as it would on Windows; on a private
  # display, where no window manager runs, Wine manages no window either,
  # rather than wait two seconds for one to answer each window hidden. The
  # stand-in browser, its path quoted so that spaces survive, finds its
  # record in the environment; without it the user's browser is back. A
  # UTF-16 file carries the Japanese value name through unchanged.
  if [ -n "$record" ]; then
    export ZARVO_BROWSER_RECORD=$record
    rm -f "$record"
    browser="\\\"$ZARVO_ROOT/tests/win32/fake-browser\\\""
    drop_browser=
  fi
  # Wine starts its desktop process for the first program that needs the
  # desktop, and that process lives as long as the server, holding whatever
  # output that program had: a test runner would wait for its test's output
  # to end until its time ran out. Started here, it holds nothing.
  "$ZARVO_WINE" explorer.exe /desktop >/dev/null 2>&1 </dev/null &
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Decorated"="N"' \
    ${ZARVO_XVFB_PID:+'"Managed"="N"'} '' \
    "[${drop_browser}HKEY_CURRENT_USER\Software\Wine\WineBrowser]" \
    ${record:+"\"Browsers\"=\"$browser\""} |
    iconv -f UTF-8 -t UTF-16 >"$ZARVO_SESSION_DIR/settings.reg"
  # A prefix holds the settings last written into it, a copy its template's:
  # they are written only when they change, and marked written once the
  # server has saved them (wine_session_stop).
  if ! cmp -s "$ZARVO_SESSION_DIR/settings.reg" "$WINEPREFIX/zarvo-settings.reg"; then
    rm -f "$WINEPREFIX/zarvo-settings.reg"
    # Wine's drive Z: is the root of the Linux file system.
    local settings=Z:$ZARVO_SESSION_DIR/settings.reg
    "$ZARVO_WINE" regedit /S "${settings//\//\\}" \
      >/dev/null 2>&1 </dev/null
    ZARVO_SETTINGS_WRITTEN=$WINEPREFIX/zarvo-settings.reg
  fi

  # One idle process keeps the server and Wine's services alive for the whole
  # session. Otherwise each test program would start them afresh, and they
  # would hold the test runner's output pipe open after the test ends.
  mkfifo "$ZARVO_SESSION_DIR/keepalive"
  "$ZARVO_WINE" cmd.exe <"$ZARVO_SESSION_DIR/keepalive" >/dev/null 2>&1 &
  exec 7>"$ZARVO_SESSION_DIR/keepalive"
  record_wine_processes
}

# Stops whatever the session started, however far it got.
wine_session_stop() {
  [ -n "${ZARVO_SESSION_DIR:-}" ] || return 0
  exec 7>&- 2>/dev/null || true
  "$ZARVO_WINESERVER" -k >/dev/null 2>&1 || true
  "$ZARVO_WINESERVER" -w >/dev/null 2>&1 || true
  [ -z "${ZARVO_SETTINGS_WRITTEN:-}" ] || cp "$ZARVO_SESSION_DIR/settings.reg" "$ZARVO_SETTINGS_WRITTEN"
  if [ -n "$ZARVO_XVFB_PID" ]; then
    kill "$ZARVO_XVFB_PID" 2>/dev/null || true
    wait "$ZARVO_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$ZARVO_SESSION_DIR"
  ZARVO_SESSION_DIR=
}
