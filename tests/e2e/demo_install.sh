#!/bin/bash
# The install half of `make demo`: the demo installer installed quietly into a fresh Wine prefix
# under OUT, what landed where, screenshots of the install dialog with and without licence, and
# the uninstall that puts the previous wallpaper back.
# Usage: demo_install.sh BUILD_WIN32 ZARVANE_CLI OUT [DEMO_INSTALLER]
# The prefix stands for a machine that has the Shockwave Flash control already (the demo project
# builds without it): the stand-in control is installed there first.
set -u
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi
out=$(mkdir -p "$3" && cd "$3" && pwd)
cli=$2
export ZARVANE_WINEPREFIX="$out/wineprefix"
rm -rf "$ZARVANE_WINEPREFIX"
. "$(dirname "$0")/lib.sh" "$1"
WORK="$out"
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
project="$HERE/../../examples/demo"
INSTALL='C:\Program Files\Demo'
say() { printf '\n== %s\n' "$*"; }

say "the demo installer, and one of the project without its licence"
if [ -n "${4:-}" ]; then
  echo "$4"
  [ "$4" -ef "$out/Demo Setup.exe" ] || cp "$4" "$out/Demo Setup.exe"
else
  "$cli" build "$project/demo.zvp" -o "$out/Demo Setup.exe"
fi
rm -rf "$out/no-licence" && cp -r "$project" "$out/no-licence"
sed -i 's/^LicenseFile=.*/LicenseFile=/' "$out/no-licence/demo.zvp"
"$cli" build "$out/no-licence/demo.zvp" -o "$out/Demo Setup (no licence).exe"
ls -l "$out"/*.exe

say "a fresh Wine prefix: $PREFIX"
prepare_prefix
install_flash_double
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
$DOUBLES register-desktop
cp "$project/background.bmp" "$DRIVE_C/windows/previous.bmp"
$DOUBLES preset-wallpaper 'C:\windows\previous.bmp'
echo "desktop before: $($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')"

say "screenshots of the install dialog"
shoot_dialog "$out/Demo Setup.exe" "Demo Installation" "$out/install-dialog-licence.png"
shoot_dialog "$out/Demo Setup (no licence).exe" "Demo Installation" "$out/install-dialog-no-licence.png"
ls -l "$out"/install-dialog-*.png

say "quiet install: Demo Setup.exe /Q /P \"$INSTALL\""
timeout 120 "$RUN" "$(winpath "$out/Demo Setup.exe")" /Q /P "$INSTALL"
echo "exit code $?"
page="$WALLPAPER_DIR/Demo.htm"
echo "page:             C:\\windows\\Web\\WallPaper\\Demo.htm ($(wc -c <"$page") bytes)"
"$cli" page "$project/demo.zvp" -o "$out/expected-page.htm"
if cmp -s "$page" "$out/expected-page.htm"; then
  echo "                  byte for byte the page zarvane-cli page predicts"
else
  echo "                  DIFFERS from the page zarvane-cli page predicts"
fi
echo "wallpaper folder: C:\\windows\\Web\\WallPaper\\Demo\\"
(cd "$WALLPAPER_DIR/Demo" && ls -l | sed 's/^/                  /')
echo "resource files beside the page:"
for r in greeting.txt palette.xml; do ls -l "$WALLPAPER_DIR/$r" | sed "s,$WALLPAPER_DIR/,C:\\\\windows\\\\Web\\\\WallPaper\\\\,; s/^/                  /"; done
echo "install folder:   $INSTALL"
(cd "$(hostpath "$INSTALL")" && ls -l | sed 's/^/                  /')
echo "uninstall key:"
"$RUN" reg query "$UNINSTALL_KEY\\Demo" | tr -d '\r' | sed '/^$/d; s/^/                  /'
echo "Uninstall.ini:"
tr -d '\r' <"$(hostpath "$INSTALL")/Uninstall.ini" | sed 's/^/                  /'
echo "desktop now:      $($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')"

say "uninstall: $INSTALL\\Uninstall.exe, answering Yes"
drive run "\"$INSTALL\\Uninstall.exe\"" \
  answer-box Uninstall "Are you sure you want to uninstall the Zarvane 'Demo'?" yes \
  answer-box Uninstall "Wallpaper 'Demo' successfully removed from your computer." ok wait-exit any
for f in "$page" "$WALLPAPER_DIR/Demo" "$WALLPAPER_DIR/greeting.txt" "$WALLPAPER_DIR/palette.xml"; do
  if [ -e "$f" ]; then echo "still there: $f"; else echo "removed:     ${f#$DRIVE_C/}"; fi
done
if reg_key_exists "$UNINSTALL_KEY\\Demo"; then echo "uninstall key still there"; else echo "uninstall key removed"; fi
after=$($DOUBLES state | tr -d '\r' | grep '^Wallpaper=')
echo "desktop after:    $after"
[ "$after" = 'Wallpaper=C:\windows\previous.bmp' ] && echo "the previous wallpaper is back"
