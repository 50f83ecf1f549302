#!/usr/bin/env bash
# ﾌｧｲﾙ → エクスポート... in the real viewer on a real X server, through Qt's
# own save dialog and message boxes: the names the save dialog suggests, and
# the typist's record file, which no export replaces, under its own name or
# through a link, even once Qt's overwrite question has been answered yes.
#
#   export-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

records=$work/records
mkdir -p "$records"
"$sample" --seed 11 --runs 400 "$records/typist.rec"
ln -s "$records/typist.rec" "$records/link.rec"

program_folder export
start_viewer -- "$records/typist.rec"
wait_window "$main_window" 30 || fail "no main window"
main=$window
wait_for_file() {  # FILE SECONDS: waits for FILE to exist with some bytes in it
  local end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    [ -s "$1" ] && return 0
    sleep 0.2
  done
  return 1
}
cp "$records/typist.rec" "$work/record-before"
wait_for_file "$records/typist.hok" 20 || fail "the viewer kept no data file"
cp "$records/typist.hok" "$work/data-before"

# ﾌｧｲﾙ → エクスポート... (the fifth item), then KEYS... in the export dialog
# and 次へ...; leaves Qt's save dialog in $save_dialog. A menu that opened
# too late for its keys is closed and opened again.
open_save_dialog() {  # NAME KEYS...
  local name=$1 attempt
  shift
  for attempt in 1 2 3 4 5; do
    keys "$main" alt+f
    sleep 0.5
    xdotool key --clearmodifiers Down Down Down Down Return
    wait_window '^エクスポート$' 5 && break
    xdotool key --clearmodifiers Escape Escape
  done
  xdotool search --onlyvisible --name '^エクスポート$' >/dev/null 2>&1 || fail "$name: the export dialog did not open"
  local export_dialog=$window
  keys "$export_dialog" "$@" Return
  save_dialog=
  local end=$((SECONDS + 20))
  while ((SECONDS < end)); do  # the save dialog has the same title
    save_dialog=$(xdotool search --onlyvisible --name '^エクスポート$' 2>/dev/null | tail -n 1) || true
    [ -n "$save_dialog" ] && [ "$save_dialog" != "$export_dialog" ] && return 0
    sleep 0.2
  done
  fail "$name: no save dialog"
}

echo "== the save dialog suggests the record file's name and what is saved, in the tab's words"
open_save_dialog "the view's name"
keys "$save_dialog" Return
wait_for_file "$records/typist_ベストの足跡.csv" 20 ||
  fail "the view's name: nothing saved as typist_ベストの足跡.csv ($(ls "$records" | tr '\n' ' '))"
head -n 1 "$records/typist_ベストの足跡.csv" | grep -q 'date,time,hits,misses,runs' ||
  fail "the view's name: typist_ベストの足跡.csv is not the history's data"
open_save_dialog "every run's name" Down  # 記録ファイルのすべての練習
keys "$save_dialog" Return
wait_for_file "$records/typist_全記録.csv" 20 || fail "every run's name: nothing saved as typist_全記録.csv"
[ "$(sed -n 2p "$records/typist_全記録.csv" | tr -d '\r' | tr ',' '\n' | wc -l)" -eq 6 ] ||
  fail "every run's name: typist_全記録.csv is not the runs"

# Saves onto TARGET, answers Qt's overwrite question yes, and expects the one
# message box that refuses it; the record file and its data file stay as they were.
refused() {  # NAME TARGET
  local name=$1 target=$2
  open_save_dialog "$name"
  xdotool windowfocus --sync "$save_dialog" key --clearmodifiers ctrl+a
  xdotool type --delay 20 "$target"
  keys "$save_dialog" Return
  local end=$((SECONDS + 20)) question=
  while ((SECONDS < end)); do  # Qt's question has the dialog's title too
    question=$(xdotool search --onlyvisible --name '^エクスポート$' 2>/dev/null | grep -vx "$save_dialog" | tail -n 1) ||
      true
    [ -n "$question" ] && break
    sleep 0.2
  done
  [ -n "$question" ] || fail "$name: Qt did not ask before replacing $target"
  keys "$question" y  # はい(&Y)
  wait_window "$message_box" 20 || fail "$name: no message box said why nothing was saved"
  [ "$(xdotool search --onlyvisible --name "$message_box" | wc -l)" -eq 1 ] || fail "$name: more than one message box"
  keys "$window" Return
  wait_gone "$message_box" 10 || fail "$name: a second message box followed the first"
  cmp -s "$records/typist.rec" "$work/record-before" || fail "$name: the record file was changed"
  cmp -s "$records/typist.hok" "$work/data-before" || fail "$name: the data file was changed"
}

echo "== an export onto the record file is refused with one message, and the file stays as it was"
refused "the record file" "$records/typist.rec"
echo "== an export onto a link to the record file is refused the same way"
refused "a link to the record file" "$records/link.rec"
[ -L "$records/link.rec" ] || fail "a link to the record file: the link was replaced"

# The main window takes commands again: no box is left open over it.
close_with_ctrl_x "$main" "export"
cmp -s "$records/typist.rec" "$work/record-before" || fail "the record file was changed by the end"

echo "export checks passed"
