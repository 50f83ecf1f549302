#!/usr/bin/env bash
# A Linux and a Windows load of one record file at once (a shared folder, a Wine
# user): hoko32-report and hoko32-report.exe under Wine load a typist of 100,000
# runs side by side, with runs appended between the loads, ten times over. The
# two builds' locks on the data file must keep each other out (Wine makes the
# Windows build's LockFileEx a POSIX record lock, which the Linux build's lock
# must see), so that whenever both have ended the data file holds one entry per
# line of the record file (those of a full load of it, up to some line) and
# never more; a load alone afterwards completes it.
#
#   wine-lock-checks.sh WIN_BUILD LINUX_REPORT LINUX_SAMPLE
# WIN_BUILD holds app/hoko32-report.exe (its DLLs beside it) and wine-run.
set -euo pipefail
win_build=$(cd "$1" && pwd)
linux_report=$(realpath "$2")
linux_sample=$(realpath "$3")
win_report=$win_build/app/hoko32-report.exe
trials=${HOKO32_LOCK_TRIALS:-10}

fail() {
  echo "wine-lock-checks: FAILED: $*" >&2
  exit 1
}
[ -f "$win_report" ] || fail "$win_report is missing"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# 100,000 runs, and 30,000 more that the typist appends at once (a few days
# of another machine's runs, copied in), so that the loads that add them take
# their time.
"$linux_sample" --seed 7 --runs 130000 "$tmp/all.ｷﾛｸ" >/dev/null || fail "hoko32-sample"
base=$tmp/typist.ｷﾛｸ
head -c $((100000 * 46)) "$tmp/all.ｷﾛｸ" >"$base"
tail -c +$((100000 * 46 + 1)) "$tmp/all.ｷﾛｸ" >"$tmp/more.ｷﾛｸ"

linux_load() { (cd "$1" && "$linux_report" --settings settings.ini --view best typist.ｷﾛｸ >/dev/null 2>>linux.err); }
windows_load() {
  (cd "$1" && "$win_build/wine-run" "$win_report" --settings settings.ini --view best typist.ｷﾛｸ >/dev/null 2>>windows.err)
}
# Runs of today, each another time and hit count, so that no two lines read alike.
appended=0
append_runs() {  # FOLDER COUNT
  local i
  for ((i = 0; i < $2; i++)); do
    appended=$((appended + 1))
    printf 'R %s  %02d:%02d:%02d  HIT =%4d  MISS=%4d\r\n' "$(date +%Y/%m/%d)" $((appended / 3600 % 24)) \
      $((appended / 60 % 60)) $((appended % 60)) $((100 + appended % 400)) $((appended % 30)) >>"$1/typist.ｷﾛｸ"
  done
}
lines() { echo $(($(stat -c %s "$1/typist.ｷﾛｸ") / 46)); }
entries() { echo $(($(stat -c %s "$1/typist.hok") / 10)); }

# The data file must be the start of what a full load of the record file writes.
check_data_file() {  # FOLDER WHEN
  local folder=$1 fresh=$tmp/fresh
  rm -rf "$fresh"
  mkdir -p "$fresh"
  cp "$folder/typist.ｷﾛｸ" "$fresh/"
  linux_load "$fresh" || fail "a full load of the record file"
  local have want
  have=$(entries "$folder")
  want=$(entries "$fresh")
  [ "$have" -le "$want" ] || fail "$2: $have entries in the data file for $(lines "$folder") lines ($want kept)"
  cmp -s -n "$(stat -c %s "$folder/typist.hok")" "$folder/typist.hok" "$fresh/typist.hok" ||
    fail "$2: the data file is not that of the record file ($have entries for $(lines "$folder") lines)"
}

# The Windows build waits for the lock the Linux build takes (an open-file-
# description record lock over the whole data file; F_OFD_SETLKW is 38):
# while it is held, a Windows load leaves the data file alone.
held=$tmp/held
mkdir -p "$held"
cp "$base" "$held/"
linux_load "$held" || fail "hoko32-report failed: $(cat "$held/linux.err")"
windows_load "$held" || fail "hoko32-report.exe failed: $(cat "$held/windows.err")"
append_runs "$held" 10
DATA=$held/typist.hok LOCKED=$held/locked RELEASE=$held/release perl -MFcntl -e '
  open(my $f, "+<", $ENV{DATA}) or die "$ENV{DATA}: $!";
  fcntl($f, 38, pack("s s x4 q q l x4", F_WRLCK, SEEK_SET, 0, 0, 0)) or die "lock: $!";
  open(my $t, ">", $ENV{LOCKED}) or die; close $t;
  select(undef, undef, undef, 0.1) until -e $ENV{RELEASE};' &
holder=$!
for ((i = 0; i < 100; i++)); do
  [ -e "$held/locked" ] && break
  sleep 0.1
done
[ -e "$held/locked" ] || fail "the lock holder did not start"
windows_load "$held" || fail "hoko32-report.exe failed while the lock was held: $(cat "$held/windows.err")"
touch "$held/release"
wait "$holder"
[ "$(entries "$held")" -eq 100000 ] ||
  fail "a Windows load wrote the data file while the Linux build held its lock ($(entries "$held") entries)"
windows_load "$held" || fail "hoko32-report.exe failed"
[ "$(entries "$held")" -eq "$(lines "$held")" ] || fail "after the lock: $(entries "$held") entries for $(lines "$held") lines"
echo "a Windows load left the data file alone while the Linux build's lock was held"

for ((trial = 1; trial <= trials; trial++)); do
  work=$tmp/trial-$trial
  mkdir -p "$work"
  cp "$base" "$work/"
  # Each build loads once alone: both stored sizes (each build keys the record
  # file by its own spelling of the path) now say that the data file is complete.
  linux_load "$work" || fail "trial $trial: hoko32-report failed: $(cat "$work/linux.err")"
  windows_load "$work" || fail "trial $trial: hoko32-report.exe failed: $(cat "$work/windows.err")"
  [ "$(entries "$work")" -eq "$(lines "$work")" ] || fail "trial $trial: the loads alone left $(entries "$work") entries"
  # Then the Windows build adds the runs appended since while Linux loads
  # follow one another, with runs appended before each, until it has ended.
  # Wine takes a moment to come up, so the Linux loads run all the while.
  cat "$tmp/more.ｷﾛｸ" >>"$work/typist.ｷﾛｸ"
  windows_load "$work" &
  windows=$!
  rounds=0
  while kill -0 "$windows" 2>/dev/null || ((rounds == 0)); do
    append_runs "$work" 2
    linux_load "$work" || fail "trial $trial: hoko32-report failed: $(cat "$work/linux.err")"
    rounds=$((rounds + 1))
  done
  wait "$windows" || fail "trial $trial: hoko32-report.exe failed: $(cat "$work/windows.err")"
  check_data_file "$work" "trial $trial, after $rounds Linux loads beside a Windows load"
  # Alone, each completes the data file: one entry per line.
  append_runs "$work" 1
  windows_load "$work" || fail "trial $trial: hoko32-report.exe failed"
  linux_load "$work" || fail "trial $trial: hoko32-report failed"
  [ "$(entries "$work")" -eq "$(lines "$work")" ] ||
    fail "trial $trial: $(entries "$work") entries in the data file for $(lines "$work") lines"
  check_data_file "$work" "trial $trial, at the end"
  echo "trial $trial: $(lines "$work") lines, $(entries "$work") entries ($rounds Linux loads beside the Windows load)"
  rm -rf "$work"
done
echo "wine-lock-checks: a Linux and a Windows load at once kept one entry per line in $trials trials"
