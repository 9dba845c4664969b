#!/bin/bash
# A project saved as UTF-8 on Linux, its wallpaper named "Grüße", built by the Windows zarvane-cli
# and installed quietly: the page's name, its text and the uninstall entry carry the name in code
# page 1252, as the installer reads and Windows shows it, not as the bytes of UTF-8.
. "$(dirname "$0")/lib.sh" "$1"
# Wine passes arguments and prints names in the host's encoding: UTF-8 here.
export LC_ALL=C.UTF-8
not_grep() { ! grep -q "$@"; }
prepare_prefix
new_case codepage
NAME='Grüße'
INSTALL='C:\Program Files\Gruesse'
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"
install_flash_double
$DOUBLES reset
cp -r "$HERE/../../examples/demo" "$WORK/demo"
sed -i "s/^Name=Demo/Name=$NAME/" "$WORK/demo/demo.zvp"
cli() { "$RUN" "$BIN/zarvane-cli.exe" "$@"; }

cli build "$(winpath "$WORK/demo/demo.zvp")" -o "$(winpath "$WORK/Setup.exe")"
check "build completed" equals "$?" 0
timeout 120 "$RUN" "$(winpath "$WORK/Setup.exe")" /Q /P "$INSTALL"
check "quiet install ends with 0" equals "$?" 0

# Wine keeps Windows names as UTF-8 on the host: a page named in code page 1252 shows as "Grüße".
check "page file named Grüße.htm" test -f "$WALLPAPER_DIR/$NAME.htm"
check "page text holds the name in code page 1252" grep -q $'Gr\xfc\xdfe\\\\clock.swf' "$WALLPAPER_DIR/$NAME.htm"
check "  and not its UTF-8 bytes" not_grep $'Gr\xc3\xbc' "$WALLPAPER_DIR/$NAME.htm"
# Found by its Unicode name "Grüße": the UTF-8 bytes read as code page 1252 would be "GrÃ¼ÃŸe".
check "uninstall key named Grüße" reg_key_exists "$UNINSTALL_KEY\\$NAME"
drive run "\"$INSTALL\\Uninstall.exe\"" \
  answer-box Uninstall "Are you sure you want to uninstall the Zarvane '*'?" yes \
  answer-box Uninstall "Wallpaper '*' successfully removed from your computer." ok wait-exit any
check "uninstalled" no_file "$WALLPAPER_DIR/$NAME.htm"

# The command line gives the Windows program names in the ANSI code page, not UTF-8.
cli extract "$(winpath "$WORK/Setup.exe")" "$(winpath "$WORK/$NAME")" >"$WORK/extract.txt" 2>&1
check "extract into a folder named Grüße" equals "$?" 0
check "  the movie in it" test -f "$WORK/$NAME/clock.swf"
cli list "$(winpath "$WORK/$NAME/missing.exe")" >"$WORK/list.txt" 2>&1
check "a missing file under that folder: told as missing" grep -q "no such file" "$WORK/list.txt"
finish
