#!/bin/bash
# The install half of `make demo`: the demo installer installed quietly into a fresh Wine prefix
# under OUT, what landed where, screenshots of the install dialog with and without licence, and
# the uninstall that puts the previous wallpaper back.
# Usage: demo_install.sh WINDOWS_BUILD ZARVANE_CLI OUT [DEMO_INSTALLER]
# The prefix stands for a machine that has the Shockwave Flash control already (the demo project
# builds without it): the stand-in control is installed there first.
set -u
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi
out=$(mkdir -p "$3" && cd "$3" && pwd)
cli=$2
# What only the demo's steps need goes to OUT/work: the prefixes, the second installer.
work="$out/work"
mkdir -p "$work"
export ZARVANE_WINEPREFIX="$work/wineprefix"
rm -rf "$ZARVANE_WINEPREFIX"
. "$(dirname "$0")/lib.sh" "$1"
WORK="$work"
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
project="$HERE/../../examples/demo"
INSTALL='C:\Program Files\Demo'
say() { printf '\n== %s\n' "$*"; }
# stop WHY: the demo cannot go on; one line says why.
stop() { echo "make demo: $*" >&2; exit 1; }

say "the demo installer, and one of the project without its licence"
if [ -n "${4:-}" ]; then
  echo "$4"
  [ "$4" -ef "$out/Demo Setup.exe" ] || cp "$4" "$out/Demo Setup.exe" || stop "cannot copy $4"
else
  "$cli" build "$project/demo.zvp" -o "$out/Demo Setup.exe" || stop "the demo installer was not built"
fi
rm -rf "$work/no-licence" && cp -r "$project" "$work/no-licence"
sed -i 's/^LicenseFile=.*/LicenseFile=/' "$work/no-licence/demo.zvp"
"$cli" build "$work/no-licence/demo.zvp" -o "$work/Demo Setup (no licence).exe" ||
  stop "the installer without licence was not built"
setup="$out/Demo Setup.exe"
setup_no_licence="$work/Demo Setup (no licence).exe"
if tree_is_64_bit; then
  # What ships stays 32-bit; the same installers with this tree's installer program run here.
  echo "installed and photographed as built with the 64-bit installer program of $BUILD"
  mkdir -p "$work/win64"
  setup="$work/win64/Demo Setup.exe"
  setup_no_licence="$work/win64/Demo Setup (no licence).exe"
  for pair in "$project/demo.zvp|$setup" "$work/no-licence/demo.zvp|$setup_no_licence"; do
    "$cli" build "${pair%%|*}" -o "${pair#*|}" --installer-program "$BIN/zarvane-installer.exe" \
      >/dev/null || stop "${pair#*|} was not built"
  done
fi
ls -l "$out"/*.exe "$work"/*.exe

say "a fresh Wine prefix: $PREFIX"
prepare_prefix >/dev/null || stop "$(wine_cannot_run)"
install_flash_double
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
$DOUBLES register-desktop || stop "the stand-in Active Desktop could not be registered"
cp "$project/background.bmp" "$DRIVE_C/windows/previous.bmp"
$DOUBLES preset-wallpaper 'C:\windows\previous.bmp'
before=$($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')
echo "desktop before: $before"
[ "$before" = 'Wallpaper=C:\windows\previous.bmp' ] || stop "the stand-in desktop did not take the preset wallpaper"

say "screenshots of the install dialog"
# Each picture cut to the dialog, as the authoring tool's pictures are to its windows, with the
# active caption a started installer has on Windows.
for pair in "$setup|licence" "$setup_no_licence|no-licence"; do
  shot="$out/install-dialog-${pair#*|}.png"
  shoot_dialog "${pair%%|*}" "Demo Installation" "$shot" draw-active &&
    convert "$shot" -trim +repage "$shot"
done
check "the install dialog with licence photographed" test -s "$out/install-dialog-licence.png"
check "the install dialog without licence photographed" test -s "$out/install-dialog-no-licence.png"
ls -l "$out"/install-dialog-*.png

say "quiet install: Demo Setup.exe /Q /P \"$INSTALL\""
rc=0
timeout 120 "$RUN" "$(winpath "$setup")" /Q /P "$INSTALL" || rc=$?
echo "exit code $rc"
[ "$rc" = 0 ] || stop "the quiet install did not complete (exit code $rc)"
page="$WALLPAPER_DIR/Demo.htm"
[ -f "$page" ] || stop "the install wrote no page C:\\windows\\Web\\WallPaper\\Demo.htm"
echo "page:             C:\\windows\\Web\\WallPaper\\Demo.htm ($(wc -c <"$page") bytes)"
"$cli" page "$project/demo.zvp" -o "$work/expected-page.htm" || stop "zarvane-cli page failed"
check "the page is byte for byte the one zarvane-cli page predicts" same_file "$page" "$work/expected-page.htm"
echo "wallpaper folder: C:\\windows\\Web\\WallPaper\\Demo\\"
(cd "$WALLPAPER_DIR/Demo" && ls -l | sed 's/^/                  /')
check "the movie is in the wallpaper folder" same_file "$WALLPAPER_DIR/Demo/clock.swf" "$project/clock.swf"
echo "resource files beside the page:"
for r in greeting.txt palette.xml; do
  check "resource file $r beside the page" same_file "$WALLPAPER_DIR/$r" "$project/resources/$r"
done
echo "install folder:   $INSTALL"
(cd "$(hostpath "$INSTALL")" && ls -l | sed 's/^/                  /')
check "Uninstall.exe in the install folder" test -f "$(hostpath "$INSTALL")/Uninstall.exe"
echo "uninstall key:"
"$RUN" reg query "$UNINSTALL_KEY\\Demo" | tr -d '\r' | sed '/^$/d; s/^/                  /'
check "the uninstall key names the uninstaller" \
  equals "$(reg_value "$UNINSTALL_KEY\\Demo" UninstallString)" "\"$INSTALL\\Uninstall.exe\""
echo "Uninstall.ini:"
tr -d '\r' <"$(hostpath "$INSTALL")/Uninstall.ini" | sed 's/^/                  /'
now=$($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')
echo "desktop now:      $now"
check "the desktop shows the demo page" equals "$now" 'Wallpaper=C:\windows\Web\WallPaper\Demo.htm'

say "uninstall: $INSTALL\\Uninstall.exe, answering Yes"
drive run "\"$INSTALL\\Uninstall.exe\"" \
  answer-box Uninstall "Are you sure you want to uninstall the Zarvane 'Demo'?" yes \
  answer-box Uninstall "Wallpaper 'Demo' successfully removed from your computer." ok wait-exit 0 ||
  stop "the uninstaller did not run to its end"
for f in "$page" "$WALLPAPER_DIR/Demo" "$WALLPAPER_DIR/greeting.txt" "$WALLPAPER_DIR/palette.xml"; do
  check "removed ${f#$DRIVE_C/}" no_file "$f"
done
check "the uninstall key is removed" eval '! reg_key_exists "$UNINSTALL_KEY\\Demo"'
after=$($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')
echo "desktop after:    $after"
check "the previous wallpaper is back" equals "$after" 'Wallpaper=C:\windows\previous.bmp'
[ "$failures" = 0 ] || stop "$failures check(s) of the installed demo failed (FAIL above)"
echo "all checks passed"
