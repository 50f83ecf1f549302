#!/usr/bin/env bash
# The Windows viewer (hoko32.exe with its DLLs, as it is packaged) under Wine on
# a real X server, driven with keys as desktop-checks.sh drives the Linux one:
# both programs carry their application manifest and load a record file in a
# folder deeper than 260 characters; it starts on the bundled sample and shows
# its text, lists record files in its dialog and speaks Japanese in Qt's own
# message there, opens its own font dialog from お祝いの設定 and saves the
# settings at its OK, celebrates a record of today, says once that no sound device is
# there and goes on, and writes its settings when Ctrl+X ends it.
#
#   wine-desktop-checks.sh WINDOWS_FOLDER HOKO32_SAMPLE HOKO32_REPORT
#
# WINDOWS_FOLDER is the folder scripts/windows-stage puts together;
# HOKO32_SAMPLE and HOKO32_REPORT are the Linux build's programs, which write
# the record files and tell what the panes must show. WINEPREFIX names the
# Wine prefix to use (made when it is missing); it is given no sound driver,
# as on a machine without a sound card.
set -euo pipefail

windows_folder=$(cd "$1" && pwd)
set -- "$windows_folder/hoko32.exe" "$2" "$windows_folder/ﾌｧﾝﾌｧｰﾚ.mid" "$3"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine-lib.sh"

start_viewer() {  # [ENV...] -- ARGS...: runs $folder/hoko32.exe in the working folder $work
  local environment=()
  while [ "$1" != "--" ]; do environment+=("$1"); shift; done
  shift
  (cd "$work" && exec env "${environment[@]}" wine "$folder/hoko32.exe" "$@" >"$work/viewer.out" 2>"$work/viewer.err") &
  viewer_pid=$!
}

echo "== both programs carry their manifest and load a record file deeper than 260 characters"
for exe in hoko32.exe hoko32-report.exe; do
  wrestool -x --raw -t 24 "$windows_folder/$exe" >"$work/manifest.xml" 2>/dev/null || true
  [ -s "$work/manifest.xml" ] || fail "manifest: $exe carries no application manifest"
  for entry in 'requestedExecutionLevel level="asInvoker"' 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
    '<longPathAware[^>]*>true</longPathAware>' '<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>'; do
    grep -q "$entry" "$work/manifest.xml" || fail "manifest: $exe's manifest has no $entry"
  done
done
deep=$work/long
while [ ${#deep} -le 300 ]; do deep=$deep/記録のフォルダ-$(printf '%040d' 0); done
mkdir -p "$deep" "$work/long-linux"
cp "$(dirname "$0")/../../data/sample.ｷﾛｸ" "$deep/typist.ｷﾛｸ"
cp "$deep/typist.ｷﾛｸ" "$work/long-linux/typist.ｷﾛｸ"
"$report" --settings "$work/long-linux.ini" --now "2026-01-15 12:00:00" "$work/long-linux/typist.ｷﾛｸ" >/dev/null
(cd "$work" && wine "$windows_folder/hoko32-report.exe" --settings long.ini --now "2026-01-15 12:00:00" \
  "Z:$deep/typist.ｷﾛｸ" </dev/null >"$work/long.out" 2>"$work/long.err") ||
  fail "long path: hoko32-report.exe failed on a record file in a folder of ${#deep} characters: $(head -c 300 "$work/long.err")"
cmp -s "$deep/typist.hok" "$work/long-linux/typist.hok" ||
  fail "long path: the data file in the folder of ${#deep} characters is not the one the Linux report tool writes"

echo "== starts on the bundled sample and shows its runs in Japanese"
program_folder start
cp "$(dirname "$0")/../../data/sample.ｷﾛｸ" "$work/typist.ｷﾛｸ"
start_viewer -- "$work/typist.ｷﾛｸ" R
wait_window "$main_window" 90 || fail "start: no main window"
main=$window
cp "$folder/hoko32.ini" "$work/report.ini" 2>/dev/null || true
"$report" --settings "$work/report.ini" --mode R --copy --view history "$work/typist.ｷﾛｸ" >"$work/history.expected"
grep -q 'ローマ字の足跡' "$work/history.expected" || fail "start: the report tool wrote no Japanese title"
pane_shows "$main" "$work/history.expected" || fail "start: the history pane is not what the report tool prints"

echo "== the record-file dialog lists the folder's record files and opens the one chosen"
mkdir -p "$work/records"
"$sample" --seed 1 --runs 200 "$work/records/one.ｷﾛｸ"
"$sample" --seed 2 --runs 150 "$work/records/two.ｷﾛｸ"
printf 'not a record file\n' >"$work/records/notes.txt"
close_with_ctrl_x "$main" "start"
start_viewer -- "$work/records/one.ｷﾛｸ"
wait_window "$main_window" 60 || fail "record dialog: no main window"
main=$window
keys "$main" ctrl+d
wait_window 'フォルダの変更と記録ファイルの選択' 30 || fail "record dialog: the dialog did not open"
files=$window
# Qt's own texts are Japanese (its catalogue qtbase_ja, shipped in translations\): a name
# that is not there is refused by Qt's message box, titled as the dialog, whose text and
# button row Ctrl+C copies.
keys "$files" n o s u c h Return
qt_says=
end=$((SECONDS + 30))
while [ -z "$qt_says" ] && ((SECONDS < end)); do
  for candidate in $(xdotool search --onlyvisible --name 'フォルダの変更と記録ファイルの選択' 2>/dev/null); do
    [ "$candidate" = "$files" ] && continue
    printf '' | xclip -selection clipboard
    keys "$candidate" ctrl+c
    sleep 0.3
    if xclip -o -selection clipboard 2>/dev/null | grep -q 'ファイルが見つかりません'; then
      qt_says=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
      keys "$candidate" Return
      break
    fi
  done
  sleep 0.3
done
[ -n "$qt_says" ] || fail "record dialog: Qt's message for a missing file is not in Japanese: $(xclip -o -selection clipboard 2>/dev/null)"
end=$((SECONDS + 20))  # the message box gone, the dialog alone again
while [ "$(xdotool search --onlyvisible --name 'フォルダの変更と記録ファイルの選択' 2>/dev/null | wc -l)" -gt 1 ] &&
  ((SECONDS < end)); do sleep 0.2; done
keys "$files" shift+Tab Down Return
wait_gone 'フォルダの変更と記録ファイルの選択' 20 || fail "record dialog: 開く did not open the file chosen"
end=$((SECONDS + 30))
while [ ! -s "$work/records/two.hok" ] && ((SECONDS < end)); do sleep 0.2; done
[ -s "$work/records/two.hok" ] || fail "record dialog: the file chosen was not loaded"

echo "== お祝いの設定: the font button opens the program's font dialog, and OK saves at once"
# Qt's font dialog crashed here on Wine's Japanese fonts, losing every setting changed.
rm -f "$folder/hoko32.ini"
keys "$main" ctrl+o
wait_window '^お祝いのカスタマイズ$' 30 || fail "celebration settings: the dialog did not open"
settings_dialog=$window
keys "$settings_dialog" Tab Tab Tab Tab space  # edSound, 参照, テスト, the message, Font
wait_window '^フォント$' 30 || fail "celebration settings: no font dialog (the viewer is $(kill -0 "$viewer_pid" 2>/dev/null && echo running || echo gone))"
keys "$window" Escape
wait_gone '^フォント$' 20 || fail "celebration settings: the font dialog did not close"
kill -0 "$viewer_pid" 2>/dev/null || fail "celebration settings: the viewer ended in the font dialog"
keys "$settings_dialog" Return
wait_gone '^お祝いのカスタマイズ$' 20 || fail "celebration settings: OK did not close the dialog"
wait_setting 30 "$folder" Option OiwaiMessage || fail "celebration settings: OK did not save the settings before the close"
close_with_ctrl_x "$main" "record dialog"
[ "$(setting "$folder" File RecFile)" = "two.ｷﾛｸ" ] ||
  fail "record dialog: the file opened is '$(setting "$folder" File RecFile)', not two.ｷﾛｸ"

echo "== a record of today is celebrated; no sound device is said once and the viewer goes on"
program_folder celebration
"$sample" --seed 20210401 --runs 600 --start 2024-01-01 --newest "$(date +%Y-%m-%d)" --final-record "$work/today.ｷﾛｸ"
start_viewer -- "$work/today.ｷﾛｸ"
wait_window "$message_box" 90 || fail "celebration: no message about the fanfare"
box=$window
# A message box gives its text to the clipboard on Ctrl+C.
end=$((SECONDS + 20))
while ((SECONDS < end)); do
  printf '' | xclip -selection clipboard
  keys "$box" ctrl+c
  sleep 0.5
  xclip -o -selection clipboard 2>/dev/null | grep -q 'サウンドを再生できる装置がありません' && break
done
xclip -o -selection clipboard 2>/dev/null | grep -q 'サウンドを再生できる装置がありません' ||
  fail "celebration: the message is not the one for a missing sound device: $(xclip -o -selection clipboard 2>/dev/null)"
keys "$box" Return
wait_window "$main_window" 30 || fail "celebration: the main window never appeared after the message"
main=$window
# The banner closes by itself and notes the picture it showed.
wait_setting 40 "$folder" Option OiwaiBmpPattern || fail "celebration: no banner was shown"
# A reload celebrates again; the missing device is not told twice.
keys "$main" ctrl+q
end=$((SECONDS + 15))
while ((SECONDS < end)); do
  xdotool search --onlyvisible --name "$message_box" >/dev/null 2>&1 &&
    fail "celebration: the missing sound device was told again at the reload"
  sleep 0.3
done
wait_window "$main_window" 10 || fail "celebration: no main window after the reload"
rm -f "$folder/hoko32.ini"
close_with_ctrl_x "$main" "celebration"
wait_setting 10 "$folder" Form Width || fail "celebration: Ctrl+X wrote no settings file"
[ "$(setting "$folder" File RecFile)" = "today.ｷﾛｸ" ] || fail "celebration: the settings file does not name the record file"

echo "windows desktop checks passed"
