#!/usr/bin/env bash
# What the checks of the Windows viewer under Wine share, sourced after lib.sh:
# the Wine prefix (made when it is missing, with no sound driver, as on a
# machine without a sound card), its server ended with the check, the program
# folder of one check, the retries of Ctrl+X, and a pane compared with the
# report tool's text. WINEPREFIX names the prefix; $windows_folder is the
# folder scripts/windows-stage puts together.

[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
wineserver=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)
# The prefix's server and desktop belong to this check's X server alone.
"$wineserver" -k 2>/dev/null || true
trap '"$wineserver" -k 2>/dev/null || true; cleanup' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot -i could not make $WINEPREFIX"
fi
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f </dev/null >/dev/null 2>&1 ||
  fail "the sound driver could not be switched off"

# The program folder of one check: the Windows folder, linked file by file.
program_folder() {
  folder=$work/$1
  cp -al "$windows_folder" "$folder"
}

# Wine without a window manager can drop a key: Ctrl+X is sent again while the program runs on.
ctrl_x_tries=3

# A pane as the clipboard gets it after すべてｺﾋﾟｰ, compared with the report tool's
# text; waits while the viewer is still busy.
pane_shows() {  # WINDOW EXPECTED_FILE
  local end=$((SECONDS + 30))
  while ((SECONDS < end)); do
    printf '' | xclip -selection clipboard
    keys "$1" ctrl+w
    sleep 0.5
    { xclip -o -selection clipboard 2>/dev/null | tr -d '\r' && echo; } >"$work/pane" || true
    cmp -s "$work/pane" "$2" && return 0
  done
  diff "$work/pane" "$2" >&2 || true
  return 1
}
