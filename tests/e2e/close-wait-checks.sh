#!/usr/bin/env bash
# Closing while a reload waits for another program's lock on the data file:
# Ctrl+X, typed while the loading window says what the reload waits for, and
# the window manager's close of the main window (the title bar's button) each
# end the wait and the program at once (the viewer waits up to 10 seconds for
# the lock; it must be gone well within that while the lock is still held),
# and the data file is left as it was.
#
#   close-wait-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

program_folder close-wait
record="$work/typist.ｷﾛｸ"
data="$work/typist.hok"
"$sample" --seed 5 --runs 3000 "$record"

# One close while a reload waits for the lock: CLOSE is a command that closes
# the program from the main window ($main) or the loading window ($loading).
# Each round appends a run of its own minute.
round=0
close_during_wait() {  # WHAT CLOSE
  local what=$1 close=$2 want end
  round=$((round + 1))
  echo "== $what while a reload waits for the data file's lock"
  start_viewer SDL_AUDIODRIVER=dummy -- "$record" R
  wait_window "$main_window" 60 || fail "$what: no main window"
  main=$window
  # The load at the start completes the data file: one entry of 10 bytes a line.
  want=$(($(stat -c %s "$record") / 46 * 10))
  end=$((SECONDS + 30))
  while [ "$(stat -c %s "$data" 2>/dev/null || echo 0)" -ne "$want" ] && ((SECONDS < end)); do sleep 0.2; done
  [ "$(stat -c %s "$data" 2>/dev/null || echo 0)" -eq "$want" ] || fail "$what: the first load left no complete data file"

  hold_lock "$data"
  printf 'R %s  06:%02d:00  HIT = 150  MISS=   4\r\n' "$(date +%Y/%m/%d)" $((round + 8)) >>"$record"
  cp "$data" "$work/before.hok"
  keys "$main" ctrl+q # reload: it waits for the lock
  wait_window "$loading_window" 10 || fail "$what: no loading window while the reload waits for the lock"
  loading=$window
  "$close"
  # Gone within half the viewer's wait for the lock, which is still held.
  end=$((SECONDS + 5))
  while kill -0 "$viewer_pid" 2>/dev/null && ((SECONDS < end)); do sleep 0.1; done
  kill -0 "$viewer_pid" 2>/dev/null && fail "$what did not end the wait for the lock: the program still runs"
  [ -e "$work/release" ] && fail "$what: the lock was let go before the program ended"
  wait "$viewer_pid" || fail "$what: the program ended with status $?"
  viewer_pid=
  cmp -s "$data" "$work/before.hok" || fail "$what: the data file was written"
  release_lock
}

ctrl_x() { keys "$loading" ctrl+x; }
title_bar_close() { wm_close "$main"; }

close_during_wait "Ctrl+X" ctrl_x
close_during_wait "the title bar's close" title_bar_close
echo "close-wait checks passed"
