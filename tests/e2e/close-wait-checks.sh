#!/usr/bin/env bash
# Closing while a reload waits for another program's lock on the data file:
# Ctrl+X, typed while the loading window says what the reload waits for, ends
# the wait and the program at once (the viewer waits up to 10 seconds for the
# lock; it must be gone well within that while the lock is still held), and the
# data file is left as it was.
#
#   close-wait-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

program_folder close-wait
record="$work/typist.ｷﾛｸ"
data="$work/typist.hok"
"$sample" --seed 5 --runs 3000 "$record"
start_viewer SDL_AUDIODRIVER=dummy -- "$record" R
wait_window "$main_window" 60 || fail "no main window"
main=$window
end=$((SECONDS + 30))
while [ "$(stat -c %s "$data" 2>/dev/null || echo 0)" -ne 30000 ] && ((SECONDS < end)); do sleep 0.2; done
[ "$(stat -c %s "$data" 2>/dev/null || echo 0)" -eq 30000 ] || fail "the first load left no complete data file"

echo "== Ctrl+X while a reload waits for the data file's lock"
# Another program holds the lock (a record lock of the whole file, as a second
# viewer or the report tool takes it) until this check lets it go.
hold_lock "$data"
printf 'R %s  06:09:00  HIT = 150  MISS=   4\r\n' "$(date +%Y/%m/%d)" >>"$record"
cp "$data" "$work/before.hok"
keys "$main" ctrl+q # reload: it waits for the lock
wait_window "$loading_window" 10 || fail "no loading window while the reload waits for the lock"
keys "$window" ctrl+x
# Gone within half the viewer's wait for the lock, which is still held.
end=$((SECONDS + 5))
while kill -0 "$viewer_pid" 2>/dev/null && ((SECONDS < end)); do sleep 0.1; done
kill -0 "$viewer_pid" 2>/dev/null && fail "Ctrl+X did not end the wait for the lock: the program still runs"
[ -e "$work/release" ] && fail "the lock was let go before the program ended"
wait "$viewer_pid" || fail "the program ended with status $?"
viewer_pid=
cmp -s "$data" "$work/before.hok" || fail "the data file was written"
release_lock
echo "close-wait checks passed"
