#!/bin/bash
# A quiet install (/Q /P folder) of a built installer that packs the stand-in Flash control, with
# every place it writes looked at afterwards.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix

NAME="E2E Quiet"
INSTALL='C:\Program Files\E2E Quiet'
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")" "$WALLPAPER_DIR/data.xml" "$WALLPAPER_DIR/more.txt"
$DOUBLES reset
$DOUBLES remove-flash
trap restore_flash EXIT
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'

work="$BUILD/e2e-work/quiet"
rm -rf "$work" && mkdir -p "$work"
CFG_NAME=$NAME CFG_RESOURCES="data.xml;more.txt" CFG_PREV_MON="$NAME"Preview.bmp \
  write_config "$work/instcfg.ini"
write_movie "$work/movie.swf"
printf '<data/>\r\n' >"$work/data.xml"
printf 'more\r\n' >"$work/more.txt"
# As the build names the default preview picture it makes.
cp "$HERE/../../installer/res/installer_picture.bmp" "$work/${NAME}Preview.bmp"
cp "$BIN/doubles/flash.ocx" "$work/flash.ocx"
members=(instcfg.ini "${NAME}Preview.bmp" data.xml more.txt flash.ocx movie.swf)
make_installer "$work/Quiet Setup.exe" "${members[@]/#/$work/}"

# Files of members' names in the temporary folder are somebody else's.
printf 'mine\r\n' >"$TEMP_DIR/instcfg.ini"
printf 'mine too\r\n' >"$TEMP_DIR/movie.swf"
rm -f "$TEMP_DIR"/{"${NAME}Preview.bmp",data.xml,more.txt,flash.ocx,Uninstall.exe}
timeout ${INSTALL_TIMEOUT:-120} "$RUN" "$(winpath "$work/Quiet Setup.exe")" /Q /P "$INSTALL"
check "installer ends with 0" equals "$?" 0

page="$WALLPAPER_DIR/$NAME.htm"
# The page the command-line tool predicts for a project of the same settings.
{
  printf '[ScreenSaver]\r\nName=%s\r\n[Movie]\r\nSWFFile=movie.swf\r\n' "$NAME"
  printf 'ResourceFiles=data.xml;more.txt\r\nHAlign=Center\r\nVAlign=Center\r\nMute=0\r\n'
  printf 'Quality=High\r\nMovieBkgSet=1\r\nMovieBkgColor=ffffff\r\nLoop=TRUE\r\n'
  printf 'MovieSize=showall\r\n[Wallpaper]\r\nBackImage=\r\nAlign=Center\r\n'
  printf 'PrevMon=\r\n[Preview]\r\nShowMovie=1\r\nImageFile=\r\n'
} >"$work/same.zvp"
"$RUN" "$BIN/zarvane-cli.exe" page "$(winpath "$work/same.zvp")" -o "$(winpath "$work/expected.htm")"
check "page written byte for byte as predicted" same_file "$work/expected.htm" "$page"
check "movie copied into the wallpaper folder" same_file "$work/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
check "picture copied into the wallpaper folder" same_file "$work/${NAME}Preview.bmp" "$WALLPAPER_DIR/$NAME/${NAME}Preview.bmp"
for r in data.xml more.txt; do
  check "resource $r beside the page" same_file "$work/$r" "$WALLPAPER_DIR/$r"
  check "resource $r not in the wallpaper folder" no_file "$WALLPAPER_DIR/$NAME/$r"
done
check "desktop shows the page" grep -qx "Wallpaper=C:\\\\windows\\\\Web\\\\WallPaper\\\\$NAME.htm" \
  <($DOUBLES state | tr -d '\r')

check "DisplayName" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" DisplayName)" "$NAME"
check "UninstallString" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" UninstallString)" "\"$INSTALL\\Uninstall.exe\""

ini="$(hostpath "$INSTALL")/Uninstall.ini"
check "SCRFile" equals "$(ini_value "$ini" Uninstaller SCRFile)" "C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "RegPath" equals "$(ini_value "$ini" Uninstaller RegPath)" "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$NAME"
check "Resource" equals "$(ini_value "$ini" Uninstaller Resource)" "data.xml;more.txt"
check "PrevSettings" equals "$(ini_value "$ini" Uninstaller PrevSettings)" 'C:\windows\old.bmp'
# Member 0 lies right behind the installer program, so the uninstaller is that program exactly.
check "Uninstall.exe is the bare installer program" same_file "$BIN/zarvane-installer.exe" "$(hostpath "$INSTALL")/Uninstall.exe"

for m in "${NAME}Preview.bmp" data.xml more.txt flash.ocx Uninstall.exe; do
  check "no $m left in the temporary folder" no_file "$TEMP_DIR/$m"
done
check "a file of a member's name in the temporary folder kept" grep -qx mine <(tr -d '\r' <"$TEMP_DIR/instcfg.ini")
check "  another one too" grep -qx 'mine too' <(tr -d '\r' <"$TEMP_DIR/movie.swf")
check "the installer's own folder there removed" no_private_folder
rm -f "$TEMP_DIR/instcfg.ini" "$TEMP_DIR/movie.swf"
flash="$DRIVE_C/windows/system32/Macromed/Flash/flash.ocx"
check "packed control copied to Macromed\\Flash" same_file "$work/flash.ocx" "$flash"
check "control registered" reg_key_exists 'HKCR\CLSID\{D27CDB6E-AE6D-11cf-96B8-444553540000}'
# Installed wallpapers share resource files: none of this one's may stay registered for the others.
forget_wallpaper "$NAME"
finish
