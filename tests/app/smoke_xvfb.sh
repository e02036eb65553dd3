#!/bin/sh
# Starts the real program under Xvfb with a temporary home: its window appears, its log gets the
# start line, and a quit through Ctrl+Q (or SIGTERM when xdotool is missing) ends it cleanly.
# Exits 77 (skipped) when xvfb-run is missing. Arguments: the program.
set -eu
program=$1
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run missing: skipped"; exit 77; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$home"
log="$home/.local/state/Vantrel/Vantrel.log"

# Server numbers from 170 up, apart from other suites' servers (xvfb-run -a alone can race).
xvfb-run -a -n 170 -s "-screen 0 1400x1000x24" sh -c '
  "$1" & pid=$!
  # Wait (bounded) for the main window to be mapped.
  i=0
  until xwininfo -root -tree 2>/dev/null | grep -q "\"Vantrel\""; do
    i=$((i + 1)); [ $i -gt 150 ] && { echo "no window"; kill $pid; exit 1; }
    sleep 0.2
  done
  if command -v xdotool >/dev/null 2>&1; then
    # The application gives its window the input focus itself (there is no window manager).
    i=0
    until [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "Vantrel" ]; do
      i=$((i + 1)); [ $i -gt 150 ] && { echo "window never focused"; kill $pid; exit 1; }
      sleep 0.2
    done
    xdotool key --clearmodifiers ctrl+q
  else
    kill -TERM $pid
  fi
  i=0
  while kill -0 $pid 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 150 ] && { echo "did not quit"; kill -KILL $pid; exit 1; }
    sleep 0.2
  done
  wait $pid
' smoke "$program"

grep -q " Vantrel\[[0-9]*\] started, version " "$log"
grep -q "^Vantrel quit$" "$log"
if command -v xdotool >/dev/null 2>&1; then
  ! grep -q "Termination signal" "$log" # it quit through its menu's shortcut
fi
test -f "$home/.config/Vantrel/Vantrel.conf"
test -f "$home/.local/share/Vantrel/Vantrel.db"
echo "smoke: started, logged and quit cleanly"
