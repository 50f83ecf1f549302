#!/usr/bin/env bash
# Dialogs of the real viewer on a real X server, driven with keys and clicks.
#
#   dialog-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

source "$(dirname "$0")/lib.sh"

echo "== お祝いの設定: the font dialog opens on the banner's font; OK without a change keeps its name"
"$sample" --seed 3 --runs 200 "$work/typist.ｷﾛｸ"
program_folder celebration-font
start_viewer -- "$work/typist.ｷﾛｸ"
wait_window "$main_window" 30 || fail "celebration font: no main window"
main=$window
keys "$main" ctrl+o
wait_window '^お祝いのカスタマイズ$' 20 || fail "celebration font: the settings dialog did not open"
settings_dialog=$window
xdotool mousemove --window "$settings_dialog" 279 106 click 1  # the Font button
wait_window '^フォント$' 20 || fail "celebration font: the font dialog did not open"
keys "$window" Return
wait_gone '^フォント$' 10 || fail "celebration font: OK did not close the font dialog"
keys "$settings_dialog" Return
wait_gone '^お祝いのカスタマイズ$' 10 || fail "celebration font: OK did not close the settings dialog"
close_with_ctrl_x "$main" "celebration font"
[ "$(setting "$folder" Option OiwaiFontName)" = "ＭＳ ゴシック" ] ||
  fail "celebration font: OK unchanged changed the font to '$(setting "$folder" Option OiwaiFontName)'"

echo "dialog checks passed"
