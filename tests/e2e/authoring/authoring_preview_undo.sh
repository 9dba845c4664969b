#!/bin/bash
# The preview always gives the desktop wallpaper back: after a killed run (at the next start),
# with two copies previewing at once in either order of Cancel, when the session ends while the
# warning is open, and when the preview cannot be shown at all. Where the desktop settings cannot
# be read, it shows the still picture as the installer does, and gives the image wallpaper back.
. "$(dirname "$0")/authoring_lib.sh" "$1"
prepare_prefix
new_case authoring_preview_undo
forget_settings
write_movie "$WORK/movie.swf"
printf 'hello' >"$WORK/greeting.txt"
W=$(winpath "$WORK")
OLD='C:\windows\old.bmp'
PAGE='C:\windows\Web\WallPaper\ZarvanePreview.htm'
desktop() { $DOUBLES state | sed -n 's/^Wallpaper=//p' | tr -d '\r'; }
fresh_desktop() { $DOUBLES reset; $DOUBLES preset-wallpaper "$OLD"; }
# after MARK COMMAND...: runs COMMAND in the background once the driver's checkpoint MARK appears,
# and lets the driver go on at once.
after() {
  local mark=$1; shift
  ( for _ in $(seq 300); do [ -f "$mark" ] && break; sleep 0.1; done
    rm -f "$mark"; "$@" ) &
}
wait_for() { for _ in $(seq 300); do [ -f "$1" ] && return 0; sleep 0.1; done; return 1; }
preview_on() { echo set-text 1020 "$W\\movie.swf" set-text 1021 "$W\\greeting.txt;" click 1067 expect-state 1068 visible; }
mkdir -p "$WALLPAPER_DIR"
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 1 /f >/dev/null

# A run killed while previewing: the next start puts the wallpaper back and removes the files.
fresh_desktop
zarvane "" wait-window "Zarvane - [Untitled.zvp]" $(preview_on) kill >/dev/null
check "the preview was on the desktop when the tool was killed" equals "$(desktop)" "$PAGE"
check "with the wallpaper to give back kept" equals "$(reg_value "$SETTINGS_KEY" PreviewRestore)" "$OLD"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" key escape wait-exit 0
check "the next start" equals "$?" 0
check "gives the wallpaper back" equals "$(desktop)" "$OLD"
check "removes the page" no_file "$WALLPAPER_DIR/ZarvanePreview.htm"
check "and the resource copy" no_file "$WALLPAPER_DIR/greeting.txt"
check "and forgets the preview" equals "$(reg_value "$SETTINGS_KEY" PreviewRestore)" ""

# Two copies previewing at once: whichever is cancelled first, the wallpaper comes back.
two_copies() {  # two_copies FIRST_TO_CANCEL
  fresh_desktop
  rm -f "$WORK"/mark-* "$WORK"/copy-*.txt
  for copy in a b; do
    zarvane "" wait-window "Zarvane - [Untitled.zvp]" $(preview_on) \
      checkpoint "$(winpath "$WORK/mark-$copy")" click 1068 expect-state 1067 visible \
      close answer-box Save "*" no wait-exit 0 >"$WORK/copy-$copy.txt" &
    eval "pid_$copy=$!"
    wait_for "$WORK/mark-$copy" || echo "     copy $copy did not preview"
  done
  local first=$1 second=a
  [ "$first" = a ] && second=b
  rm -f "$WORK/mark-$first"; eval "wait \$pid_$first"
  check "copy $first cancelled first" equals "$?" 0
  rm -f "$WORK/mark-$second"; eval "wait \$pid_$second"
  check "then copy $second" equals "$?" 0
  check "the wallpaper is back" equals "$(desktop)" "$OLD"
}
two_copies a
two_copies b

# The session ends while the warning is open: nothing was changed, nothing is restored.
fresh_desktop
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 0 /f >/dev/null
after "$WORK/warning" "$RUN" wineboot --end-session
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\movie.swf" click 1067 \
  wait-window "Zarvane Information*" checkpoint "$(winpath "$WORK/warning")" \
  answer-box Save "*" no wait-exit 0
check "the session ended during the warning, and the tool with it" equals "$?" 0
wait
check "the desktop kept its wallpaper" equals "$(desktop)" "$OLD"
# The stand-in keeps a log only once something called it: no log, or none of its lines a set.
never_set() { ! grep -q SetWallpaper "$($DOUBLES folder)/desktop.log" 2>/dev/null; }
check "and was never set" never_set
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 1 /f >/dev/null

# A preview that cannot be shown says so and gives the window back, its button Preview again.
window_restored() { ! grep -q '^screen-rect 1067 -' "$1"; }
fresh_desktop
mv "$WALLPAPER_DIR" "$WALLPAPER_DIR.away"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\movie.swf" click 1067 \
  answer-box Error "Unable to write the preview page*" ok expect-state 1067 visible \
  expect-state 1068 hidden screen-rect 1067 key escape answer-box Save "*" no wait-exit 0 \
  >"$WORK/no-folder.txt"
check "no wallpaper folder: said so" equals "$?" 0
mv "$WALLPAPER_DIR.away" "$WALLPAPER_DIR"
check "the window restored" window_restored "$WORK/no-folder.txt"
check "the desktop as it was" equals "$(desktop)" "$OLD"

fresh_desktop
IMAGE_KEY='HKCU\Control Panel\Desktop'
STILL='C:\windows\Web\WallPaper\ZarvanePreview\ZarvanePreview_Still.bmp'
"$RUN" reg add "$IMAGE_KEY" /v Wallpaper /d 'C:\windows\old-image.bmp' /f >/dev/null
$DOUBLES preset desktop FailGetDesktopItemOptions 1
rm -f "$WORK/shown.txt"
when_checkpoint "$WORK/still-shown" sh -c "\"$RUN\" reg query '$IMAGE_KEY' /v Wallpaper >'$WORK/shown.txt'"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\movie.swf" click 1067 \
  answer-box "*" "Failed to Get Desktop Settings" ok expect-state 1068 visible \
  checkpoint "$(winpath "$WORK/still-shown")" click 1068 expect-state 1067 visible \
  key escape answer-box Save "*" no wait-exit 0 >"$WORK/no-settings.txt"
check "desktop settings unreadable: said so, and the preview went on" equals "$?" 0
wait
check "as the still picture, as the installer does" grep -qF "$STILL" "$WORK/shown.txt"
check "Cancel gives the image wallpaper back" equals "$(reg_value "$IMAGE_KEY" Wallpaper)" \
  'C:\windows\old-image.bmp'
check "and the desktop's page" equals "$(desktop)" "$OLD"
check "no page left" no_file "$WALLPAPER_DIR/ZarvanePreview.htm"
check "nor the still picture" no_file "$WALLPAPER_DIR/ZarvanePreview/ZarvanePreview_Still.bmp"
finish
