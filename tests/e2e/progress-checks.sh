#!/usr/bin/env bash
# The progress chart and an era on the real viewer: keys through xdotool, the
# settings file read back after the windows closed.
#
#   progress-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

echo "== an era kept in the settings file names itself in the title; Ctrl+P opens the progress chart"
"$sample" --seed 5 --runs 800 --start 2023-06-01 --newest 2024-09-30 "$work/typist.ｷﾛｸ"
program_folder era
printf '[Option]\r\nEraFrom=2024/03/01\r\n' >"$folder/hoko32.ini"
start_viewer -- "$work/typist.ｷﾛｸ"
wait_window '^ＴＡＰＰＥＲの足跡32 \(2024/03/01 以降\)$' 30 || fail "era: the title does not name the era"
main=$window
keys "$main" ctrl+p
wait_window '^進歩グラフ$' 20 || fail "progress: Ctrl+P did not open the progress chart"
keys "$window" Escape
wait_gone '^進歩グラフ$' 10 || fail "progress: Escape did not close the progress chart"
wait_setting 10 "$folder" Progress Width || fail "progress: its size was not kept when it closed"
close_with_ctrl_x "$main" "progress"
[ "$(setting "$folder" Option EraFrom)" = "2024/03/01" ] ||
  fail "era: the settings file lost the era ('$(setting "$folder" Option EraFrom)')"

echo "progress checks passed"
