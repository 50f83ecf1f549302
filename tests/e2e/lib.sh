#!/usr/bin/env bash
# What every end-to-end check of the real viewer shares: an X server of its
# own, waits for windows and for settings (never fixed sleeps for a state),
# keys through xdotool, a program folder per check. Sourced by the check
# scripts, which are called as
#
#   SCRIPT HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
#
# Xvfb has no window manager: keys go to a window after `windowfocus --sync`.
# Its screen is 1280x1024 unless the script sets screen_size (WIDTHxHEIGHT)
# before it sources this file.

program=$1
sample=$2
fanfare=$3
report=${4:-}

work=$(mktemp -d)
xvfb_pid=
viewer_pid=
lock_holder=
cleanup() {
  [ -n "$viewer_pid" ] && kill -9 "$viewer_pid" 2>/dev/null || true
  [ -n "$lock_holder" ] && kill -- -"$lock_holder" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/viewer.err" ] && sed 's/^/  viewer: /' "$work/viewer.err" >&2
  exit 1
}

# An X server of our own on a free display.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 "${screen_size:-1280x1024}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
exec 5>&-
unset QT_QPA_PLATFORM WAYLAND_DISPLAY  # the real xcb windows

# Waits for a visible window whose name matches and leaves its id in $window.
window=
wait_window() {
  local pattern=$1 limit=${2:-30}
  local end=$((SECONDS + limit))
  while ((SECONDS < end)); do
    window=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1) || true
    [ -n "$window" ] && return 0
    sleep 0.2
  done
  return 1
}

wait_gone() {
  local pattern=$1 limit=${2:-30}
  local end=$((SECONDS + limit))
  while ((SECONDS < end)); do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

# A window found visible may be between two states (being mapped, raised
# above a dialog) when it is given the focus: X then refuses with BadMatch
# before any key is sent, and the focus is tried again.
keys() {
  local window=$1 attempt
  shift
  for attempt in 1 2 3 4; do
    xdotool windowfocus --sync "$window" 2>/dev/null && break
    sleep 0.3
  done
  xdotool windowfocus --sync "$window" key --clearmodifiers "$@"
}

# Window names: the main window, the message boxes, the dialogs.
main_window='^ＴＡＰＰＥＲの足跡32( \(.*\))?$'  # with the era in brackets while one is set; never the help window
message_box='ＴＡＰＰＥＲの足跡３２$'
loading_window='^ＴＡＰＰＥＲの足跡３２ 読み込み中$'  # the loading window, never taken for a message box

# A program folder for one check, with the program in it: $folder.
folder=
program_folder() {
  folder=$work/$1
  mkdir -p "$folder"
  cp "$program" "$folder/hoko32"
}

start_viewer() {  # [ENV...] -- ARGS...: runs $folder/hoko32 in the working folder $work
  local environment=()
  while [ "$1" != "--" ]; do environment+=("$1"); shift; done
  shift
  (cd "$work" && exec env "${environment[@]}" "$folder/hoko32" "$@" >"$work/viewer.out" 2>"$work/viewer.err") &
  viewer_pid=$!
}

# Closes the viewer with Ctrl+X from `window` and checks that it ends well.
# Ctrl+X is sent up to $ctrl_x_tries times while the program runs on (Wine
# without a window manager can drop a key that comes while a window takes the
# focus back from a dialog that closed).
ctrl_x_tries=1
close_with_ctrl_x() {
  local try end
  for ((try = 1; try <= ctrl_x_tries; try++)); do
    keys "$1" ctrl+x
    end=$((SECONDS + 20))
    while kill -0 "$viewer_pid" 2>/dev/null && ((SECONDS < end)); do sleep 0.2; done
    kill -0 "$viewer_pid" 2>/dev/null || break
  done
  kill -0 "$viewer_pid" 2>/dev/null && fail "$2: Ctrl+X did not close the program"
  wait "$viewer_pid" || fail "$2: the program ended with status $?"
  viewer_pid=
}

# Another program (a second viewer, the report tool, or Wine for a Windows
# program) takes a POSIX record lock over the whole of FILE and holds it, in a
# process group of its own, until release_lock; returns once it holds it.
# $work/release appears when the check lets it go.
hold_lock() {  # FILE
  rm -f "$work/locked" "$work/release"
  FILE=$1 LOCKED=$work/locked RELEASE=$work/release setsid perl -MFcntl -e '
    open(my $f, "+<", $ENV{FILE}) or die "$ENV{FILE}: $!";
    fcntl($f, F_SETLKW, pack("s s x4 q q l x4", F_WRLCK, SEEK_SET, 0, 0, 0)) or die "lock: $!";
    open(my $t, ">", $ENV{LOCKED}) or die; close $t;
    select(undef, undef, undef, 0.1) until -e $ENV{RELEASE};' &
  lock_holder=$!
  local end=$((SECONDS + 10))
  while [ ! -e "$work/locked" ] && ((SECONDS < end)); do sleep 0.1; done
  [ -e "$work/locked" ] || fail "the lock holder did not start"
}

release_lock() {
  touch "$work/release"
  wait "$lock_holder" || fail "the lock holder ended with status $?"
  lock_holder=
}

# The window manager's close (the title bar's button): a WM_PROTOCOLS client
# message naming WM_DELETE_WINDOW, sent to WINDOW as a window manager sends it
# (Xvfb runs none). Debian's python3 with python3-xlib. Fails when the window
# does not take that protocol.
wm_close() {  # WINDOW
  /usr/bin/python3 - "$1" <<'PYTHON' || fail "no close could be sent to window $1"
import sys
from Xlib import X, display
from Xlib.protocol import event

screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1]))
protocols = screen.intern_atom("WM_PROTOCOLS")
delete = screen.intern_atom("WM_DELETE_WINDOW")
if delete not in (window.get_wm_protocols() or []):
    sys.exit("the window does not take WM_DELETE_WINDOW")
message = event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
screen.sync()
PYTHON
}

setting() {  # FOLDER SECTION KEY: a value of FOLDER/hoko32.ini (Shift-JIS, or UTF-8 after a byte-order mark)
  local encoding=CP932
  [ "$(head -c 3 "$1/hoko32.ini" | od -An -tx1 | tr -d ' ')" = efbbbf ] && encoding=UTF-8
  iconv -f "$encoding" -t UTF-8 "$1/hoko32.ini" 2>/dev/null |
    awk -v section="[$2]" -v key="$3" '
      { sub(/\r$/, "") }
      /^\[/ { inside = ($0 == section) }
      inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# Waits up to SECONDS for FOLDER/hoko32.ini to hold KEY in SECTION (with
# VALUE, when given): a window's hide event writes its settings after the
# window is gone from the screen.
wait_setting() {  # SECONDS FOLDER SECTION KEY [VALUE]
  local end=$((SECONDS + $1))
  while ((SECONDS < end)); do
    local value
    value=$(setting "$2" "$3" "$4")
    if [ -n "$value" ] && { [ $# -lt 5 ] || [ "$value" = "$5" ]; }; then return 0; fi
    sleep 0.2
  done
  return 1
}

