# Sourced by the scripts that show zarvo.exe on a private X server: finding
# its windows, taking pictures of them, and closing the program.

# Waits up to ten seconds for a visible window whose title matches the
# regular expression; prints its X window id.
find_window() {
  local id=
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
    sleep 0.1
  done
  if [ -z "$id" ]; then
    echo "no window titled '$1' appeared within ten seconds" >&2
    return 1
  fi
  echo "$id"
}

# shot FILE WINDOW [WIDTH HEIGHT]: a PNG of the window as the screen shows it,
# or of WIDTH x HEIGHT from its top-left corner (to take in a menu beside it).
shot() {
  local WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$2")"
  /usr/bin/import -window root -crop "${3:-$WIDTH}x${4:-$HEIGHT}+$X+$Y" +repage "$1"
}

# close_zarvo PID: asks zarvo.exe to close, as its close box would, and
# prints the exit code the process ends with.
close_zarvo() {
  local code=0
  "$ZARVO_WINE" taskkill /im zarvo.exe >/dev/null 2>&1 </dev/null || true
  wait "$1" || code=$?
  echo "zarvo.exe ended with exit code $code"
}
