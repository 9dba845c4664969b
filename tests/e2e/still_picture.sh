#!/bin/bash
# Current Windows shows no page on the desktop: in a prefix of its own at Windows 10, with Wine's
# own Active Desktop and no Flash control anywhere, a silent install sets a still picture of the
# page's background as the image wallpaper, and the uninstaller puts the user's wallpaper and
# both style values back exactly. A still picture made from the movie is one picture, not tiled.
. "$(dirname "$0")/lib.sh" "$1"
export ZARVANE_WINEPREFIX="$BUILD/wineprefix-win10" ZARVANE_WINE_VERSION=win10
PREFIX=$ZARVANE_WINEPREFIX DRIVE_C="$ZARVANE_WINEPREFIX/drive_c"
WALLPAPER_DIR="$DRIVE_C/windows/Web/WallPaper"
prepare_prefix || exit 1
new_case still
NAME="E2E Still"
INSTALL='C:\Program Files\E2E Still'
DESKTOP_KEY='HKCU\Control Panel\Desktop'
STILL="C:\\windows\\Web\\WallPaper\\$NAME\\${NAME}_Still.bmp"
LOG="$WORK/install.log"
logged() { grep -qiF -- "$1" <(tr -d '\r' <"$LOG") || { echo "     not in the log: $1"; return 1; }; }
not_logged() { ! grep -qiF -- "$1" <(tr -d '\r' <"$LOG") || { echo "     in the log: $1"; return 1; }; }
pixel() { convert "$1" -format "%[hex:u.p{$2,$3}]" info: 2>/dev/null | cut -c1-6; }

check "the prefix reports Windows 10" equals "$("$RUN" cmd /c ver | tr -d '\r' | grep -o ' 10\.0' | head -1)" " 10.0"
check "no Flash control in the prefix" no_file "$DRIVE_C/windows/system32/Macromed/Flash/flash.ocx"

# The user's wallpaper: a picture, a style of its own and no TileWallpaper value at all.
convert -size 8x8 xc:'#00ff00' "BMP3:$DRIVE_C/windows/old.bmp"
"$RUN" reg add "$DESKTOP_KEY" /v Wallpaper /d 'C:\windows\old.bmp' /f >/dev/null
"$RUN" reg add "$DESKTOP_KEY" /v WallpaperStyle /d 10 /f >/dev/null
"$RUN" reg delete "$DESKTOP_KEY" /v TileWallpaper /f >/dev/null 2>&1

# Built without the Flash control: a tiled 2 x 1 background, red then blue, on a dark colour.
convert -size 1x1 xc:'#ff0000' xc:'#0000ff' +append "BMP3:$WORK/back.bmp"
CFG_NAME=$NAME CFG_BACK_IMAGE=back.bmp write_config "$WORK/instcfg.ini"
sed -i 's/^Align=Center/Align=Tile/; s/^MovieBkgColor=ffffff/MovieBkgColor=203040/' "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
make_installer "$WORK/Still Setup.exe" "$WORK/instcfg.ini" "$WORK/back.bmp" "$WORK/movie.swf"
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"

drive timeout 60000 run "$(cmdline "$WORK/Still Setup.exe") /S /P \"$INSTALL\" /LOG=$(winpath "$LOG")" \
  wait-exit-unseen 0 >"$WORK/driver.txt"
check "/S without a Flash control: no window, exit code 0" equals "$?" 0
check "page written as ever" test -f "$WALLPAPER_DIR/$NAME.htm"
check "Wallpaper names the still picture" equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" "$STILL"
check "WallpaperStyle for Tile" equals "$(reg_value "$DESKTOP_KEY" WallpaperStyle)" 0
check "TileWallpaper for Tile" equals "$(reg_value "$DESKTOP_KEY" TileWallpaper)" 1
bmp=$(hostpath "$STILL")
check "a 24-bit BMP" equals "$(head -c 30 "$bmp" | od -An -tu1 -j28 | tr -d ' ')" 240
import -window root "$WORK/screen.png" 2>/dev/null
check "at the screen's size" equals "$(identify -format '%wx%h' "$bmp" 2>/dev/null)" \
  "$(identify -format '%wx%h' "$WORK/screen.png" 2>/dev/null)"
check "tiled from the top left: red, blue, red" equals "$(pixel "$bmp" 0 0) $(pixel "$bmp" 1 0) $(pixel "$bmp" 2 5)" "FF0000 0000FF FF0000"
check "log: the way taken and why" logged "desktop: still picture $STILL (Windows 10"
check "log: the control not needed" logged "Flash control neither installed nor packed; not needed"
check "log: no desktop settings message" bash -c "test -s '$LOG' && ! grep -q 'Failed to Get Desktop Settings' '$LOG'"
ini="$(hostpath "$INSTALL")/Uninstall.ini"
check "Uninstall.ini: the previous wallpaper" equals "$(ini_value "$ini" Uninstaller PrevWallpaper)" 'C:\windows\old.bmp'
check "Uninstall.ini: its style" equals "$(ini_value "$ini" Uninstaller PrevWallpaperStyle)" 10

# What a person sees: the desktop of a Wine desktop window.
"$RUN" explorer /desktop=still,640x480 >/dev/null 2>&1 &
for i in $(seq 30); do
  sleep 0.5
  import -window root "$WORK/desktop.png" 2>/dev/null && has_colour "$WORK/desktop.png" '#FF0000' 0.05 && break
done
check "the desktop window shows the picture" has_colour "$WORK/desktop.png" '#FF0000' 0.05
WINEPREFIX=$ZARVANE_WINEPREFIX wineserver -k  # the prefix is this test's own: its desktop ends
wait

LOG="$WORK/uninstall.log"
drive timeout 60000 run "\"$INSTALL\\Uninstall.exe\" /S /LOG=$(winpath "$LOG")" wait-exit-unseen 0 \
  >>"$WORK/driver.txt"
check "Uninstall.exe /S: no window, exit code 0" equals "$?" 0
check "Wallpaper back" equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" 'C:\windows\old.bmp'
check "WallpaperStyle back" equals "$(reg_value "$DESKTOP_KEY" WallpaperStyle)" 10
check "TileWallpaper gone again" no_key "$DESKTOP_KEY" TileWallpaper
check "the picture removed" no_file "$bmp"
check "the page removed" no_file "$WALLPAPER_DIR/$NAME.htm"
check "log: the image wallpaper put back" logged "image wallpaper put back: C:\\windows\\old.bmp"
check "log: no page wallpaper said to be put back" not_logged "desktop wallpaper put back"

# Two wallpapers, uninstalled in the order they were installed: the second takes over the first
# one's record of the user's wallpaper, so the desktop never names a deleted picture.
SECOND="E2E Still Two"
SECOND_INSTALL='C:\Program Files\E2E Still Two'
sed "s/^Name=.*/Name=$SECOND\r/" "$WORK/instcfg.ini" >"$WORK/second.ini"
mkdir -p "$WORK/two" && cp "$WORK/second.ini" "$WORK/two/instcfg.ini"
make_installer "$WORK/Second Setup.exe" "$WORK/two/instcfg.ini" "$WORK/back.bmp" "$WORK/movie.swf"
forget_wallpaper "$SECOND"
timeout 120 "$RUN" "$(winpath "$WORK/Still Setup.exe")" /S /P "$INSTALL"
timeout 120 "$RUN" "$(winpath "$WORK/Second Setup.exe")" /S /P "$SECOND_INSTALL"
check "two still-picture wallpapers installed: the second shown" \
  equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" "C:\\windows\\Web\\WallPaper\\$SECOND\\${SECOND}_Still.bmp"
timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S
check "  the first uninstalled: exit code 0" equals "$?" 0
check "  the second still shown" \
  equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" "C:\\windows\\Web\\WallPaper\\$SECOND\\${SECOND}_Still.bmp"
timeout 120 "$RUN" "$SECOND_INSTALL\\Uninstall.exe" /S
check "  then the second: exit code 0" equals "$?" 0
check "  the user's wallpaper back, not the first one's deleted picture" \
  equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" 'C:\windows\old.bmp'
check "  and its style" equals "$(reg_value "$DESKTOP_KEY" WallpaperStyle)" 10
forget_wallpaper "$SECOND"

# Windows 7 (6.1) shows no page either: the program told it is Windows 7 takes the same way.
cp "$WORK/Still Setup.exe" "$WORK/Win7 Setup.exe"
"$RUN" reg add 'HKCU\Software\Wine\AppDefaults\Win7 Setup.exe' /v Version /d win7 /f >/dev/null
LOG="$WORK/win7.log"
timeout 120 "$RUN" "$(winpath "$WORK/Win7 Setup.exe")" /S /P "$INSTALL" "/LOG=$(winpath "$LOG")"
check "at Windows 7: exit code 0" equals "$?" 0
check "  the still picture, and why" logged "desktop: still picture $STILL (Windows 6.1 shows no page"
"$RUN" reg delete 'HKCU\Software\Wine\AppDefaults\Win7 Setup.exe' /f >/dev/null
timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S
forget_wallpaper "$NAME"

# A still picture that is a frame of the movie (zarvane-cli build --still-from-movie) holds the
# tiled background already: on a project that tiles it is one picture at the screen's size, the
# frame centred over the background colour, never tiled again.
FRAMED="E2E Movie Still"
FRAMED_INSTALL='C:\Program Files\E2E Movie Still'
FRAMED_STILL="C:\\windows\\Web\\WallPaper\\$FRAMED\\${FRAMED}_Still.bmp"
mkdir -p "$WORK/framed"
convert -size 4x2 xc:'#ff0000' "BMP3:$WORK/framed/frame.bmp"
sed "s/^Name=.*/Name=$FRAMED\r/" "$WORK/instcfg.ini" >"$WORK/framed/instcfg.ini"
printf 'StillImage=frame.bmp\r\nStillFromMovie=1\r\n' >>"$WORK/framed/instcfg.ini"
check "the frame's configuration tiles the background" equals \
  "$(ini_value "$WORK/framed/instcfg.ini" Wallpaper Align)" Tile
make_installer "$WORK/Framed Setup.exe" "$WORK/framed/instcfg.ini" "$WORK/back.bmp" \
  "$WORK/framed/frame.bmp" "$WORK/movie.swf"
forget_wallpaper "$FRAMED"
timeout 120 "$RUN" "$(winpath "$WORK/Framed Setup.exe")" /S /P "$FRAMED_INSTALL"
check "the movie's frame installed: exit code 0" equals "$?" 0
check "  it is the desktop's picture" equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" "$FRAMED_STILL"
check "  not tiled: WallpaperStyle 0" equals "$(reg_value "$DESKTOP_KEY" WallpaperStyle)" 0
check "  and TileWallpaper 0" equals "$(reg_value "$DESKTOP_KEY" TileWallpaper)" 0
framed_bmp=$(hostpath "$FRAMED_STILL")
check "  at the screen's size" equals "$(identify -format '%wx%h' "$framed_bmp" 2>/dev/null)" \
  "$(identify -format '%wx%h' "$WORK/screen.png" 2>/dev/null)"
check "  the frame in the middle, the background colour around it" equals \
  "$(pixel "$framed_bmp" 512 384) $(pixel "$framed_bmp" 0 0) $(pixel "$framed_bmp" 1023 767)" \
  "FF0000 203040 203040"
timeout 120 "$RUN" "$FRAMED_INSTALL\\Uninstall.exe" /S
check "  uninstalled: the user's wallpaper back" equals "$(reg_value "$DESKTOP_KEY" Wallpaper)" \
  'C:\windows\old.bmp'
forget_wallpaper "$FRAMED"
finish
