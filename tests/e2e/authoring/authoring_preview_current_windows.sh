#!/bin/bash
# The preview on a current Windows (a prefix of its own at Windows 10, whose desktop shows no
# page): its still picture and files go to the author's own folder, so it works where the
# Windows folder's wallpaper directory may not be written; Cancel, and the next start after a
# killed run, give the author's wallpaper back.
. "$(dirname "$0")/authoring_lib.sh" "$1"
export ZARVANE_WINEPREFIX="$BUILD/wineprefix-win10" ZARVANE_WINE_VERSION=win10
PREFIX=$ZARVANE_WINEPREFIX DRIVE_C="$ZARVANE_WINEPREFIX/drive_c"
WALLPAPER_DIR="$DRIVE_C/windows/Web/WallPaper"
prepare_prefix || exit 1
new_case authoring_preview_current_windows
forget_settings
DESKTOP_KEY='HKCU\Control Panel\Desktop'
OLD='C:\windows\old.bmp'
mkdir -p "$WALLPAPER_DIR"
chmod a-w "$WALLPAPER_DIR"
trap 'chmod u+w "$WALLPAPER_DIR"' EXIT
"$RUN" reg add "$DESKTOP_KEY" /v Wallpaper /d "$OLD" /f >/dev/null
"$RUN" reg add "$DESKTOP_KEY" /v WallpaperStyle /d 10 /f >/dev/null
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 1 /f >/dev/null
write_movie "$WORK/movie.swf"
W=$(winpath "$WORK")
preview_on() { echo set-text 1020 "$W\\movie.swf" click 1067 expect-state 1068 visible; }
shown() { reg_value "$DESKTOP_KEY" Wallpaper; }

zarvane "" wait-window "Zarvane - [Untitled.zvp]" $(preview_on) \
  checkpoint "$(winpath "$WORK/previewing")" click 1068 expect-state 1067 visible \
  close answer-box Save "*" no wait-exit 0 >"$WORK/driver.txt" &
driver=$!
for _ in $(seq 300); do [ -f "$WORK/previewing" ] && break; sleep 0.1; done
still=$(shown)
check "previewing: the desktop shows a still picture of the author's own folder" \
  bash -c "case '$still' in *'\\AppData\\Local\\Zarvane\\Preview\\ZarvanePreview\\ZarvanePreview_Still.bmp') exit 0;; esac; echo \"     got '$still'\"; exit 1"
check "  the picture is there" test -f "$(hostpath "$still")"
check "  nothing under the Windows folder" equals "$(cd "$WALLPAPER_DIR" && ls -d ZarvanePreview* 2>/dev/null)" ""
rm -f "$WORK/previewing"
wait $driver
check "Cancel, then closed" equals "$?" 0
check "  the author's wallpaper back" equals "$(shown)" "$OLD"
check "  its style back" equals "$(reg_value "$DESKTOP_KEY" WallpaperStyle)" 10
check "  the preview's picture removed" no_file "$(hostpath "$still")"

zarvane "" wait-window "Zarvane - [Untitled.zvp]" $(preview_on) kill >/dev/null
check "killed while previewing: the still picture shown" equals "$(shown)" "$still"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" key escape wait-exit 0
check "the next start" equals "$?" 0
check "  gives the author's wallpaper back" equals "$(shown)" "$OLD"
check "  and removes the picture" no_file "$(hostpath "$still")"
rm -rf "$WORK"
finish
