#!/usr/bin/env bash
# The progress chart and an era on the real viewer: keys and a click through
# xdotool, Qt's own save dialog, the settings file read back after the windows
# closed.
#
#   progress-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

echo "== an era kept in the settings file names itself in the title; Ctrl+P opens the progress chart, named so too"
"$sample" --seed 5 --runs 800 --start 2023-06-01 --newest 2024-09-30 "$work/typist.ｷﾛｸ"
program_folder era
printf '[Option]\r\nEraFrom=2024/03/01\r\n' >"$folder/hoko32.ini"
start_viewer -- "$work/typist.ｷﾛｸ"
wait_window '^ＴＡＰＰＥＲの足跡32 \(2024/03/01 以降\)$' 30 || fail "era: the title does not name the era"
main=$window
keys "$main" ctrl+p
wait_window '^進歩グラフ \(2024/03/01 以降\)$' 20 || fail "progress: Ctrl+P did not open the progress chart named by the era"
progress=$window

echo "== 画像として保存... writes the chart as a PNG through Qt's own save dialog, titled by what it shows"
width=$(xdotool getwindowgeometry "$progress" | awk '/Geometry/ { split($2, size, "x"); print size[1] }')
xdotool mousemove --window "$progress" $((width - 50)) 20 click 1  # the button at the top right
wait_window '^画像として保存$' 20 || fail "progress: the save dialog did not open"
keys "$window" ctrl+a
xdotool type --delay 20 "$work/chart.png"
keys "$window" Return
wait_gone '^画像として保存$' 10 || fail "progress: the save dialog stayed open"
for _ in $(seq 50); do [ -s "$work/chart.png" ] && break; sleep 0.2; done
[ "$(head -c 8 "$work/chart.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "progress: no PNG was written"
grep -aq "ローマ字 ・ 全期間 ・ 2024/03/01 以降 ・ typist.ｷﾛｸ" "$work/chart.png" ||
  fail "progress: the PNG does not carry its title"
keys "$progress" Escape
wait_gone '^進歩グラフ \(2024/03/01 以降\)$' 10 || fail "progress: Escape did not close the progress chart"
wait_setting 10 "$folder" Progress Width || fail "progress: its size was not kept when it closed"
close_with_ctrl_x "$main" "progress"
[ "$(setting "$folder" Option EraFrom)" = "2024/03/01" ] ||
  fail "era: the settings file lost the era ('$(setting "$folder" Option EraFrom)')"

echo "progress checks passed"
