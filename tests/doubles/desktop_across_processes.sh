#!/bin/sh
# What one process applies on the stand-in desktop, the next one sees; presets made by doubles.sh
# reach the server; the log keeps every process's calls in order.
# Usage: desktop_across_processes.sh BUILD_DIR DOUBLES_SH
set -u
# A folder of its own: other tests may use the stand-in at the same time.
export ZARVANE_DOUBLES_DIR='C:\zarvane-doubles-selftest'
build=$1 doubles="sh $2 --build $1"
probe() { "$build/wine-run.sh" "$build/bin/desktop_probe.exe" "$@" | tr -d '\r'; }
fail() { echo "FAILED: $*"; $doubles log desktop; exit 1; }

$doubles reset
$doubles preset-wallpaper 'C:\windows\before.bmp'
[ "$(probe get)" = 'C:\windows\before.bmp' ] || fail "preset wallpaper not seen"
[ "$(probe set 'C:\windows\Web\WallPaper\Clock.htm')" = 'C:\windows\Web\WallPaper\Clock.htm' ] ||
  fail "set wallpaper not seen by its own object"
[ "$(probe get)" = 'C:\windows\Web\WallPaper\Clock.htm' ] || fail "applied wallpaper lost"
$doubles state | grep -qx 'Wallpaper=C:\\windows\\Web\\WallPaper\\Clock.htm' || fail "state file"
[ "$($doubles log desktop | grep -c '^Create$')" = 3 ] || fail "three processes, three objects"
[ "$($doubles log desktop | grep -c '^Release$')" = 3 ] || fail "every object released"
$doubles expect-calls desktop 'GetWallpaper 1024 0 -> "C:\windows\before.bmp"' Release \
  Create 'SetWallpaper "C:\windows\Web\WallPaper\Clock.htm" 0' 'ApplyChanges 7' Release ||
  fail "calls out of order"
$doubles expect-no-call desktop 'SetWallpaper "C:\windows\before.bmp"*' || fail "a set never made"
if $doubles expect-calls desktop 'ApplyChanges 7' 'SetWallpaper*' >/dev/null; then
  fail "expect-calls ignores the order"
fi
$doubles reset
if $doubles expect-no-call desktop 'SetWallpaper*' >/dev/null; then
  fail "expect-no-call passes without a log"
fi
[ "$(probe get)" = '' ] || fail "reset leaves no wallpaper"
$doubles reset
echo "passed"
