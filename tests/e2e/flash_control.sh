#!/bin/bash
# The Flash control step at start-up, against the stand-in control: what is copied to the
# system folder's Macromed\Flash and which copy's registration runs.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case flash
NAME="E2E Flash"
CFG_NAME=$NAME write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
cp "$BIN/doubles/flash.ocx" "$WORK/flash.ocx"
make_installer "$WORK/None Packed.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
make_installer "$WORK/Packed.exe" "$WORK/instcfg.ini" "$WORK/flash.ocx" "$WORK/movie.swf"
cp "$BIN/doubles/large/flash.ocx" "$WORK/flash.ocx"
make_installer "$WORK/Large Packed.exe" "$WORK/instcfg.ini" "$WORK/flash.ocx" "$WORK/movie.swf"
registered() { $DOUBLES log flash | grep -c '^DllRegisterServer' || true; }

# None installed, none packed: the registration message, and the installer ends.
$DOUBLES reset
# Only where the desktop shows pages is the control needed: make sure the stand-in serves it,
# whatever ran in the prefix before.
$DOUBLES register-desktop
$DOUBLES remove-flash
trap restore_flash EXIT
# A control that lies in the temporary folder must not pass for a packed one, nor be touched.
cp "$BIN/doubles/flash.ocx" "$TEMP_DIR/flash.ocx"
drive timeout 30000 run "$(cmdline "$WORK/None Packed.exe") /LOG=$(winpath "$WORK/none-packed.log")" \
  answer-box "Error" "Unable to register Shockwave Flash ActiveX control. Please close all other applications and try again." ok \
  wait-exit any
rc=$?
check "none installed, none packed: message, then the end" equals "$rc" 0
[ "$rc" = 0 ] || cat "$WORK/none-packed.log" 2>/dev/null
check "nothing copied" no_file "$FLASH_TARGET"
check "control in the temporary folder left alone" same_file "$BIN/doubles/flash.ocx" "$TEMP_DIR/flash.ocx"
rm -f "$TEMP_DIR/flash.ocx"
check "no extracted file left behind" no_private_folder

# Packed, none installed: copied and registered from its new place.
drive run "$(cmdline "$WORK/Packed.exe")" wait-window "$NAME Installation" close wait-exit any
check "packed, none installed: dialog shown" equals "$?" 0
check "packed control copied" same_file "$BIN/doubles/flash.ocx" "$FLASH_TARGET"
check "registration ran once" equals "$(registered)" 1
check "registered from the system folder" grep -qi 'DllRegisterServer "C:\\windows\\system32\\Macromed\\Flash\\flash.ocx"' <($DOUBLES log flash)
check "class registered" reg_key_exists "$FLASH_CLSID_KEY"

# Installed, and the packed one is not larger: the installed one is registered again.
$DOUBLES reset
drive run "$(cmdline "$WORK/Packed.exe")" wait-window "$NAME Installation" close wait-exit any
check "same size packed: registration of the installed control" equals "$(registered)" 1

# Installed, and the packed one is larger: nothing copied, nothing registered, start-up goes on.
$DOUBLES reset
drive run "$(cmdline "$WORK/Large Packed.exe")" wait-window "$NAME Installation" close wait-exit any
check "larger packed: dialog shown" equals "$?" 0
check "larger packed: installed file untouched" same_file "$BIN/doubles/flash.ocx" "$FLASH_TARGET"
check "larger packed: no registration" equals "$(registered)" 0

# A registration export that fails is a failure; a file without one is fine.
$DOUBLES preset flash RegisterResult 0x80004005
drive run "$(cmdline "$WORK/None Packed.exe")" \
  answer-box "Error" "Unable to register Shockwave Flash ActiveX control.*" ok wait-exit any
check "failing DllRegisterServer: message" equals "$?" 0
$DOUBLES reset
cp "$BIN/doubles/noregister/flash.ocx" "$FLASH_TARGET"
drive run "$(cmdline "$WORK/None Packed.exe")" wait-window "$NAME Installation" close wait-exit any
check "control without DllRegisterServer: start-up goes on" equals "$?" 0
finish
