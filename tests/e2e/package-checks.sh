#!/usr/bin/env bash
# The Debian package as a user installs it: built from the build folder by
# scripts/package, unpacked into a temporary root (dpkg -x), then its file
# list, desktop entry, AppStream metadata, manual pages, bash completion and
# installed report tool checked, and lintian run on it (no error, no warning).
#
#   package-checks.sh SOURCE_FOLDER BUILD_FOLDER
set -euo pipefail

source=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

deb=$("$source/scripts/package" "$build" 2>/dev/null | tail -n 1)
[ -f "$deb" ] || fail "scripts/package made no package"
case $(basename "$deb") in hoko32_*_*.deb) ;; *) fail "the package is named $(basename "$deb")" ;; esac
root=$work/root
dpkg-deb -x "$deb" "$root"

echo "== the files"
for file in usr/lib/hoko32/hoko32 usr/lib/hoko32/hoko32-report usr/lib/hoko32/help/hoko32.qhp \
  usr/lib/hoko32/help/index.html usr/lib/hoko32/help/style.css \
  "usr/lib/hoko32/ﾌｧﾝﾌｧｰﾚ.mid" usr/lib/hoko32/Oiwai1.BMP usr/lib/hoko32/Oiwai5.BMP \
  usr/share/applications/hoko32.desktop usr/share/metainfo/org.hoko32.hoko32.metainfo.xml \
  usr/share/man/man1/hoko32.1.gz usr/share/man/man1/hoko32-report.1.gz \
  usr/share/bash-completion/completions/hoko32-report usr/share/doc/hoko32/copyright \
  usr/share/doc/hoko32/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package has no $file"
done
# Every page the installed help project names is installed beside it.
for page in $(grep -o '\(ref="\|<file>\)[^"#<]*' "$root/usr/lib/hoko32/help/hoko32.qhp" | sed 's/^ref="//; s/^<file>//' | sort -u); do
  [ -f "$root/usr/lib/hoko32/help/$page" ] || fail "the package has no help page $page"
done
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/hoko32.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "the ${size}x${size} icon is $(file -b "$icon")"
done
for program in hoko32 hoko32-report; do
  [ "$(readlink "$root/usr/bin/$program")" = "../lib/hoko32/$program" ] || fail "/usr/bin/$program is no link to the program"
done
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || fail "the package does not depend on the Japanese font"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the binaries' libraries are not among the dependencies"
! dpkg-deb -f "$deb" Depends | grep -q 'libqt6help6\|sqlite' || fail "the package still depends on Qt's help or SQLite"

echo "== the desktop entry and the AppStream metadata"
desktop-file-validate "$root/usr/share/applications/hoko32.desktop" || fail "the desktop entry does not validate"
grep -q '^Exec=hoko32 %f$' "$root/usr/share/applications/hoko32.desktop" || fail "the desktop entry does not start hoko32"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.hoko32.hoko32.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "the AppStream metadata does not validate"; }

echo "== the installed report tool and its manual page"
"$root/usr/lib/hoko32/hoko32-report" --version | grep -q '^hoko32-report [0-9]' || fail "the installed hoko32-report does not run"
for page in hoko32 hoko32-report; do
  MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >"$work/$page.txt" 2>"$work/$page.err" ||
    fail "man -l $page failed"
  [ ! -s "$work/$page.err" ] || { cat "$work/$page.err"; fail "man warns about the page of $page"; }
  grep -q '^NAME' "$work/$page.txt" || fail "the page of $page has no NAME"
done
# The options of --help and of the manual page are the same, and bash completes them all.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
"$root/usr/lib/hoko32/hoko32-report" --help | options >"$work/help-options"
sed -n '/^OPTIONS/,/^EXIT STATUS/p' "$work/hoko32-report.txt" | sed 's/‐/-/g' | options >"$work/man-options"
diff "$work/help-options" "$work/man-options" >&2 || fail "hoko32-report --help and its manual page list different options"
# shellcheck disable=SC1090
source "$root/usr/share/bash-completion/completions/hoko32-report"
COMP_WORDS=(hoko32-report --)
COMP_CWORD=1
_hoko32_report
printf '%s\n' "${COMPREPLY[@]}" | sort -u >"$work/completed"
grep -v -- '^-h$' "$work/help-options" | diff - "$work/completed" >&2 || fail "bash completes other options than --help lists"
COMP_WORDS=(hoko32-report --view c)
COMP_CWORD=2
_hoko32_report
[ "${COMPREPLY[*]}" = calendar ] || fail "bash completes --view c to '${COMPREPLY[*]}'"

echo "== lintian"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
grep -v 'root privileges' "$work/lintian.log" || true
echo "package checks passed: $(basename "$deb")"
