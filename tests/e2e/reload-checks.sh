#!/usr/bin/env bash
# Loads never run inside one another. Another program (a second viewer, the
# report tool) holds the data file's lock while TAPPER appends runs one after
# another, so the viewer's live reload waits while the watcher keeps seeing
# changes; once the lock is let go the data file holds exactly one entry per
# line, and every pane shows what the report tool prints for the file.
#
#   reload-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID HOKO32_REPORT
set -euo pipefail

source "$(dirname "$0")/lib.sh"

program_folder lock-held
record="$work/live.ｷﾛｸ"
data="$work/live.hok"
"$sample" --seed 5 --runs 5000 "$record"
start_viewer SDL_AUDIODRIVER=dummy -- "$record" R
wait_window "$main_window" 60 || fail "no main window"
main=$window

lines() { echo $(($(stat -c %s "$record") / 46)); }
entries() { echo $(($(stat -c %s "$data" 2>/dev/null || echo 0) / 10)); }
# Waits until the data file holds one entry per line of the record file and
# the stored size is the record file's size.
wait_cache_complete() {  # SECONDS
  local end=$((SECONDS + $1)) canonical
  canonical=$(readlink -f "$record")
  while ((SECONDS < end)); do
    if [ "$(entries)" -eq "$(lines)" ] &&
      [ "$(setting "$folder" FileSize "$canonical")" = "$(stat -c %s "$record")" ]; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}
wait_cache_complete 60 || fail "the first load left $(entries) entries for $(lines) lines"

echo "== runs appended while another program holds the data file's lock"
hold_lock "$data"
run_line() { printf 'R %s  %s  HIT =%4d  MISS=%4d\r\n' "$(date +%Y/%m/%d)" "$1" "$2" "$3"; }
# The typist's pace: each run far enough from the last that the watcher sees it by itself.
run_line 06:09:00 150 4 >>"$record"
# The viewer does not freeze while it waits: its loading window comes up and says so.
wait_window "$loading_window" 10 || fail "no loading window while the reload waits for the lock"
for minute in 10 11 12 13 14 15; do
  run_line "06:$minute:00" 150 4 >>"$record"
  sleep 1.2
done
# Held past the viewer's wait for it: the reload gives up waiting and loads
# without the cache while the watcher's notices are still coming due.
sleep 18
release_lock
# A reload that could not wait any longer kept no cache: the next run brings it up to date.
run_line 06:30:00 150 4 >>"$record"
wait_cache_complete 60 || fail "after the lock: $(entries) entries in the data file for $(lines) lines"
sleep 2  # anything still going on would show now
[ "$(entries)" -eq "$(lines)" ] || fail "the data file grew on to $(entries) entries for $(lines) lines"

echo "== every pane shows what the report tool prints"
cp "$folder/hoko32.ini" "$work/report.ini"
for view in b:history g:graph a:average m:miss y:best; do
  key=${view%%:*}
  name=${view##*:}
  "$report" --settings "$work/report.ini" --mode R --copy --view "$name" "$record" >"$work/$name.expected"
  keys "$main" alt+s
  sleep 0.3
  xdotool key --clearmodifiers "$key"  # 表示 → the view's tab
  end=$((SECONDS + 20))
  while ((SECONDS < end)); do
    printf '' | xclip -selection clipboard
    keys "$main" ctrl+w  # すべてｺﾋﾟｰ
    sleep 0.3
    { xclip -o -selection clipboard 2>/dev/null | tr -d '\r' && echo; } >"$work/$name.pane" || true
    # The ranking's title says when it was computed: compared from the line after it.
    if [ "$name" = best ]; then
      cmp -s <(tail -n +2 "$work/$name.pane") <(tail -n +2 "$work/$name.expected") && break
    else
      cmp -s "$work/$name.pane" "$work/$name.expected" && break
    fi
  done
  if [ "$name" = best ]; then
    diff <(tail -n +2 "$work/$name.pane") <(tail -n +2 "$work/$name.expected") >&2 || fail "the $name pane is not the report's"
  else
    diff "$work/$name.pane" "$work/$name.expected" >&2 || fail "the $name pane is not the report's"
  fi
done
close_with_ctrl_x "$main" "lock held"

echo "reload checks passed"
