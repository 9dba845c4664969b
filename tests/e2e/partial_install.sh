#!/bin/bash
# A partial result never passes for a whole one: a page that could not be replaced leaves the
# desktop alone and fails the run; an installer that lacks its licence, pictures and resource
# files (as a writer that could not add them leaves it) still installs its movie; and the
# uninstaller knows its own record however the Windows and install folders are spelt.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case partial
NAME="E2E Partial"
INSTALL='C:\Program Files\E2E Partial'
LOG="$WORK/install.log"
install_flash_double
trap 'restore_flash; chmod u+w "$WALLPAPER_DIR/$NAME.htm" 2>/dev/null' EXIT
unseen() {  # unseen CODE COMMAND-LINE: no window ever shows, and it ends with CODE
  drive timeout 60000 run "$2" wait-exit-unseen "$1" >>"$WORK/driver.txt"
}
logged() { grep -qiF -- "$1" <(tr -d '\r' <"$LOG") || { echo "     not in the log: $1"; return 1; }; }
fresh() {
  chmod u+w "$WALLPAPER_DIR/$NAME.htm" 2>/dev/null
  forget_wallpaper "$NAME"
  rm -rf "$(hostpath "$INSTALL")" "$LOG"
  $DOUBLES reset
  $DOUBLES preset-wallpaper 'C:\windows\old.bmp'
}

# Every file but the movie left out of the payload, the installer window's picture included.
CFG_NAME=$NAME CFG_LICENSE=licence.txt CFG_RESOURCES=data.xml CFG_BACK_IMAGE=back.bmp \
  CFG_PREV_MON=shot.bmp CFG_SHOW_MOVIE=1 CFG_MOVIE_OR_IMAGE=window.bmp \
  write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
make_installer "$WORK/Partial Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
setup_line() { printf '%s /S /P "%s" /LOG=%s' "$(cmdline "$WORK/Partial Setup.exe")" "$INSTALL" "$(winpath "$LOG")"; }

fresh
printf 'another wallpaper' >"$WALLPAPER_DIR/data.xml"
unseen 0 "$(setup_line)"
check "without licence, pictures and resources: installs, exit code 0" equals "$?" 0
check "  movie in place" same_file "$WORK/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
check "  desktop shows the page" desktop_shows "C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "  nothing it lacked counted as written" bash -c "! grep -qiE 'wrote .*(data.xml|back.bmp|shot.bmp)' '$LOG'"

# An old page of the name that cannot be replaced: not this wallpaper's, so never shown.
fresh
mkdir -p "$WALLPAPER_DIR"
printf '<html>stale</html>' >"$WALLPAPER_DIR/$NAME.htm"
chmod a-w "$WALLPAPER_DIR/$NAME.htm"
unseen 2 "$(setup_line)"
check "read-only old page: exit code 2" equals "$?" 0
check "  desktop left as it was" desktop_shows 'C:\windows\old.bmp'
check "  the old page untouched" equals "$(cat "$WALLPAPER_DIR/$NAME.htm")" '<html>stale</html>'
check "  log: the page not written" logged "not written: C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "  log: never 'wrote' the page" bash -c "! grep -qiF 'wrote C:\\windows\\Web\\WallPaper\\$NAME.htm' '$LOG'"
check "  nothing installed: no wallpaper folder" no_file "$WALLPAPER_DIR/$NAME"
check "  nor a record" no_file "$(hostpath "$INSTALL")/Uninstall.ini"
chmod u+w "$WALLPAPER_DIR/$NAME.htm"

# Its record spelt another way: 8.3 names, other letter case, "..", the uninstaller started
# through a short path. It still removes its own wallpaper.
fresh
unseen 0 "$(setup_line)"
check "installed again: exit code 0" equals "$?" 0
short_dir=$(drive short-path 'C:\windows\Web\WallPaper' | tr -d '\r')
short_install=$(drive short-path "$INSTALL" | tr -d '\r')
check "  the system gives short names" test -n "$short_dir" -a -n "$short_install"
ini="$(hostpath "$INSTALL")/Uninstall.ini"
page="C:\\WINDOWS\\system32\\..\\${short_dir#C:\\windows\\}\\$NAME.htm"
{ grep -v '^SCRFile=' "$ini"; printf 'SCRFile=%s\r\n' "$page"; } >"$WORK/Uninstall.ini"
cp "$WORK/Uninstall.ini" "$ini"
"$RUN" reg add "$UNINSTALL_KEY\\$NAME" /v UninstallString /d "\"${short_install^^}\\UNINSTALL.EXE\"" /f >/dev/null
unseen 0 "\"$short_install\\Uninstall.exe\" /S /LOG=$(winpath "$WORK/uninstall.log")"
check "record spelt otherwise: uninstalled, exit code 0" equals "$?" 0
check "  wallpaper folder gone" no_file "$WALLPAPER_DIR/$NAME"
check "  page gone" no_file "$WALLPAPER_DIR/$NAME.htm"
check "  the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'
check "  entry gone" no_key "$UNINSTALL_KEY\\$NAME"
check "  another wallpaper's file of a resource's name kept" test -f "$WALLPAPER_DIR/data.xml"
rm -f "$WALLPAPER_DIR/data.xml"

fresh
finish
