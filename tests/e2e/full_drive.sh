#!/bin/bash
# A full drive under the wallpaper directory (a small tmpfs mounted over it): a reinstall whose
# new movie does not fit leaves the installed version whole and shown, a fresh install that does
# not fit leaves nothing behind, its new install folder included. Needs the right to mount.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case full_drive
NAME="E2E Full"
INSTALL='C:\Program Files\E2E Full'
install_flash_double
mkdir -p "$WALLPAPER_DIR"
mount -t tmpfs -o size=512k tmpfs "$WALLPAPER_DIR" 2>/dev/null ||
  { echo "cannot mount a small drive here: skipped"; exit 77; }
trap 'umount "$WALLPAPER_DIR"; restore_flash' EXIT
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'

# movie.swf fits once, new.swf (as large) not beside it.
CFG_NAME=$NAME write_config "$WORK/instcfg.ini"
{ write_movie /dev/stdout; head -c 300K /dev/urandom; } >"$WORK/movie.swf"
make_installer "$WORK/Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
mkdir -p "$WORK/new"
sed 's/^SWFFile=movie.swf/SWFFile=new.swf/' "$WORK/instcfg.ini" >"$WORK/new/instcfg.ini"
{ write_movie /dev/stdout; head -c 300K /dev/urandom; } >"$WORK/new/new.swf"
make_installer "$WORK/New Setup.exe" "$WORK/new/instcfg.ini" "$WORK/new/new.swf"
setup() { timeout 120 "$RUN" "$(winpath "$WORK/$1")" /S /P "$INSTALL"; }
page="C:\\windows\\Web\\WallPaper\\$NAME.htm"

setup Setup.exe
check "installed while it fits: exit code 0" equals "$?" 0
setup "New Setup.exe"
check "a new version that does not fit: exit code 2" equals "$?" 2
check "  the installed movie whole" same_file "$WORK/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
check "  the page still plays it" grep -qF "$NAME\\movie.swf" "$WALLPAPER_DIR/$NAME.htm"
check "  the desktop still shows it" desktop_shows "$page"
check "  nothing of the run left" equals "$(cd "$WALLPAPER_DIR" && ls -d "$NAME".*-* 2>/dev/null)" ""
timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S
check "uninstalled: exit code 0" equals "$?" 0

# A fresh install that does not fit: no page, no entry, and the folder it made is gone.
rm -rf "$(hostpath "$INSTALL")"  # as the restart after the uninstall would
head -c 400K /dev/zero >"$WALLPAPER_DIR/filler"
setup Setup.exe
check "a fresh install that does not fit: exit code 2" equals "$?" 2
check "  no page" no_file "$WALLPAPER_DIR/$NAME.htm"
check "  no entry" no_key "$UNINSTALL_KEY\\$NAME"
check "  the desktop left as it was" desktop_shows 'C:\windows\old.bmp'
check "  the install folder it made removed" no_file "$(hostpath "$INSTALL")"
rm -f "$WALLPAPER_DIR/filler"
rm -rf "$WORK"
finish
