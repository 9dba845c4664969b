#!/bin/bash
# The installer and the uninstaller touch only what is theirs: folders that Windows, other
# wallpapers, whole drives or other programs' uninstallers use are refused as install folders,
# another program's entry in the list of programs is never taken over, an edited Uninstall.ini
# cannot steer the uninstaller to another installation, names that alias another wallpaper are
# refused, and /LOG= never grows a file that is not a log.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case ownership
NAME="E2E Own"
INSTALL='C:\Program Files\E2E Own'
install_flash_double
DOS="$PREFIX/dosdevices"
trap 'restore_flash; "$RUN" reg delete "$UNINSTALL_KEY\\VictimApp" /f >/dev/null 2>&1; rm -f "$DOS/u:" "$DOS/w:" "$DOS/x:"' EXIT
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'

write_movie "$WORK/movie.swf"
setup() {  # setup NAME: an installer for wallpaper NAME, as $WORK/<NAME> Setup.exe
  CFG_NAME=$1 write_config "$WORK/instcfg.ini"
  make_installer "$WORK/$1 Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
}
unseen() {  # unseen CODE COMMAND-LINE: no window ever shows, and it ends with CODE
  drive timeout 60000 run "$2" wait-exit-unseen "$1" >>"$WORK/driver.txt"
}
silently() {  # silently CODE NAME ARGUMENTS...: the installer of NAME with /S
  local code=$1 name=$2; shift 2
  unseen "$code" "$(cmdline "$WORK/$name Setup.exe") /S $*"
}
snapshot() {
  { ls -AR "$WALLPAPER_DIR" "$DRIVE_C/Program Files" "$DRIVE_C/windows/win.ini";
    "$RUN" reg query "$UNINSTALL_KEY" /s | tr -d '\r'; } >"$1" 2>&1
}
forget_wallpaper "$NAME"
forget_wallpaper "$NAME."
rm -rf "$(hostpath "$INSTALL")" "$DRIVE_C/uv" "$DRIVE_C/e2e-other"
setup "$NAME"

# Folders that are not the wallpaper's own to hold its uninstaller.
mkdir -p "$WALLPAPER_DIR/e2e-below"
mkdir -p "$DRIVE_C/e2e-other/app" "$DRIVE_C/e2e-other/wall"
printf 'MZ another program\r\n' >"$DRIVE_C/e2e-other/app/Uninstall.exe"
printf '[Uninstaller]\r\nRegPath=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other\r\n' \
  >"$DRIVE_C/e2e-other/wall/Uninstall.ini"
snapshot "$WORK/before.txt"
for path in 'C:\windows\Web\WallPaper\E2E Own' 'C:\windows\Web\WallPaper' 'C:\windows\web\wallpaper\x\..\Demo' \
  'C:\windows' 'C:\' 'Space' 'C:\e2e-other\app' 'C:\e2e-other\wall'; do
  silently 2 "$NAME" /P "\"$path\""
  check "install folder '$path' refused: exit code 2" equals "$?" 0
done
# The same folders spelt otherwise: the wallpaper directory's short name, drive letters mapped
# onto it or onto the drive that holds the Windows folder.
ln -sfn ../drive_c/windows/Web/WallPaper "$DOS/w:"
ln -sfn ../drive_c "$DOS/u:"
short_dir=$(drive short-path 'C:\windows\Web\WallPaper' | tr -d '\r')
check "the system gives the wallpaper directory a short name" test -n "$short_dir"
for path in "$short_dir\\Demo" 'W:\Demo' 'W:\..\Demo' 'U:\WINDOWS' 'U:\windows\web\wallpaper\e2e-below\Demo' \
  "U:\\windows\\web\\${short_dir##*\\}\\Demo"; do
  silently 2 "$NAME" /P "\"$path\""
  check "install folder '$path' refused: exit code 2" equals "$?" 0
done
snapshot "$WORK/after.txt"
check "  nothing touched" same_file "$WORK/before.txt" "$WORK/after.txt"

# /P takes the last plain argument: an unquoted path with blanks leaves a relative word.
mkdir -p "$DRIVE_C/uv"
silently 2 "$NAME" /P 'C:\uv\With Space' /Q
check "unquoted path with a blank: refused, exit code 2" equals "$?" 0
check "  nothing made of either word" no_file "$DRIVE_C/uv/With"
silently 0 "$NAME" /P 'C:\uv\First' '"C:\uv\With Space"' /Q
check "two paths: the last one taken, exit code 0" equals "$?" 0
check "  Uninstall.exe in the last path" test -f "$DRIVE_C/uv/With Space/Uninstall.exe"
check "  nothing in the first" no_file "$DRIVE_C/uv/First"
check "  entry runs it" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" UninstallString)" '"C:\uv\With Space\Uninstall.exe"'

# Installed over itself, into another folder: the first installation's record of the user's
# wallpaper stays, and uninstalling puts it back.
silently 0 "$NAME" /P "\"$INSTALL\""
check "installed again over itself: exit code 0" equals "$?" 0
check "  previous wallpaper still recorded" equals "$(ini_value "$(hostpath "$INSTALL")/Uninstall.ini" Uninstaller PrevSettings)" 'C:\windows\old.bmp'
check "  the entry follows the new folder" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" InstallLocation)" "$INSTALL"

# The first folder's uninstaller no longer owns the entry or the wallpaper: it leaves both.
unseen 2 '"C:\uv\With Space\Uninstall.exe" /S'
check "stale uninstaller refused: exit code 2" equals "$?" 0
check "  entry kept" reg_key_exists "$UNINSTALL_KEY\\$NAME"
check "  wallpaper kept" test -f "$WALLPAPER_DIR/$NAME/movie.swf"

# A name with a trailing dot is the folder and page of the name without it.
setup "$NAME."
snapshot "$WORK/before.txt"
silently 2 "$NAME." /P '"C:\e2e-other\dot"'
check "name '$NAME.' refused: exit code 2" equals "$?" 0
snapshot "$WORK/after.txt"
check "  '$NAME' untouched" same_file "$WORK/before.txt" "$WORK/after.txt"

# Another program's entry of the wallpaper's name is never taken over.
"$RUN" reg add "$UNINSTALL_KEY\\VictimApp" /v DisplayName /d "Victim Application" /f >/dev/null
"$RUN" reg add "$UNINSTALL_KEY\\VictimApp" /v UninstallString /d 'C:\victim\Uninstall.exe' /f >/dev/null
setup VictimApp
snapshot "$WORK/before.txt"
silently 2 VictimApp /P '"C:\e2e-other\victim"' /LOG="$(winpath "$WORK/victim.log")"
check "another program's entry: exit code 2" equals "$?" 0
snapshot "$WORK/after.txt"
check "  its entry, the wallpapers and folders untouched" same_file "$WORK/before.txt" "$WORK/after.txt"
check "  said why" grep -q "Another program is registered as 'VictimApp'" "$WORK/victim.log"
drive run "$(cmdline "$WORK/VictimApp Setup.exe") /Q /P C:\\e2e-other\\victim" \
  answer-box "*" "Another program is registered as 'VictimApp'*" ok \
  wait-window "VictimApp Installation" close wait-exit 1 >>"$WORK/driver.txt"
check "  quiet: told, then the dialog is there to close" equals "$?" 0

# An Uninstall.ini edited to name another installation removes nothing.
folder=$(hostpath "$INSTALL")
cp "$folder/Uninstall.ini" "$WORK/Uninstall.ini"
mkdir -p "$WALLPAPER_DIR/VictimApp" && printf 'theirs' >"$WALLPAPER_DIR/VictimApp/movie.swf"
printf 'theirs' >"$WALLPAPER_DIR/VictimApp.htm"
sed -i 's/E2E Own/VictimApp/g' "$folder/Uninstall.ini"
snapshot "$WORK/before.txt"
unseen 2 "\"$INSTALL\\Uninstall.exe\" /S"
check "edited Uninstall.ini: exit code 2" equals "$?" 0
snapshot "$WORK/after.txt"
check "  the other entry and wallpaper untouched" same_file "$WORK/before.txt" "$WORK/after.txt"
rm -rf "$WALLPAPER_DIR/VictimApp" "$WALLPAPER_DIR/VictimApp.htm"

# /LOG= naming a file that is no log: the run goes on and the file stays as it was.
cp "$WORK/Uninstall.ini" "$folder/Uninstall.ini"
cp "$DRIVE_C/windows/win.ini" "$WORK/win.ini"
unseen 0 "\"$INSTALL\\Uninstall.exe\" /S /LOG=C:\\windows\\win.ini"
check "uninstalled with /LOG=win.ini: exit code 0" equals "$?" 0
check "  win.ini untouched" same_file "$WORK/win.ini" "$DRIVE_C/windows/win.ini"
check "  the user's wallpaper back" grep -qx 'Wallpaper=C:\\windows\\old.bmp' <($DOUBLES state | tr -d '\r')
check "  wallpaper gone" no_file "$WALLPAPER_DIR/$NAME"

# Its own entry stays its own after the install folder was deleted by hand.
silently 0 "$NAME" /P '"C:\uv\Gone"'
check "installed into a folder that goes" equals "$(reg_value "$UNINSTALL_KEY\\$NAME" InstallLocation)" 'C:\uv\Gone'
rm -rf "$DRIVE_C/uv/Gone"
silently 0 "$NAME" /P "\"$INSTALL\""
check "installed again after its folder was deleted by hand: exit code 0" equals "$?" 0

# Installed through a drive letter mapped onto a folder, uninstalled through that folder's own
# path: the entry is still its own.
mkdir -p "$DRIVE_C/uv"
ln -sfn ../drive_c/uv "$DOS/x:"
silently 0 "$NAME" /P '"X:\Mapped"'
check "installed through a mapped drive letter: exit code 0" equals "$?" 0
unseen 0 '"C:\uv\Mapped\Uninstall.exe" /S'
check "  uninstalled through the folder's own path: exit code 0" equals "$?" 0
check "  wallpaper gone" no_file "$WALLPAPER_DIR/$NAME"
check "  entry gone" no_key "$UNINSTALL_KEY\\$NAME"

forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")" "$DRIVE_C/uv" "$DRIVE_C/e2e-other" "$WALLPAPER_DIR/e2e-below"
finish
