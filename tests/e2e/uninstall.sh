#!/bin/bash
# Uninstall.exe after a real installation: No changes nothing; Yes removes the wallpaper, its
# keys and files, puts the previous wallpaper back and leaves the uninstaller's own files to the
# next restart (MoveFileEx, or WinInit.ini when Wine plays a Windows 9x version).
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case uninstall
NAME="E2E Uninstall"
INSTALL='C:\Program Files\E2E Uninstall'
PENDING='HKLM\System\CurrentControlSet\Control\Session Manager'
not_grep() { ! grep -q "$@"; }
install_flash_double
CFG_NAME=$NAME CFG_RESOURCES="one.txt;two.txt" write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
printf 'one\r\n' >"$WORK/one.txt"
printf 'two\r\n' >"$WORK/two.txt"
make_installer "$WORK/Setup.exe" "$WORK/instcfg.ini" "$WORK/one.txt" "$WORK/two.txt" "$WORK/movie.swf"

fresh_install() {
  forget_wallpaper "$NAME"
  rm -rf "$(hostpath "$INSTALL")" "$WALLPAPER_DIR/one.txt" "$WALLPAPER_DIR/two.txt"
  $DOUBLES reset
  $DOUBLES preset-wallpaper 'C:\windows\old.bmp'
  timeout 120 "$RUN" "$(winpath "$WORK/Setup.exe")" /Q /P "$INSTALL" &&
    "$RUN" reg add "HKCU\\Software\\$NAME" /v Kept /d 1 /f >/dev/null
}
installed() {
  [ -f "$WALLPAPER_DIR/$NAME.htm" ] && [ -f "$WALLPAPER_DIR/$NAME/movie.swf" ] &&
    [ -f "$WALLPAPER_DIR/one.txt" ] && reg_key_exists "$UNINSTALL_KEY\\$NAME" &&
    reg_key_exists "HKCU\\Software\\$NAME"
}
QUESTION="Are you sure you want to uninstall the Zarvane '$NAME'?"
DONE="Wallpaper '$NAME' successfully removed from your computer."
PAGE="C:\\windows\\Web\\WallPaper\\$NAME.htm"

fresh_install
check "installed" installed
drive run "\"$INSTALL\\Uninstall.exe\"" answer-box Uninstall "$QUESTION" no wait-exit any
check "No: no further message" equals "$?" 0
check "No: everything still there" installed
check "No: desktop untouched" desktop_shows "$PAGE"

"$RUN" reg delete "$PENDING" /v PendingFileRenameOperations /f >/dev/null 2>&1
drive run "\"$INSTALL\\Uninstall.exe\"" answer-box Uninstall "$QUESTION" yes \
  answer-box Uninstall "$DONE" ok wait-exit any
check "Yes: asked, then told" equals "$?" 0
check "page gone" no_file "$WALLPAPER_DIR/$NAME.htm"
check "wallpaper folder gone" no_file "$WALLPAPER_DIR/$NAME"
check "resource files gone" no_file "$WALLPAPER_DIR/one.txt"
check "  both of them" no_file "$WALLPAPER_DIR/two.txt"
check "uninstall key gone" no_key "$UNINSTALL_KEY\\$NAME"
check "another program's key of the same name kept" reg_key_exists "HKCU\\Software\\$NAME"
check "previous wallpaper back" desktop_shows 'C:\windows\old.bmp'
pending=$("$RUN" reg query "$PENDING" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
for p in 'E2E Uninstall\Uninstall.exe\0' 'E2E Uninstall\Uninstall.ini\0' 'E2E Uninstall\\0'; do
  check "deletion at restart: $p" grep -qF "C:\\Program Files\\$p" <<<"$pending"
done
check "the control stays installed" test -f "$FLASH_TARGET"
# Installed again before that restart: the restart must not take the new installation's files.
check "installed again before the restart" fresh_install
pending=$("$RUN" reg query "$PENDING" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
check "  its files no longer removed at the restart" not_grep -F "E2E Uninstall" <<<"$pending"
"$RUN" wineboot -r >/dev/null 2>&1
check "  after the restart: Uninstall.exe there" test -f "$(hostpath "$INSTALL")/Uninstall.exe"
check "  and Uninstall.ini" test -f "$(hostpath "$INSTALL")/Uninstall.ini"
"$RUN" reg delete "$PENDING" /v PendingFileRenameOperations /f >/dev/null 2>&1
# Asked, told, ended, and the page is gone: the uninstaller ran.
uninstall_yes() {
  drive run "\"$INSTALL\\Uninstall.exe\"" answer-box Uninstall "$QUESTION" yes \
    answer-box Uninstall "$DONE" ok wait-exit any >/dev/null && no_file "$WALLPAPER_DIR/$NAME.htm"
}
reinstall() {
  drive run "$(cmdline "$WORK/Setup.exe") /Q /P \"$INSTALL\"" \
    answer-box "*" "Wallpaper Exists..Do you want to Replace?" ok wait-exit 0 >/dev/null
}

# The recorded wallpaper comes back even over one the user chose since the installation.
check "installed again" fresh_install
$DOUBLES preset-wallpaper 'C:\windows\third.bmp'
check "uninstalled over a third wallpaper" uninstall_yes
check "recorded wallpaper back over a third one" desktop_shows 'C:\windows\old.bmp'

# Installed over itself, then the user chose another wallpaper: the first installation's record
# of the user's own wallpaper stands, as after a single installation.
check "installed again" fresh_install
check "installed over itself" reinstall
$DOUBLES preset-wallpaper 'C:\windows\third.bmp'
check "uninstalled" uninstall_yes
check "installed over itself: recorded wallpaper back over a third one" desktop_shows 'C:\windows\old.bmp'
"$RUN" reg delete "$PENDING" /v PendingFileRenameOperations /f >/dev/null 2>&1

# A second installation over the first keeps the first one's record of the user's wallpaper,
# which uninstalling puts back.
check "installed again" fresh_install
check "installed over itself" reinstall
check "  the page is on the desktop" desktop_shows "$PAGE"
check "second installation over the first" \
  equals "$(ini_value "$(hostpath "$INSTALL")/Uninstall.ini" Uninstaller PrevSettings)" 'C:\windows\old.bmp'

# The Windows 9x family: WinInit.ini's rename section instead.
"$RUN" reg add 'HKCU\Software\Wine\AppDefaults\Uninstall.exe' /v Version /d win98 /f >/dev/null
wininit="$DRIVE_C/windows/wininit.ini"
rm -f "$DRIVE_C"/windows/[Ww]in[Ii]nit.ini
printf '[Boot]\r\nShell=Explorer.exe\r\n' >"$wininit"
drive run "\"$INSTALL\\Uninstall.exe\"" answer-box Uninstall "$QUESTION" yes \
  answer-box Uninstall "$DONE" ok wait-exit any
check "9x: uninstalled" equals "$?" 0
"$RUN" reg delete 'HKCU\Software\Wine\AppDefaults\Uninstall.exe' /f >/dev/null
check "the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'
section=$(tr -d '\r' <"$wininit")
check "9x: other lines kept (lower case)" grep -qx 'shell=explorer.exe' <<<"$section"
check "9x: rename section" grep -qx '\[rename\]' <<<"$section"
check "9x: Uninstall.exe" grep -qx 'NUL=c:\\program files\\e2e uninstall\\uninstall.exe' <<<"$section"
check "9x: Uninstall.ini" grep -qx 'NUL=c:\\program files\\e2e uninstall\\uninstall.ini' <<<"$section"
check "9x: install folder" grep -qx 'NUL=c:\\program files\\e2e uninstall\\' <<<"$section"
check "9x: nothing through MoveFileEx" no_key "$PENDING" PendingFileRenameOperations
# Installed again before that restart: those three lines go, the rest stays.
printf 'NUL=c:\\other\\gone.txt\r\n' >>"$wininit"
"$RUN" reg add 'HKCU\Software\Wine\AppDefaults\Setup.exe' /v Version /d win98 /f >/dev/null
check "9x: installed again before the restart" fresh_install
check "  whole" installed
# There MoveFileEx does nothing: files are replaced through two renames, the old kept aside.
# A run stopped between them left "<file>.old": beside its file it is deleted, in place of a
# missing file it comes back first; either way the replacement goes on.
printf 'stale' >"$(hostpath "$INSTALL")/Uninstall.exe"
printf 'older' >"$(hostpath "$INSTALL")/Uninstall.exe.old"
mv "$WALLPAPER_DIR/$NAME.htm" "$WALLPAPER_DIR/$NAME.htm.old"
check "9x: installed over itself" reinstall
check "  whole" installed
check "  Uninstall.exe replaced" same_file "$BIN/zarvane-installer.exe" "$(hostpath "$INSTALL")/Uninstall.exe"
check "  nothing left aside" equals \
  "$(find "$(hostpath "$INSTALL")" "$WALLPAPER_DIR" "$DRIVE_C/windows" -maxdepth 2 -name '*.old')" ''
"$RUN" reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null
# Replaced through renames, the file may now be spelt in another case.
wininit=$(find "$DRIVE_C/windows" -maxdepth 1 -iname wininit.ini)
section=$(tr -d '\r' <"$wininit")
check "9x: its lines gone" not_grep -F 'e2e uninstall' <<<"$section"
check "  another deletion kept" grep -qx 'NUL=c:\\other\\gone.txt' <<<"$section"
check "  other lines kept" grep -qx 'shell=explorer.exe' <<<"$section"
rm -f "$wininit"
finish
