#!/usr/bin/env bash
# The real viewer on a real X server, driven the way a person drives it: keys
# and clicks through xdotool, Qt's own dialogs and message boxes, no seams.
#
#   desktop-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID
#
# Each check runs the program from a folder of its own (its settings file
# beside it), waits for windows rather than for fixed times, and fails with
# the step that did not happen. Xvfb has no window manager: keys go to a
# window after `windowfocus --sync`.
set -euo pipefail

source "$(dirname "$0")/lib.sh"

today=$(date +%Y-%m-%d)
"$sample" --seed 20210401 --runs 600 --start 2024-01-01 --newest "$today" --final-record "$work/today.ｷﾛｸ"

# A start that celebrates while the fanfare cannot sound: the box that says so
# is read for 8 seconds, then the main window appears ($window).
celebrate_without_sound() {  # NAME ENV...
  local name=$1
  shift
  rm -f "$work/today.hok"
  start_viewer "$@" -- "$work/today.ｷﾛｸ"
  wait_window "$message_box" 40 || fail "$name: no message about the fanfare"
  sleep 8
  keys "$window" Return
  wait_window "$main_window" 20 || fail "$name: the main window never appeared after the message"
  if grep -q "ALSA lib" "$work/viewer.err"; then fail "$name: ALSA's lines on the terminal"; fi
}

echo "== a fanfare file that is no sound"
program_folder broken-fanfare
printf 'no sound at all\n' >"$folder/broken.mid"
printf '\xef\xbb\xbf[Option]\r\nFanfare=%s\r\n' "$folder/broken.mid" >"$folder/hoko32.ini"
celebrate_without_sound "broken fanfare" SDL_AUDIODRIVER=dummy
close_with_ctrl_x "$window" "broken fanfare"
[ -n "$(setting "$folder" Form Width)" ] || fail "broken fanfare: the settings were not written at the close"

echo "== no sound device"
program_folder no-sound
cp "$fanfare" "$folder/"
if ls /dev/snd/pcm* >/dev/null 2>&1; then
  device=(SDL_AUDIODRIVER=no_such_driver)  # this machine has sound: take it away
else
  device=(-u SDL_AUDIODRIVER)  # as on a machine without a sound card
fi
celebrate_without_sound "no sound device" "${device[@]}"
# A reload celebrates again; a machine without sound is told once per run.
keys "$window" ctrl+q
end=$((SECONDS + 12))
while ((SECONDS < end)); do
  if xdotool search --onlyvisible --name "$message_box" >/dev/null 2>&1; then
    fail "no sound device: told again at the second celebration"
  fi
  sleep 0.3
done
wait_window "$main_window" 10 || fail "no sound device: no main window after the reload"
close_with_ctrl_x "$window" "no sound device"

echo "== the record-file dialog lists the folder's record files and opens the one chosen"
program_folder record-dialog
mkdir -p "$work/records"
"$sample" --seed 1 --runs 200 "$work/records/one.ｷﾛｸ"
"$sample" --seed 2 --runs 150 "$work/records/two.ｷﾛｸ"
printf 'not a record file\n' >"$work/records/notes.txt"
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 30 || fail "record dialog: no main window"
main=$window
keys "$main" ctrl+d
wait_window 'フォルダの変更と記録ファイルの選択' 20 || fail "record dialog: the dialog did not open"
# From the file name to the list, the next file down, then 開く.
keys "$window" shift+Tab Down Return
wait_gone 'フォルダの変更と記録ファイルの選択' 10 || fail "record dialog: 開く did not open the file chosen"
close_with_ctrl_x "$main" "record dialog"
[ "$(setting "$folder" File RecFile)" = "two.ｷﾛｸ" ] ||
  fail "record dialog: the file opened is '$(setting "$folder" File RecFile)', not two.ｷﾛｸ"

echo "== the font dialog opens on the pane's font; OK without a change changes nothing"
program_folder font-dialog
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 30 || fail "font dialog: no main window"
main=$window
keys "$main" ctrl+f
wait_window '^フォント$' 20 || fail "font dialog: the dialog did not open"
keys "$window" Return
wait_gone '^フォント$' 10 || fail "font dialog: OK did not close it"
close_with_ctrl_x "$main" "font dialog"
[ "$(setting "$folder" Font FontName)" = "ＭＳ ゴシック" ] ||
  fail "font dialog: OK unchanged changed the font to '$(setting "$folder" Font FontName)'"

echo "== runs appended while the viewer is open are read by themselves; a record of today is celebrated"
program_folder live-reload
cp "$fanfare" "$folder/"
cp "$work/records/one.ｷﾛｸ" "$work/live.ｷﾛｸ"
start_viewer SDL_AUDIODRIVER=dummy -- "$work/live.ｷﾛｸ" R
wait_window "$main_window" 30 || fail "live reload: no main window"
main=$window
hok_size() { stat -c %s "$work/live.hok"; }
grown_by() {  # BYTES SECONDS: waits for the data file to grow by BYTES from $before
  local end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    [ "$(hok_size)" -eq $((before + $1)) ] && return 0
    sleep 0.2
  done
  return 1
}
run_line() { printf 'R %s  %s  HIT =%4d  MISS=%4d\r\n' "$(date +%Y/%m/%d)" "$1" "$2" "$3"; }
before=$(hok_size)
run_line 06:00:00 20 9 >>"$work/live.ｷﾛｸ"  # no record
grown_by 10 10 || fail "live reload: the appended run was not read (data file $(hok_size) bytes, was $before)"
[ -z "$(setting "$folder" Option OiwaiBmpPattern)" ] || fail "live reload: a run that is no record was celebrated"
before=$(hok_size)
run_line 06:05:00 999 0 >>"$work/live.ｷﾛｸ"  # a record of today
grown_by 10 10 || fail "live reload: the record was not read"
end=$((SECONDS + 30))  # the banner closes by itself and notes its picture
while [ -z "$(setting "$folder" Option OiwaiBmpPattern)" ] && ((SECONDS < end)); do sleep 0.3; done
[ -n "$(setting "$folder" Option OiwaiBmpPattern)" ] || fail "live reload: the record of today was not celebrated"
xdotool search --onlyvisible --name "$message_box" >/dev/null 2>&1 && fail "live reload: a message box is open"
close_with_ctrl_x "$main" "live reload"

echo "== ファイル → エクスポート... saves the active view's data through Qt's save dialog"
program_folder export
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 30 || fail "export: no main window"
main=$window
keys "$main" alt+f
sleep 0.3
xdotool key --clearmodifiers Down Down Down Down Return  # 記録ファイルの選択, フォルダ, 再読み込み, 圧縮ﾃﾞｰﾀ → エクスポート
wait_window '^エクスポート$' 20 || fail "export: the export dialog did not open"
keys "$window" Return  # 次へ...: the data of the view shown
end=$((SECONDS + 20))
while ((SECONDS < end)); do  # the save dialog, with the same title
  save_dialog=$(xdotool search --onlyvisible --name '^エクスポート$' 2>/dev/null | tail -n 1) || true
  [ -n "$save_dialog" ] && [ "$save_dialog" != "$window" ] && break
  sleep 0.2
done
[ -n "$save_dialog" ] && [ "$save_dialog" != "$window" ] || fail "export: no save dialog"
xdotool windowfocus --sync "$save_dialog" key --clearmodifiers ctrl+a
xdotool type --delay 20 "$work/exported"
keys "$save_dialog" Return
end=$((SECONDS + 10))
while [ ! -s "$work/exported.csv" ] && ((SECONDS < end)); do sleep 0.2; done
[ -s "$work/exported.csv" ] || fail "export: nothing was saved as exported.csv"
head -c 3 "$work/exported.csv" | od -An -tx1 | grep -q 'ef bb bf' || fail "export: the CSV file has no byte-order mark"
head -n 1 "$work/exported.csv" | grep -q 'date,time,hits,misses,runs,runs_since,days_since,level' ||
  fail "export: the CSV file is not the history's data"
close_with_ctrl_x "$main" "export"

echo "== Ctrl+Y opens the practice calendar beside the main window; Escape closes it and its place is kept"
program_folder calendar
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 30 || fail "calendar: no main window"
main=$window
keys "$main" ctrl+y
wait_window '^練習カレンダー$' 20 || fail "calendar: Ctrl+Y opened no calendar window"
calendar=$window
# Non-modal: the main window still takes keys (Ctrl+K switches the mode).
keys "$main" ctrl+k
keys "$calendar" Escape
wait_gone '^練習カレンダー$' 10 || fail "calendar: Escape did not close it"
wait_setting 10 "$folder" Calendar Width || fail "calendar: its size was not kept in the settings file"
close_with_ctrl_x "$main" "calendar"
[ "$(setting "$folder" Option "Default Type")" = 1 ] || fail "calendar: the main window did not take Ctrl+K beside it"

echo "== Ctrl+X from the rank count box"
program_folder rank-count
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 30 || fail "rank count: no main window"
main=$window
keys "$main" alt+s
sleep 0.3
xdotool key --clearmodifiers y  # 表示 → 自己ベスト10
sleep 0.5
# The rank count box is the first control of the page's header.
xdotool mousemove --window "$main" 95 88 click 1
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace 7
close_with_ctrl_x "$main" "rank count"
[ "$(setting "$folder" Option RankCount)" = "7" ] ||
  fail "rank count: the box did not have the focus (RankCount '$(setting "$folder" Option RankCount)')"

echo "desktop checks passed"
