#!/bin/bash
# The demo on a current Windows, the last step of `make demo`: a quiet install into a fresh
# Windows 10 prefix, whose desktop shows no page and which has no Flash control, and a screenshot
# of a Wine desktop window showing the still picture the installer set.
# Usage: demo_current_windows.sh WINDOWS_BUILD OUT (after demo_install.sh, whose installers it takes)
set -u
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi
out=$(cd "$2" && pwd)
export ZARVANE_WINEPREFIX="$out/work/wineprefix-win10" ZARVANE_WINE_VERSION=win10
rm -rf "$ZARVANE_WINEPREFIX"
. "$(dirname "$0")/lib.sh" "$1"
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
stop() { echo "make demo: $*" >&2; exit 1; }
setup="$out/Demo Setup.exe"
tree_is_64_bit && setup="$out/work/win64/Demo Setup.exe"
[ -f "$setup" ] || stop "no $setup: run demo_install.sh first"
LOG="$out/work/current-windows-install.log"
rm -f "$LOG"

printf '\n== a quiet install on Windows 10: %s\n' "$PREFIX"
prepare_prefix >/dev/null || stop "$(wine_cannot_run)"
"$RUN" cmd /c ver | tr -d '\r' | grep . || true
drive timeout 120000 run "$(cmdline "$setup") /Q /P \"C:\\Program Files\\Demo\" /LOG=$(winpath "$LOG")" \
  wait-exit 0 >/dev/null || stop "the quiet install did not end with exit code 0 (log: $LOG)"
tr -d '\r' <"$LOG" | grep -E '^(desktop:|Flash control)' || true
for value in Wallpaper WallpaperStyle TileWallpaper; do
  echo "HKCU\\Control Panel\\Desktop $value = $(reg_value 'HKCU\Control Panel\Desktop' "$value")"
done
still=$(hostpath "$(reg_value 'HKCU\Control Panel\Desktop' Wallpaper)")
[ -f "$still" ] || stop "the still picture is not there: $still"

printf '\n== the desktop of a Wine desktop window\n'
shot="$out/current-windows-desktop.png"
"$RUN" explorer /desktop=Demo,800x600 >/dev/null 2>&1 &
# The desktop window paints the picture a few seconds after it starts.
for i in $(seq 40); do
  sleep 0.5
  import -window root -crop 800x600+0+0 +repage "$shot" 2>/dev/null &&
    [ "$(convert "$shot" -fill black +opaque black -format '%[fx:mean]' info:)" != 0 ] &&
    [ "$(convert "$shot" -crop 800x560+0+0 -format '%[fx:standard_deviation]' info:)" != 0 ] && break
done
sleep 1 && import -window root -crop 800x600+0+0 +repage "$shot"
echo "$shot"
