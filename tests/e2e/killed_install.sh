#!/bin/bash
# A run ended half way breaks nothing: an installation over an installed wallpaper that is killed
# while it copies a large movie leaves the installed wallpaper's folder, page and uninstaller as
# they were, and the next run installs normally.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case killed
NAME="E2E Killed"
INSTALL='C:\Program Files\E2E Killed'
install_flash_double
trap 'restore_flash; $DOUBLES register-desktop' EXIT
$DOUBLES reset
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"

CFG_NAME=$NAME write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
make_installer "$WORK/Small Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
mkdir -p "$WORK/big"
{ write_movie /dev/stdout; head -c 600M /dev/zero; } >"$WORK/big/movie.swf"
make_installer "$WORK/Big Setup.exe" "$WORK/instcfg.ini" "$WORK/big/movie.swf"
rm -f "$WORK/big/movie.swf"
full=$((600 * 1024 * 1024 + 21))

timeout 120 "$RUN" "$(winpath "$WORK/Small Setup.exe")" /S /P "$INSTALL"
check "installed" equals "$?" 0
folder=$(hostpath "$INSTALL")
mkdir -p "$WORK/kept"
cp "$WALLPAPER_DIR/$NAME/movie.swf" "$WALLPAPER_DIR/$NAME.htm" "$folder/Uninstall.exe" "$folder/Uninstall.ini" "$WORK/kept/"

# Killed while the new movie is being copied.
"$RUN" "$(winpath "$WORK/Big Setup.exe")" /S /P "$INSTALL" &
runner=$!
caught=0
for _ in $(seq 6000); do
  # Wherever the new movie is being written: part of it is there, not all.
  for partial in "$WALLPAPER_DIR/$NAME"*/movie.swf; do
    size=$(stat -c %s "$partial" 2>/dev/null || echo 0)
    if [ "$size" -gt 1048576 ] && [ "$size" -lt "$full" ]; then
      kill -9 $(pgrep -P "$runner") 2>/dev/null && caught=1
      break 2
    fi
  done
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.01
done
wait "$runner" 2>/dev/null
check "killed during the copy of the movie" equals "$caught" 1
check "  installed movie as it was" same_file "$WORK/kept/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
check "  installed page as it was" same_file "$WORK/kept/$NAME.htm" "$WALLPAPER_DIR/$NAME.htm"
check "  uninstaller as it was" same_file "$WORK/kept/Uninstall.exe" "$folder/Uninstall.exe"
check "  its record as it was" same_file "$WORK/kept/Uninstall.ini" "$folder/Uninstall.ini"

# What the killed run left beside the wallpaper is in nobody's way; a wallpaper whose name looks
# like such a leftover has its page beside it and stays.
other="$WALLPAPER_DIR/$NAME.new-99999-0"
mkdir -p "$other" && printf 'theirs' >"$other/movie.swf" && printf 'theirs' >"$other.htm"
timeout 120 "$RUN" "$(winpath "$WORK/Small Setup.exe")" /S /P "$INSTALL"
check "installed again after the kill" equals "$?" 0
check "  no private folder left" no_private_folder
check "  nor the killed run's new files" equals "$(cd "$WALLPAPER_DIR" && ls -d "$NAME".*-*)" "$NAME.new-99999-0
$NAME.new-99999-0.htm"
check "  a wallpaper of such a name kept" grep -qx theirs "$other/movie.swf"
rm -rf "$other" "$other.htm"
timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S
check "uninstalled" equals "$?" 0
check "  wallpaper folder gone" no_file "$WALLPAPER_DIR/$NAME"
rm -rf "$WORK"
forget_wallpaper "$NAME"
finish
