#!/bin/bash
# Installs and uninstalls as an administrator's script runs them: /S shows no window at all (the
# driver watches for any), the exit code tells the outcome, /LOG= records what was done, and the
# entry in the list of programs is complete. On the stand-in Active Desktop and on Wine's own,
# whose "Failed to Get Desktop Settings" goes into the log instead of waiting for a click.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case silent
NAME="E2E Silent"
INSTALL='C:\Program Files\E2E Silent'
KEY="$UNINSTALL_KEY\\$NAME"
install_flash_double
trap 'restore_flash; $DOUBLES register-desktop' EXIT

CFG_NAME=$NAME CFG_RESOURCES="data.xml" write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
printf '<data/>\r\n' >"$WORK/data.xml"
make_installer "$WORK/Silent Setup.exe" "$WORK/instcfg.ini" "$WORK/data.xml" "$WORK/movie.swf"
LOG="$WORK/install.log"
unseen() {  # unseen CODE COMMAND-LINE: runs it; no window may ever show, and it ends with CODE
  drive timeout 60000 run "$2" wait-exit-unseen "$1" >>"$WORK/driver.txt"
}
setup_line() { printf '%s %s' "$(cmdline "$WORK/Silent Setup.exe")" "$*"; }
fresh() {
  forget_wallpaper "$NAME"
  rm -rf "$(hostpath "$INSTALL")" "$WALLPAPER_DIR/data.xml"
  rm -f "$LOG"
}
snapshot() {
  { ls -A "$WALLPAPER_DIR" "$DRIVE_C/Program Files"; "$RUN" reg query "$UNINSTALL_KEY" | tr -d '\r'; } >"$1" 2>&1
}
logged() { grep -qiF -- "$1" <(tr -d '\r' <"$LOG") || { echo "     not in the log: $1"; return 1; }; }

# With the stand-in desktop: installs into a new folder without asking, exits 0.
fresh
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'
unseen 0 "$(setup_line /S /P "\"$INSTALL\"" "/LOG=$(winpath "$LOG")")"
check "/S: no window, exit code 0" equals "$?" 0
page="$WALLPAPER_DIR/$NAME.htm"
check "page written" test -f "$page"
check "movie in the wallpaper folder" same_file "$WORK/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
check "resource beside the page" same_file "$WORK/data.xml" "$WALLPAPER_DIR/data.xml"
check "desktop shows the page" desktop_shows "C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "no private folder left" no_private_folder

folder=$(hostpath "$INSTALL")
check "DisplayName" equals "$(reg_value "$KEY" DisplayName)" "$NAME"
check "UninstallString quoted" equals "$(reg_value "$KEY" UninstallString)" "\"$INSTALL\\Uninstall.exe\""
check "QuietUninstallString" equals "$(reg_value "$KEY" QuietUninstallString)" "\"$INSTALL\\Uninstall.exe\" /S"
check "DisplayIcon" equals "$(reg_value "$KEY" DisplayIcon)" "$INSTALL\\Uninstall.exe,0"
check "InstallLocation" equals "$(reg_value "$KEY" InstallLocation)" "$INSTALL"
bytes=$(cat "$folder/Uninstall.exe" "$page" "$WALLPAPER_DIR/$NAME"/* "$WALLPAPER_DIR/data.xml" | wc -c)
check "EstimatedSize in KiB (with Uninstall.ini)" equals "$(reg_dword "$KEY" EstimatedSize)" "$(((bytes + 1023) / 1024 + 1))"
check "NoModify" equals "$(reg_dword "$KEY" NoModify)" 1
check "NoRepair" equals "$(reg_dword "$KEY" NoRepair)" 1
check "Uninstall.ini as before" equals "$(ini_value "$folder/Uninstall.ini" Uninstaller PrevSettings)" 'C:\windows\old.bmp'
check "log: the install folder" logged "created folder $INSTALL"
check "log: the page" logged "wrote C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "log: the wallpaper folder" logged "wrote C:\\windows\\Web\\WallPaper\\$NAME\\movie.swf"
check "log: the key" logged "set HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$NAME UninstallString = \"$INSTALL\\Uninstall.exe\""
check "log: the uninstaller" logged "wrote $INSTALL\\Uninstall.exe"
check "log: the exit code" logged "exit code 0"

# Installed over itself: the wallpaper folder is replaced without asking.
rm -f "$LOG"
unseen 0 "$(setup_line -s /P "\"$INSTALL\"" "/LOG=$(winpath "$LOG")")"
check "again over itself: no window, exit code 0" equals "$?" 0
check "log: the question it did not ask" logged "message not shown: Wallpaper Exists..Do you want to Replace? -> taken as OK"

# Uninstall.exe /S: no question, no report, everything gone.
rm -f "$LOG"
unseen 0 "\"$INSTALL\\Uninstall.exe\" /S /LOG=$(winpath "$LOG")"
check "Uninstall.exe /S: no window, exit code 0" equals "$?" 0
check "page gone" no_file "$page"
check "wallpaper folder gone" no_file "$WALLPAPER_DIR/$NAME"
check "resource gone" no_file "$WALLPAPER_DIR/data.xml"
check "key gone" no_key "$KEY"
# Installed over itself, the first installation's record stands: the user's wallpaper comes back.
check "the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'
check "log: the question taken as Yes" logged "message not shown: Are you sure you want to uninstall the Zarvane '$NAME'? -> taken as Yes"
check "log: the page removed" logged "removed C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "log: the key removed" logged "removed key HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$NAME"
check "log: the exit code" logged "exit code 0"

# Failures exit 2 and touch nothing: a file as install path, a damaged installer, an uninstaller
# without its record.
fresh
snapshot "$WORK/before.txt"
unseen 2 "$(setup_line /S /P 'C:\windows\win.ini' "/LOG=$(winpath "$LOG")")"
check "/S with a file as install path: exit code 2" equals "$?" 0
check "log: the message it did not show" logged "message not shown: "
head -c -200 "$WORK/Silent Setup.exe" >"$WORK/Damaged Setup.exe"
unseen 2 "$(cmdline "$WORK/Damaged Setup.exe") /S /P \"$INSTALL\""
check "/S on a damaged installer: exit code 2" equals "$?" 0
snapshot "$WORK/after.txt"
check "  neither touched wallpapers, folders nor keys" same_file "$WORK/before.txt" "$WORK/after.txt"
mkdir -p "$DRIVE_C/e2e-silent-bare"
cp "$BIN/zarvane-installer.exe" "$DRIVE_C/e2e-silent-bare/Uninstall.exe"
unseen 2 '"C:\e2e-silent-bare\Uninstall.exe" /S'
check "Uninstall.exe /S without Uninstall.ini: exit code 2" equals "$?" 0
rm -rf "$DRIVE_C/e2e-silent-bare"

# Closing the dialog is declining too.
drive run "$(setup_line)" wait-window "$NAME Installation" close wait-exit 1 >>"$WORK/driver.txt"
check "closed dialog: exit code 1" equals "$?" 0

# Wine's own Active Desktop, which answers E_NOTIMPL: still no window.
fresh
$DOUBLES restore-desktop
unseen 0 "$(setup_line /S /P "\"$INSTALL\"" "/LOG=$(winpath "$LOG")")"
check "plain prefix /S: no window, exit code 0" equals "$?" 0
check "  log: the desktop's message it did not show" logged "message not shown: Failed to Get Desktop Settings"
check "  page written" test -f "$page"
unseen 0 "\"$INSTALL\\Uninstall.exe\" /S"
check "  Uninstall.exe /S: exit code 0" equals "$?" 0
check "  page gone" no_file "$page"
$DOUBLES register-desktop
fresh
finish
