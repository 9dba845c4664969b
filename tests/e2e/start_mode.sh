#!/bin/bash
# What the program does is decided by its own file name, before anything else: Uninstall.exe in
# any letter case uninstalls, every other name installs (and then needs a payload).
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case mode
folder="$DRIVE_C/e2e-mode"
rm -rf "$folder" && mkdir -p "$folder"
cp "$BIN/zarvane-installer.exe" "$folder/UNINSTALL.EXE"
cp "$BIN/zarvane-installer.exe" "$folder/Uninstall2.exe"

# No Uninstall.ini beside it: the uninstaller's own message, nothing looked for in a payload.
drive run '"C:\e2e-mode\UNINSTALL.EXE"' \
  answer-box Uninstall "The uninstall information in 'C:\\e2e-mode\\Uninstall.ini' is missing*" ok \
  wait-exit any
check "UNINSTALL.EXE uninstalls" equals "$?" 0

# Any other name installs: the bare program carries no payload, as a cut-off download.
drive run '"C:\e2e-mode\Uninstall2.exe"' \
  answer-box Error "The installer is damaged; download it again." ok wait-exit 2
check "Uninstall2.exe installs, and finds no payload" equals "$?" 0

# /P without a folder after it: the dialog proposes its default folder.
install_flash_double
CFG_NAME="E2E Mode" write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
make_installer "$WORK/Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
drive run "$(cmdline "$WORK/Setup.exe") /P" wait-window "E2E Mode Installation" \
  expect-text 1006 'C:\Program Files\E2E Mode' close wait-exit any
check "/P alone: the default folder" equals "$?" 0
drive run "$(cmdline "$WORK/Setup.exe") /p C:\\first -Q- C:\\second" wait-window "E2E Mode Installation" \
  expect-text 1006 'C:\second' close wait-exit any
check "/p with two folders: the second" equals "$?" 0

# An unusable temporary folder (missing, or longer than a path may be): a message, and nothing
# extracted into the current folder instead, where a file of a member's name is kept.
printf 'mine\r\n' >"$folder/movie.swf"
long="C:\\$(printf 'x%.0s' {1..300})"
printf 'run "%s"\nanswer-box Error "Unable to extract files to *" ok\nwait-exit 2\n' \
  "$(winpath "$WORK/Setup.exe")" >"$WORK/unusable.txt"
for temp in 'C:\e2e-mode\missing' "$long"; do
  "$RUN" cmd /c "cd /d C:\e2e-mode&&set TEMP=$temp&&set TMP=$temp&&$(winpath "$BIN/zarvane-driver.exe") -f $(winpath "$WORK/unusable.txt")"
  check "unusable temporary folder ${temp:0:20}...: message" equals "$?" 0
  check "  nothing extracted into the current folder" no_file "$folder/instcfg.ini"
  check "  a file there of a member's name kept" grep -qx mine <(tr -d '\r' <"$folder/movie.swf")
done
rm -rf "$folder"
finish
