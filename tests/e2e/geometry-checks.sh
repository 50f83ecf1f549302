#!/usr/bin/env bash
# Windows whose stored place and size came from a larger screen open inside a
# small one (1024x768): the main window, the practice calendar, the progress
# chart and the 3D chart, each read back from the X server with xdotool.
#
#   geometry-checks.sh HOKO32 HOKO32_SAMPLE FANFARE_MID [HOKO32_REPORT]
set -euo pipefail

screen_size=1024x768
source "$(dirname "$0")/lib.sh"
screen_width=${screen_size%x*}
screen_height=${screen_size#*x}

# Fails unless the window lies inside the screen; with a size expected, also
# unless it has that size.
inside_screen() {  # WINDOW WHAT [WIDTHxHEIGHT]
  local geometry x y w h
  geometry=$(xdotool getwindowgeometry "$1") || fail "$2: no geometry"
  read -r x y < <(echo "$geometry" | awk '/Position/ { split($2, at, ","); print at[1], at[2] }')
  read -r w h < <(echo "$geometry" | awk '/Geometry/ { split($2, size, "x"); print size[1], size[2] }')
  echo "   $2: ${w}x${h} at $x,$y"
  ((x >= 0 && y >= 0 && x + w <= screen_width && y + h <= screen_height)) ||
    fail "$2: ${w}x${h} at $x,$y is not inside the ${screen_size} screen"
  [ $# -lt 3 ] || [ "${w}x${h}" = "$3" ] || fail "$2: ${w}x${h}, not the stored $3"
}

"$sample" --seed 3 --runs 400 --start 2023-06-01 --newest 2024-09-30 "$work/typist.ｷﾛｸ"
program_folder small
# Places from a 1920x1200 screen: every window at least partly off this one;
# the calendar taller than this screen.
printf '%s\r\n' '[Form]' 'Width=900' 'Height=600' 'Left=500' 'Top=400' \
  '[Calendar]' 'Left=700' 'Top=534' 'Width=700' 'Height=1000' \
  '[Progress]' 'Left=500' 'Top=600' 'Width=800' 'Height=500' \
  '[ChartForm]' 'Left=1500' 'Top=900' 'Width=600' 'Height=400' >"$folder/hoko32.ini"

echo "== the main window keeps its stored size and comes inside the screen"
start_viewer -- "$work/typist.ｷﾛｸ" R
wait_window "$main_window" 30 || fail "main: the window did not open"
main=$window
inside_screen "$main" main 900x600

echo "== the calendar, taller than the screen, is shrunk to it and comes inside"
keys "$main" ctrl+y
wait_window '^練習カレンダー$' 20 || fail "calendar: Ctrl+Y opened no calendar window"
inside_screen "$window" calendar
keys "$window" Escape
wait_gone '^練習カレンダー$' 10 || fail "calendar: Escape did not close it"

echo "== the progress chart keeps its size and comes inside"
keys "$main" ctrl+p
wait_window '^進歩グラフ$' 20 || fail "progress: Ctrl+P did not open the progress chart"
inside_screen "$window" progress 800x500
keys "$window" Escape
wait_gone '^進歩グラフ$' 10 || fail "progress: Escape did not close it"

echo "== the 3D chart keeps its size and comes inside"
keys "$main" ctrl+g
wait_window '^TAPPERの足跡32$' 20 || fail "3D chart: Ctrl+G opened no chart window"
inside_screen "$window" "3D chart" 600x400
keys "$window" Escape
wait_gone '^TAPPERの足跡32$' 10 || fail "3D chart: Escape did not close it"

close_with_ctrl_x "$main" "geometry"
echo "geometry checks passed"
