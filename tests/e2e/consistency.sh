#!/bin/bash
# Whatever stops them, the installer and the uninstaller leave a consistent machine: the desktop
# names a page whose movie is there, the entry runs an Uninstall.exe beside a sound record, and
# the next run finishes the work. Runs are ended at each step as a kill would end them
# (ZARVANE_STOP_AT). Besides: the files of one wallpaper are never another's, a record whose
# entry is gone is still trusted, an uninstaller that cannot be written installs nothing, and two
# installs of one wallpaper at once both succeed.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case consistency
NAME="E2E Steps"
OTHER="E2E Steps Other"
INSTALL='C:\Program Files\E2E Steps'
OTHER_INSTALL='C:\Program Files\E2E Steps Other'
PAGE="C:\\windows\\Web\\WallPaper\\$NAME.htm"
install_flash_double
trap 'restore_flash; chmod -R u+w "$WALLPAPER_DIR" 2>/dev/null' EXIT

# Version 1 plays movie.swf, version 2 new.swf: an old page over new files shows nothing.
mkdir -p "$WORK/v1" "$WORK/v2" "$WORK/other" "$WORK/taken"
printf 'hello\r\n' >"$WORK/v1/greeting.txt"
printf 'hello again\r\n' >"$WORK/v2/greeting.txt"
printf '<palette/>\r\n' >"$WORK/other/palette.xml"
write_movie "$WORK/v1/movie.swf"
write_movie "$WORK/v2/new.swf"
write_movie "$WORK/other/movie.swf"
write_movie "$WORK/taken/movie.swf"
CFG_NAME=$NAME CFG_RESOURCES=greeting.txt write_config "$WORK/v1/instcfg.ini"
make_installer "$WORK/v1/Setup.exe" "$WORK/v1/instcfg.ini" "$WORK/v1/greeting.txt" "$WORK/v1/movie.swf"
CFG_NAME=$NAME CFG_RESOURCES=greeting.txt write_config "$WORK/v2/instcfg.ini"
sed -i 's/^SWFFile=movie.swf/SWFFile=new.swf/' "$WORK/v2/instcfg.ini"
make_installer "$WORK/v2/Setup.exe" "$WORK/v2/instcfg.ini" "$WORK/v2/greeting.txt" "$WORK/v2/new.swf"
CFG_NAME=$OTHER CFG_RESOURCES=palette.xml write_config "$WORK/other/instcfg.ini"
make_installer "$WORK/other/Setup.exe" "$WORK/other/instcfg.ini" "$WORK/other/palette.xml" "$WORK/other/movie.swf"

install() {  # install VERSION [STEP]: exit code of a silent install, ended at STEP when given
  ZARVANE_STOP_AT=${2:-} timeout 120 "$RUN" "$(winpath "$WORK/$1/Setup.exe")" /S /P "$INSTALL" \
    "/LOG=$(winpath "$WORK/install-$1.log")"
}
uninstall() {  # uninstall [STEP]
  ZARVANE_STOP_AT=${1:-} timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S \
    "/LOG=$(winpath "$WORK/uninstall.log")"
}
fresh() {
  chmod -R u+w "$WALLPAPER_DIR" 2>/dev/null
  forget_wallpaper "$NAME"
  forget_wallpaper "$OTHER"
  rm -rf "$(hostpath "$INSTALL")" "$(hostpath "$OTHER_INSTALL")" "$WALLPAPER_DIR/greeting.txt" \
    "$WALLPAPER_DIR/palette.xml" "$WALLPAPER_DIR/$NAME".*-* "$WORK"/*.log
  $DOUBLES reset
  $DOUBLES preset-wallpaper 'C:\windows\old.bmp'
}
# The desktop shows the user's wallpaper, or a page whose movie is there; an entry runs an
# Uninstall.exe that is there, beside a record that names this wallpaper.
consistent() {
  local shown movie command
  shown=$($DOUBLES state | tr -d '\r' | sed -n 's/^Wallpaper=//p')
  if [ "$shown" != 'C:\windows\old.bmp' ] && [ "$shown" != None ]; then
    [ -f "$(hostpath "$shown")" ] || { echo "     the desktop names '$shown', which is not there"; return 1; }
    movie=$(grep -o "NAME=\"MOVIE\" VALUE=\"[^\"]*\"" "$(hostpath "$shown")" | sed 's/.*VALUE="//; s/"$//')
    [ -f "$WALLPAPER_DIR/$(printf '%s' "$movie" | tr '\\' /)" ] ||
      { echo "     the page shown plays '$movie', which is not there"; return 1; }
  fi
  if reg_key_exists "$UNINSTALL_KEY\\$NAME"; then
    command=$(reg_value "$UNINSTALL_KEY\\$NAME" UninstallString | tr -d '"')
    [ -f "$(hostpath "$command")" ] || { echo "     the entry runs '$command', which is not there"; return 1; }
    [ "$(ini_value "$(dirname "$(hostpath "$command")")/Uninstall.ini" Uninstaller SCRFile)" = "$PAGE" ] ||
      { echo "     the entry's record is not whole"; return 1; }
  fi
}
no_leftovers() {
  local left
  left=$(cd "$WALLPAPER_DIR" && ls -d "$NAME".*-* 2>/dev/null)
  [ -z "$left" ] || { echo "     left: $left"; return 1; }
}
plays() { grep -qF "$NAME\\$1" "$WALLPAPER_DIR/$NAME.htm" && [ -f "$WALLPAPER_DIR/$NAME/$1" ]; }

# A reinstall of a new version ended after each step; the next run finishes it.
for step in uninstaller staged swapped recorded resources desktop entry; do
  fresh
  install v1 >/dev/null
  install v2 "$step"
  check "install ended after '$step'" equals "$?" 9
  check "  consistent" consistent
  install v2
  check "  the next install finishes: exit code 0" equals "$?" 0
  check "  the new version shown and played" bash -c "$(declare -f plays); NAME='$NAME' WALLPAPER_DIR='$WALLPAPER_DIR' plays new.swf"
  check "  consistent" consistent
  check "  nothing of the ended run left" no_leftovers
  check "  the user's wallpaper is still what the uninstaller puts back" \
    equals "$(ini_value "$(hostpath "$INSTALL")/Uninstall.ini" Uninstaller PrevSettings)" 'C:\windows\old.bmp'
done

# What an ended install left aside, the uninstaller takes away with the rest.
fresh
install v1 >/dev/null
install v2 swapped
uninstall
check "install ended after the swap, then uninstalled: exit code 0" equals "$?" 0
check "  nothing of the ended run left" no_leftovers
check "  wallpaper folder gone" no_file "$WALLPAPER_DIR/$NAME"

# A fresh install ended before its entry: the uninstaller in the folder still removes it all.
fresh
install v1 desktop
check "fresh install ended before the entry" equals "$?" 9
check "  consistent" consistent
check "  no entry" no_key "$UNINSTALL_KEY\\$NAME"
uninstall
check "  the uninstaller trusts its record without an entry: exit code 0" equals "$?" 0
check "  page gone" no_file "$WALLPAPER_DIR/$NAME.htm"
check "  resource file gone" no_file "$WALLPAPER_DIR/greeting.txt"
check "  the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'

# An uninstall ended after each step; the next run finishes it.
for step in desktop files record; do
  fresh
  install v1 >/dev/null
  uninstall "$step"
  check "uninstall ended after '$step'" equals "$?" 9
  check "  consistent" consistent
  uninstall
  check "  the next uninstall finishes: exit code 0" equals "$?" 0
  check "  page, folder and resource file gone" \
    bash -c "[ ! -e '$WALLPAPER_DIR/$NAME.htm' ] && [ ! -e '$WALLPAPER_DIR/$NAME' ] && [ ! -e '$WALLPAPER_DIR/greeting.txt' ]"
  check "  entry gone" no_key "$UNINSTALL_KEY\\$NAME"
  check "  the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'
done

# An old page that cannot be replaced: the installed version stays whole, movie and all.
fresh
install v1 >/dev/null
chmod a-w "$WALLPAPER_DIR/$NAME.htm"
install v2
check "read-only page on a reinstall: exit code 2" equals "$?" 2
check "  the installed version still plays" bash -c "$(declare -f plays); NAME='$NAME' WALLPAPER_DIR='$WALLPAPER_DIR' plays movie.swf"
check "  its resource file as it was" grep -q '^hello' "$WALLPAPER_DIR/greeting.txt"
check "  consistent" consistent
chmod u+w "$WALLPAPER_DIR/$NAME.htm"

# An old page held open by another program: the same.
fresh
install v1 >/dev/null
mark="$WORK/holding"
rm -f "$mark"
drive hold "$PAGE" checkpoint "$(winpath "$mark")" >/dev/null &
holder=$!
for _ in $(seq 300); do [ -f "$mark" ] && break; sleep 0.05; done
install v2
check "held page on a reinstall: exit code 2" equals "$?" 2
check "  the installed version still plays" bash -c "$(declare -f plays); NAME='$NAME' WALLPAPER_DIR='$WALLPAPER_DIR' plays movie.swf"
check "  consistent" consistent
rm -f "$mark"
wait $holder

# An Uninstall.exe that cannot be written: nothing else is done, and the log says why.
fresh
mkdir -p "$(hostpath "$INSTALL")/Uninstall.exe.part"
install v1
check "uninstaller not written: exit code 2" equals "$?" 2
check "  desktop left as it was" desktop_shows 'C:\windows\old.bmp'
check "  no entry" no_key "$UNINSTALL_KEY\\$NAME"
check "  no page" no_file "$WALLPAPER_DIR/$NAME.htm"
check "  the log says so" grep -qF "not written: $INSTALL\\Uninstall.exe" "$WORK/install-v1.log"

# Another wallpaper's resource file, or a page, is never replaced; nor deleted by an uninstall.
fresh
install v1 >/dev/null
CFG_NAME=$OTHER CFG_RESOURCES="greeting.txt" write_config "$WORK/taken/instcfg.ini"
make_installer "$WORK/taken/Setup.exe" "$WORK/taken/instcfg.ini" "$WORK/v2/greeting.txt" "$WORK/taken/movie.swf"
timeout 120 "$RUN" "$(winpath "$WORK/taken/Setup.exe")" /S /P "$OTHER_INSTALL" "/LOG=$(winpath "$WORK/other.log")"
check "a resource file of another wallpaper's: exit code 2" equals "$?" 2
check "  theirs kept" grep -qx $'hello\r' "$WALLPAPER_DIR/greeting.txt"
check "  nothing installed" bash -c "[ ! -e '$WALLPAPER_DIR/$OTHER.htm' ] && [ ! -e '$WALLPAPER_DIR/$OTHER' ]"
check "  the log names the file" grep -qF "not this wallpaper's own: C:\\windows\\Web\\WallPaper\\greeting.txt" "$WORK/other.log"
cp "$WORK/v1/greeting.txt" "$WORK/taken/$NAME.htm"
CFG_NAME=$OTHER CFG_RESOURCES="$NAME.htm" write_config "$WORK/taken/instcfg.ini"
make_installer "$WORK/taken/Setup.exe" "$WORK/taken/instcfg.ini" "$WORK/taken/$NAME.htm" "$WORK/taken/movie.swf"
timeout 120 "$RUN" "$(winpath "$WORK/taken/Setup.exe")" /S /P "$OTHER_INSTALL"
check "a resource named as another wallpaper's page: exit code 2" equals "$?" 2
check "  the page kept" grep -q 'OBJECT\|object' "$WALLPAPER_DIR/$NAME.htm"
timeout 120 "$RUN" "$(winpath "$WORK/other/Setup.exe")" /S /P "$OTHER_INSTALL"
check "another wallpaper with files of its own: exit code 0" equals "$?" 0
record="$(hostpath "$OTHER_INSTALL")/Uninstall.ini"
sed -i "s/^Resource=.*/Resource=palette.xml;greeting.txt;$NAME.htm\r/" "$record"
timeout 120 "$RUN" "$OTHER_INSTALL\\Uninstall.exe" /S
check "  its uninstaller, with a record that names the first one's files: exit code 0" equals "$?" 0
check "  its own resource file gone" no_file "$WALLPAPER_DIR/palette.xml"
check "  the first one's resource file kept" test -f "$WALLPAPER_DIR/greeting.txt"
check "  the first one's page kept" test -f "$WALLPAPER_DIR/$NAME.htm"

# Two installs of one wallpaper at once: the second waits for the first.
fresh
install v1 >/dev/null &
first=$!
install v2 >/dev/null
second=$?
wait $first
check "two installs at once: both exit code 0" equals "$?:$second" 0:0
check "  consistent" consistent
check "  nothing of either run left" no_leftovers

fresh
rm -rf "$WORK"
finish
