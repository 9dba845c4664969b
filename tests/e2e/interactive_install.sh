#!/bin/bash
# The install dialog driven by hand: the licence, the layout without one, Decline, an empty
# path, a new folder refused and one accepted, and a path typed with blanks around it.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case interactive
NAME="E2E Interactive"
forget_wallpaper "$NAME"
$DOUBLES reset
install_flash_double
for d in e2e-refused e2e-accepted; do rm -rf "$DRIVE_C/$d"; done

write_movie "$WORK/movie.swf"
printf 'Licence line one.\r\nLicence line two.\r\n' >"$WORK/licence.txt"
CFG_NAME=$NAME CFG_LICENSE=licence.txt write_config "$WORK/instcfg.ini"
make_installer "$WORK/With Licence.exe" "$WORK/instcfg.ini" "$WORK/licence.txt" "$WORK/movie.swf"
CFG_NAME=$NAME write_config "$WORK/instcfg.ini"
make_installer "$WORK/Without Licence.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"

# Decline installs nothing; the dialog's geometry is kept for the comparison below.
drive run "$(cmdline "$WORK/With Licence.exe")" wait-window "$NAME Installation" \
  expect-text 1007 "Licence line one.*Licence line two.*" expect-state 1007 visible \
  expect-text 1003 "Accept && &Install" expect-text 1002 "&Decline" \
  expect-text 1006 "C:\\Program Files\\$NAME" dump click 1002 wait-exit 1 >"$WORK/with.txt"
check "licence shown, Decline ends the dialog" equals "$?" 0
check "Decline installs nothing" no_file "$WALLPAPER_DIR/$NAME.htm"

drive run "$(cmdline "$WORK/Without Licence.exe")" wait-window "$NAME Installation" \
  expect-state 1007 hidden expect-text 1003 "&Install" expect-text 1002 "&Close" \
  dump close wait-exit any >"$WORK/without.txt"
check "no licence: Install and Close, licence box hidden" equals "$?" 0

# 56 dialog units shorter: exactly the distance from the licence box's top to the status line's.
height() { sed -n "s/^window .* size [0-9]*x\([0-9]*\) .*/\1/p" "$1"; }
top() { sed -n "s/^  control $2 class [^ ]* at [0-9]*,\([0-9]*\) .*/\1/p" "$1"; }
dy=$(($(top "$WORK/with.txt" 1010) - $(top "$WORK/with.txt" 1007)))
check "dialog shorter by the licence box's share" equals "$(($(height "$WORK/with.txt") - $(height "$WORK/without.txt")))" "$dy"
check "status line moved to where the licence box was" equals "$(top "$WORK/without.txt" 1010)" "$(top "$WORK/with.txt" 1007)"
# Install's right edge stays; both buttons end up Decline's width.
right() { sed -n "s/^  control $2 class [^ ]* at \([0-9]*\),[0-9]* size \([0-9]*\)x.*/\1 \2/p" "$1" | awk '{ print $1 + $2 }'; }
width() { sed -n "s/^  control $2 class [^ ]* at [0-9]*,[0-9]* size \([0-9]*\)x.*/\1/p" "$1"; }
check "Install keeps its right edge" equals "$(right "$WORK/without.txt" 1003)" "$(right "$WORK/with.txt" 1003)"
check "buttons of equal width" equals "$(width "$WORK/without.txt" 1003)" "$(width "$WORK/with.txt" 1002)"

# Empty path, then a new folder refused, then one accepted (typed with blanks around it).
drive run "$(cmdline "$WORK/With Licence.exe")" wait-window "$NAME Installation" \
  set-text 1006 "   " click 1003 \
  answer-box "Error !" "Install Path is empty. Please specify a valid path." ok \
  set-text 1006 'C:\e2e-refused' click 1003 \
  answer-box "Folder does not exist !" "Folder C:\\e2e-refused does not exist.*Do you want to create it?" no \
  expect-state 1003 enabled \
  set-text 1006 '  C:\e2e-accepted  ' click 1003 \
  answer-box "Folder does not exist !" "Folder C:\\e2e-accepted does not exist.*" yes \
  wait-exit 0
check "empty path and new folders asked about" equals "$?" 0
check "refused folder removed again" no_file "$DRIVE_C/e2e-refused"
check "accepted folder holds Uninstall.exe" test -f "$DRIVE_C/e2e-accepted/Uninstall.exe"
check "accepted folder holds Uninstall.ini" test -f "$DRIVE_C/e2e-accepted/Uninstall.ini"
check "uninstall command names the trimmed folder" equals \
  "$(reg_value "$UNINSTALL_KEY\\$NAME" UninstallString)" '"C:\e2e-accepted\Uninstall.exe"'
check "wallpaper installed" test -f "$WALLPAPER_DIR/$NAME.htm"

# A path that names an existing file is no folder: the system's message, and the dialog stays,
# shown (with its licence) when the install was a quiet one, for the user to correct the path.
forget_wallpaper "$NAME"
drive run "$(cmdline "$WORK/With Licence.exe") /Q /P C:\windows\win.ini" \
  answer-box "Error !" "?*" ok wait-window "$NAME Installation" \
  expect-text 1006 'C:\windows\win.ini' expect-text 1007 "Licence line one.*" \
  expect-state 3000 visible close wait-exit any
check "a file as install path refused" equals "$?" 0
check "  nothing installed" no_file "$WALLPAPER_DIR/$NAME.htm"

# An existing folder asks nothing.
drive run "$(cmdline "$WORK/Without Licence.exe")" wait-window "$NAME Installation" \
  set-text 1006 'C:\e2e-accepted' click 1003 wait-exit 0
check "existing folder: no question" equals "$?" 0
forget_wallpaper "$NAME"
finish
