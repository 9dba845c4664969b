#!/bin/bash
# The demo project built by the Windows zarvane-cli and installed quietly from the installer that
# build made: what the build writes into instcfg.ini must be what the installer reads, so the
# page, the files and the records come out as the project says. Then uninstalled again.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case built
NAME=Demo
INSTALL='C:\Program Files\Demo Built'
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"
install_flash_double
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'
cp -r "$HERE/../../examples/demo" "$WORK/demo"
project=$(winpath "$WORK/demo/demo.zvp")
cli() { "$RUN" "$BIN/zarvane-cli.exe" "$@"; }

cli build "$project" -o "$(winpath "$WORK/Demo Setup.exe")"
check "build completed" equals "$?" 0
cli page "$project" -o "$(winpath "$WORK/expected.htm")"

# The dialog as the recipient sees it: the licence and the picture the build made.
drive run "$(cmdline "$WORK/Demo Setup.exe")" wait-window "$NAME Installation" \
  expect-text 1007 "Demo wallpaper - licence*" expect-state 3000 visible close wait-exit any
check "dialog shows the project's licence and picture" equals "$?" 0

timeout 120 "$RUN" "$(winpath "$WORK/Demo Setup.exe")" /Q /P "$INSTALL"
check "quiet install ends with 0" equals "$?" 0
check "page as the project predicts it, byte for byte" same_file "$WORK/expected.htm" "$WALLPAPER_DIR/$NAME.htm"
check "movie in the wallpaper folder" same_file "$WORK/demo/clock.swf" "$WALLPAPER_DIR/$NAME/clock.swf"
check "background picture there" same_file "$WORK/demo/background.bmp" "$WALLPAPER_DIR/$NAME/background.bmp"
check "the preview picture the build made there" grep -q '^BM' "$WALLPAPER_DIR/$NAME/${NAME}Preview.bmp"
for r in greeting.txt palette.xml; do
  check "resource $r beside the page" same_file "$WORK/demo/resources/$r" "$WALLPAPER_DIR/$r"
done
check "desktop shows the page" grep -qx "Wallpaper=C:\\\\windows\\\\Web\\\\WallPaper\\\\$NAME.htm" \
  <($DOUBLES state | tr -d '\r')
check "uninstall key" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" UninstallString)" "\"$INSTALL\\Uninstall.exe\""
ini="$(hostpath "$INSTALL")/Uninstall.ini"
check "resource list recorded by bare names" equals "$(ini_value "$ini" Uninstaller Resource)" \
  "greeting.txt;palette.xml;"
check "nothing left in the temporary folder" no_private_folder

drive run "\"$INSTALL\\Uninstall.exe\"" \
  answer-box Uninstall "Are you sure you want to uninstall the Zarvane '$NAME'?" yes \
  answer-box Uninstall "Wallpaper '$NAME' successfully removed from your computer." ok wait-exit any
check "uninstalled" equals "$?" 0
for f in "$NAME.htm" "$NAME" greeting.txt palette.xml; do
  check "  $f gone" no_file "$WALLPAPER_DIR/$f"
done
check "  previous wallpaper back" grep -qx 'Wallpaper=C:\\windows\\old.bmp' <($DOUBLES state | tr -d '\r')
"$RUN" reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations /f >/dev/null 2>&1
finish
