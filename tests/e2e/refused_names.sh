#!/bin/bash
# Names that would make the installer or the uninstaller work on the shared wallpaper directory,
# the parent uninstall key or places elsewhere are refused with a message; nothing is touched.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case refused
$DOUBLES reset
install_flash_double
registered() { $DOUBLES log flash | grep -c '^DllRegisterServer' || true; }
# The stand-in's log holds its registration by the test: it writes where it is read.
check "the control's registration is seen" equals "$(registered)" 1
write_movie "$WORK/movie.swf"
snapshot() {
  { ls -A "$WALLPAPER_DIR" 2>/dev/null; "$RUN" reg query "$UNINSTALL_KEY" 2>/dev/null | tr -d '\r'; } >"$1"
}
snapshot "$WORK/before.txt"

i=0
for name in "" "." ".." " . " "..\\..\\System32" "a/b" "x:y" "con" "nul .txt" "aux .xml"; do
  i=$((i + 1))
  CFG_NAME=$name write_config "$WORK/instcfg.ini"
  make_installer "$WORK/refused$i.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
  drive run "$(cmdline "$WORK/refused$i.exe") /Q" \
    answer-box Error "This installer names its wallpaper '*', which cannot be used:*Nothing has been installed." ok \
    wait-exit 2
  check "install refuses name '$name'" equals "$?" 0
done

# Payloads without what they cannot install without (the configuration, the movie: a member
# name changed by one byte) are damaged.
CFG_NAME="E2E Damaged" CFG_RESOURCES=data.xml write_config "$WORK/instcfg.ini"
printf '<data/>\r\n' >"$WORK/data.xml"
cp "$WORK/movie.swf" "$WORK/movie.swg"
make_installer "$WORK/damaged1.exe" "$WORK/data.xml" "$WORK/movie.swf"
make_installer "$WORK/damaged2.exe" "$WORK/instcfg.ini" "$WORK/data.xml" "$WORK/movie.swg"
for i in 1 2; do
  drive run "$(cmdline "$WORK/damaged$i.exe") /Q" \
    answer-box Error "The installer is damaged; download it again." ok wait-exit 2
  check "damaged payload $i refused" equals "$?" 0
done
snapshot "$WORK/after.txt"
check "installs touched neither wallpapers nor uninstall keys" same_file "$WORK/before.txt" "$WORK/after.txt"
check "  nor the control's registration" equals "$(registered)" 1
check "  and left nothing in the temporary folder" no_private_folder

# Uninstall.ini records that do not name one wallpaper of this installer's own.
folder="$DRIVE_C/e2e-damaged"
root='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
page='C:\windows\Web\WallPaper\Real.htm'
i=0
while IFS='|' read -r scr reg; do
  i=$((i + 1))
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$BIN/zarvane-installer.exe" "$folder/Uninstall.exe"
  [ "$scr$reg" = "-" ] || printf '[Uninstaller]\r\nSCRFile=%s\r\nRegPath=%s\r\nResource=x.txt\r\nPrevSettings=None\r\n' \
    "$scr" "$reg" >"$folder/Uninstall.ini"
  drive run 'C:\e2e-damaged\Uninstall.exe' \
    answer-box Uninstall "The uninstall information in 'C:\\e2e-damaged\\Uninstall.ini' is missing or damaged*Nothing has been removed." ok \
    wait-exit any
  check "uninstall refuses record $i ($reg)" equals "$?" 0
  check "  and keeps itself" test -f "$folder/Uninstall.exe"
done <<RECORDS
-|
$page|Real
$page|$root\\
$page|$root\\..
C:\\windows\\win.ini|$root\\Real
$page|SOFTWARE\\Classes\\Real
RECORDS
snapshot "$WORK/after.txt"
check "uninstalls touched neither wallpapers nor uninstall keys" same_file "$WORK/before.txt" "$WORK/after.txt"
check "  nor the Windows folder" test -f "$DRIVE_C/windows/win.ini"
session=$("$RUN" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager')
check "  and scheduled nothing: the renames were read" equals "$?" 0
check "    none of them in the record's folder" equals "$(grep -ci e2e-damaged <<<"$session")" 0
rm -rf "$folder"
finish
