#!/usr/bin/env bash
# The Windows viewer (hoko32.exe as it is packaged) under Wine, given Windows
# paths as a typist's Windows gives them:
# - a record file named on the command line as "C:\...\練習.ｷﾛｸ" (a double-click,
#   a shortcut) while the working folder is another one: the file loads, and
#   Ctrl+X stores its folder with backslashes ([File] Path=, the FileSize key);
# - a settings file written with backslashes, as an earlier program of this
#   kind wrote it (Path= and the FileSize key): started with no argument, as
#   from the Start menu, the viewer loads the file from its compressed data
#   file without asking for a file and without rebuilding the data file.
#
#   wine-path-checks.sh WINDOWS_FOLDER HOKO32_SAMPLE HOKO32_REPORT
#
# WINDOWS_FOLDER is the folder scripts/windows-stage puts together;
# HOKO32_SAMPLE and HOKO32_REPORT are the Linux build's programs, which write
# the record file and tell what the panes must show. WINEPREFIX names the Wine
# prefix to use (made when it is missing); the record files go to its drive C:.
set -euo pipefail

windows_folder=$(cd "$1" && pwd)
set -- "$windows_folder/hoko32.exe" "$2" "$windows_folder/ﾌｧﾝﾌｧｰﾚ.mid" "$3"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine-lib.sh"

# The typist's folder on drive C:, as Windows names it and as this script reaches it.
records_name=hoko32-path-checks-$$
records=$WINEPREFIX/drive_c/$records_name/記録
windows_records="C:\\$records_name\\記録"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX/drive_c/$records_name"; cleanup' EXIT
mkdir -p "$records"

# Runs $folder/hoko32.exe in another working folder than the record file's.
start_viewer() {  # ARGS...
  mkdir -p "$work/elsewhere"
  (cd "$work/elsewhere" && exec wine "$folder/hoko32.exe" "$@" >"$work/viewer.out" 2>"$work/viewer.err") &
  viewer_pid=$!
}

# The settings file's lines as text (Shift-JIS, or UTF-8 after a byte-order mark), LF-ended.
settings_text() {  # FOLDER
  local encoding=CP932
  [ "$(head -c 3 "$1/hoko32.ini" | od -An -tx1 | tr -d ' ')" = efbbbf ] && encoding=UTF-8
  iconv -f "$encoding" -t UTF-8 "$1/hoko32.ini" | tr -d '\r'
}

"$sample" --seed 28 --runs 300 "$records/練習.ｷﾛｸ"
record_size=$(stat -c %s "$records/練習.ｷﾛｸ")
# What the history pane must show, from the report tool on a copy elsewhere.
mkdir -p "$work/expected"
cp "$records/練習.ｷﾛｸ" "$work/expected/練習.ｷﾛｸ"
"$report" --settings "$work/expected/report.ini" --mode R --copy --view history "$work/expected/練習.ｷﾛｸ" \
  >"$work/history.expected"
grep -q 'ローマ字の足跡' "$work/history.expected" || fail "the report tool wrote no history"

echo "== a record file given as C:\\...\\練習.ｷﾛｸ from another working folder loads and keeps its folder"
program_folder argument
start_viewer "$windows_records\\練習.ｷﾛｸ" R
wait_window "$main_window" 90 || fail "argument: no main window (a message or the file dialog in its place?)"
main=$window
pane_shows "$main" "$work/history.expected" ||
  fail "argument: the history pane does not show the record file given (was it asked for?)"
[ -s "$records/練習.hok" ] || fail "argument: no data file beside the record file"
close_with_ctrl_x "$main" "argument"
[ "$(setting "$folder" File Path)" = "$windows_records\\" ] ||
  fail "argument: [File] Path= is '$(setting "$folder" File Path)', not '$windows_records\\'"
[ "$(setting "$folder" File RecFile)" = "練習.ｷﾛｸ" ] ||
  fail "argument: [File] RecFile= is '$(setting "$folder" File RecFile)'"
settings_text "$folder" | grep -Fqx "$windows_records\\練習.ｷﾛｸ=$record_size" ||
  fail "argument: no FileSize key '$windows_records\\練習.ｷﾛｸ=$record_size': $(settings_text "$folder" | grep -A3 FileSize)"
! settings_text "$folder" | grep -q "C:/" || fail "argument: a path with '/' in the settings file: $(settings_text "$folder")"

echo "== a settings file written with backslashes loads the record file from its data file"
program_folder settings
printf '[File]\r\nPath=%s\\\r\nRecFile=練習.ｷﾛｸ\r\n[FileSize]\r\n%s\\練習.ｷﾛｸ=%s\r\n' \
  "$windows_records" "$windows_records" "$record_size" | iconv -f UTF-8 -t CP932 >"$folder/hoko32.ini"
# The data file as the report tool made it (the same bytes the Windows build
# writes), dated back: a load that rebuilds it gives it a time of today.
cp "$work/expected/練習.hok" "$records/練習.hok"
touch -d '2020-01-01 00:00:00' "$records/練習.hok"
data_file_was=$(stat -c '%i %Y %s' "$records/練習.hok")
start_viewer
wait_window "$main_window" 90 || fail "settings: no main window (a message or the file dialog in its place?)"
main=$window
pane_shows "$main" "$work/history.expected" ||
  fail "settings: the history pane does not show the record file the settings name (was it asked for?)"
[ "$(stat -c '%i %Y %s' "$records/練習.hok")" = "$data_file_was" ] ||
  fail "settings: the data file was rebuilt: the FileSize key written with backslashes was not found"
close_with_ctrl_x "$main" "settings"
[ "$(setting "$folder" File Path)" = "$windows_records\\" ] ||
  fail "settings: [File] Path= is '$(setting "$folder" File Path)' after Ctrl+X"
[ "$(settings_text "$folder" | grep -c '練習.ｷﾛｸ=')" = 1 ] &&
  settings_text "$folder" | grep -Fqx "$windows_records\\練習.ｷﾛｸ=$record_size" ||
  fail "settings: the FileSize key is not kept as written: $(settings_text "$folder" | grep -A3 FileSize)"

echo "windows path checks passed"
