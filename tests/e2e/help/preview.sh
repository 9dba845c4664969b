#!/bin/bash
# The desktop preview of Zarvane.exe against the stand-in Active Desktop: the warning and its
# "never again" box, the page on the desktop with the movie, pictures and resource files, and the
# way back by Cancel and by closing the tool, which take exactly what the preview made.
. "$(dirname "$0")/../authoring/authoring_lib.sh" "$1"
prepare_prefix
new_case preview
forget_settings
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'
$DOUBLES preset-active-desktop 1
PAGE="$WALLPAPER_DIR/ZarvanePreview.htm"
FOLDER="$WALLPAPER_DIR/ZarvanePreview"
mkdir -p "$WALLPAPER_DIR"
rm -rf "$PAGE" "$FOLDER" "$WALLPAPER_DIR/zv-e2e-ours.txt"
write_movie "$WORK/clock.swf"
printf 'ours' >"$WORK/zv-e2e-ours.txt"
printf 'ours' >"$WORK/zv-e2e-theirs.txt"
printf 'theirs' >"$WALLPAPER_DIR/zv-e2e-theirs.txt"
W=$(winpath "$WORK")

# snapshot NAME: what the desktop and the wallpaper directory hold now, kept under $WORK/NAME.
snapshot() {
  { $DOUBLES state; ls "$WALLPAPER_DIR" "$FOLDER" 2>/dev/null; } >"$WORK/$1.txt"
  cp "$WALLPAPER_DIR/zv-e2e-theirs.txt" "$WORK/$1-theirs.txt"
}
seen() { grep -qxF "$2" "$WORK/$1.txt" || { echo "     $1 lacks '$2':"; sed 's/^/       /' "$WORK/$1.txt"; return 1; }; }
unseen() { ! grep -qxF "$2" "$WORK/$1.txt" || { echo "     $1 has '$2'"; return 1; }; }

# First the warning is dismissed with Escape after checking "never again": the preview goes on
# and the box is not kept. Then the box checked and Close, Cancel. The resource list has an empty entry, a file that is
# missing and one in other letters than the file beside the page of the same name.
when_checkpoint "$WORK/previewing" snapshot previewing
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\clock.swf" \
  set-text 1021 "$W\\zv-e2e-ours.txt;;$W\\missing.txt;$W\\ZV-E2E-THEIRS.TXT;" \
  mouse-click 1067 wait-window "Zarvane Information . . ." mouse-click 1203 key escape \
  wait-window "Zarvane - *" expect-state 1068 visible click 1068 expect-state 1067 visible \
  click 1067 wait-window "Zarvane Information . . ." expect-state 1203 unchecked \
  mouse-click 1203 mouse-click 1 \
  wait-window "Zarvane - *" expect-state 1068 visible expect-state 1067 hidden \
  checkpoint "$(winpath "$WORK/previewing")" \
  click 1068 expect-state 1067 visible expect-state 1068 hidden \
  close answer-box Save "*" no wait-exit 0
check "preview after Escape and after Close at the warning, each time Cancel" equals "$?" 0
wait
check "the desktop showed the preview page" seen previewing 'Wallpaper=C:\windows\Web\WallPaper\ZarvanePreview.htm'
check "the preview folder held the movie" seen previewing clock.swf
check "and the default preview picture" seen previewing ZarvanePreview_Preview.bmp
check "a resource file was copied beside the page" seen previewing zv-e2e-ours.txt
check "the file that was there already was left as it was" equals "$(cat "$WORK/previewing-theirs.txt")" theirs
check "\"&Close\" with the box checked keeps PrevWarn 1" \
  equals "$("$RUN" reg query "$SETTINGS_KEY" /v PrevWarn 2>/dev/null | tr -d '\r' | awk '/PrevWarn/ {print $3}')" 0x1
snapshot cancelled
check "Cancel gave the previous wallpaper back" seen cancelled 'Wallpaper=C:\windows\old.bmp'
check "Cancel removed the page" no_file "$PAGE"
check "and the folder" no_file "$FOLDER"
check "and the copied resource file" no_file "$WALLPAPER_DIR/zv-e2e-ours.txt"
check "but not the one that was there before" equals "$(cat "$WALLPAPER_DIR/zv-e2e-theirs.txt")" theirs

# Second preview: no warning now; a preview with an empty name; closing the tool takes it back.
# The main window is minimised while previewing, so it is closed as by its caption's close box.
when_checkpoint "$WORK/again" snapshot again
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  set-text 1020 "$W\\clock.swf" set-text 1021 "$W\\zv-e2e-ours.txt;" \
  mouse-click 1067 expect-state 1068 visible checkpoint "$(winpath "$WORK/again")" \
  close answer-box Save "*" no wait-exit 0
check "preview without the warning, then the tool closed" equals "$?" 0
wait
check "the second preview was on the desktop" seen again 'Wallpaper=C:\windows\Web\WallPaper\ZarvanePreview.htm'
check "with its resource file" seen again zv-e2e-ours.txt
snapshot closed
check "closing the tool gave the previous wallpaper back" seen closed 'Wallpaper=C:\windows\old.bmp'
check "and removed the page" no_file "$PAGE"
check "the folder" no_file "$FOLDER"
check "and the copied resource file" no_file "$WALLPAPER_DIR/zv-e2e-ours.txt"
check "the other file stays" equals "$(cat "$WALLPAPER_DIR/zv-e2e-theirs.txt")" theirs
check "  and the desktop's folder lists the copy no more" unseen closed zv-e2e-ours.txt

# Third preview, and Windows ends the session: the unsaved project is asked about first, then the
# wallpaper comes back though the tool is ended without its window being destroyed.
end_session() {
  for _ in $(seq 300); do [ -f "$WORK/ending" ] && break; sleep 0.1; done
  rm -f "$WORK/ending"; "$RUN" wineboot --end-session >/dev/null 2>&1; snapshot ended
}
end_session &
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\clock.swf" \
  mouse-click 1067 expect-state 1068 visible checkpoint "$(winpath "$WORK/ending")" \
  answer-box Save "*" no wait-exit any
check "a preview, then the end of the session" equals "$?" 0
wait
check "the end of the session gave the previous wallpaper back" seen ended 'Wallpaper=C:\windows\old.bmp'
check "and removed the page" no_file "$PAGE"
rm -f "$WALLPAPER_DIR/zv-e2e-theirs.txt"
finish
