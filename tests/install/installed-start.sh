#!/usr/bin/env bash
# Starts an installed Orvale as a user would: `orvale-cli --version`, then `orvale` on the
# offscreen platform with a fresh home for a few seconds. The program must still be running
# (it waits at the login) and must have filled the user's program directory from the
# installed data. The menu entry and the icon must be where the desktop looks.
#   installed-start.sh PREFIX      (the installed tree: PREFIX/bin/orvale, PREFIX/share/...)
set -euo pipefail
prefix=$1

fail() {
  echo "installed-start: $*" >&2
  exit 1
}

for program in orvale orvale-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$prefix/bin/$program is missing"
done
[ -f "$prefix/share/applications/orvale.desktop" ] || fail "no menu entry"
[ -f "$prefix/share/icons/hicolor/scalable/apps/orvale.svg" ] || fail "no icon"

version=$("$prefix/bin/orvale-cli" --version) || fail "orvale-cli --version failed"
[ "$version" = "orvale-cli 1.0" ] || fail "orvale-cli --version said: $version"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
status=0
env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
  timeout 4 "$prefix/bin/orvale" >"$home/out" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
  cat "$home/out" >&2
  fail "orvale ended by itself with status $status instead of waiting at the login"
fi
programDir=$home/.local/share/orvale
for file in PromptH.PRM PromptS.PRM AStoPC.xlt PCtoAS.xlt Help/Orvale.hlp; do
  [ -f "$programDir/$file" ] || fail "the first start did not put $file into $programDir"
done
echo "installed-start: $version; orvale started and filled $programDir"
