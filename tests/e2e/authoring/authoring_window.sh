#!/bin/bash
# The authoring tool's window driven by keyboard and mouse: start-up, the modified flag and the
# save prompt, the tips, Build Now's checks, Ctrl+S, and a project that could not be written.
. "$(dirname "$0")/authoring_lib.sh" "$1"
prepare_prefix
new_case authoring_window
# A fresh prefix has no wallpaper directory until an install makes one; the preview needs it.
mkdir -p "$WALLPAPER_DIR"
forget_settings
write_movie "$WORK/movie.swf"
W=$(winpath "$WORK")

# Start-up: the fresh project on the wallpaper page, its button latched, focus and tip on the
# movie path, the fresh records on the other pages; Enter does nothing, Escape closes an
# unmodified project at once.
mark="$WORK/start-shot"
when_checkpoint "$mark" import -window root "$WORK/start.png"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  expect-state 1020 visible expect-state 1049 hidden expect-focus 1020 \
  expect-text 1027 High expect-text 1075 "No Scale" expect-state 1022 checked \
  expect-text 1033 "Tips*Specify a Flash movie to be used to create a wallpaper" \
  expect-state 1057 hidden expect-state 1058 hidden \
  screen-rect 1037 screen-rect 1035 checkpoint "$(winpath "$mark")" \
  key alt+r expect-state 1092 checked expect-state 1093 unchecked \
  key alt+i expect-text 1049 "" expect-state 1043 checked expect-state 1008 unchecked \
  expect-state 1009 unchecked expect-state 1084 hidden \
  key return expect-no-box 300 key escape wait-exit 0 >"$WORK/start.txt"
check "start-up: title, fresh records, tip; Escape closes at once" equals "$?" 0
# shows_picture ID PICTURE: the screenshot shows control ID as the picture file, pixel for pixel.
shows_picture() {
  local rect
  rect=$(sed -n "s/^screen-rect $1 \([0-9]*\) \([0-9]*\) \([0-9]*\) \([0-9]*\).*/\3x\4+\1+\2/p" "$WORK/start.txt")
  convert "$WORK/start.png" -crop "$rect" +repage "$WORK/button-$1.png" &&
    equals "$(compare -metric AE "$WORK/button-$1.png" "$SOURCE/authoring_ui/res/$2" null: 2>&1)" 0
}
check "the Wallpaper button latched" shows_picture 1037 tab_wallpaper_latched.bmp
check "the Preview Window button not" shows_picture 1035 tab_preview_window_normal.bmp

# A cancelled Browse does not mark the project; a chosen colour does, so the save prompt keeps it.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  mouse-click 1044 wait-window "Open" key escape wait-window "Zarvane - [Untitled.zvp]" \
  mouse-click 1076 wait-window "Colo*r" mouse-click 706 key end key back key back key back \
  type 16 mouse-click 1 wait-window "Zarvane - [Untitled.zvp *]" expect-no-box 300 \
  key ctrl+s $(chooser "Save?As" "$W\\colour.zvp") wait-window "Zarvane - [$W\\colour.zvp]" \
  key escape wait-exit 0
check "Browse cancelled leaves the project unmodified, a chosen colour marks it" equals "$?" 0
check "the chosen colour is the project's" equals "$(ini_value "$WORK/colour.zvp" Movie MovieBkgColor)" 10ffff

# Several resource files picked at once in the system's chooser reach the field whole.
printf 'a' >"$WORK/one.txt" && printf 'b' >"$WORK/two.xml"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  mouse-click 1047 wait-window "Open" type "$W" key return type '"one.txt" "two.xml"' key return \
  wait-window "Zarvane - [Untitled.zvp *]" expect-text 1021 "$W\\one.txt;$W\\two.xml;" \
  key escape answer-box Save "*" no wait-exit 0
check "several files from one choice" equals "$?" 0

# Edits mark the project: typing, a list, a check box. Cancel at the prompt keeps all, No closes.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  type "Sunset" wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 Sunset \
  key return expect-no-box 300 \
  key escape answer-box Save "Do you want to save the project?" cancel \
  wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 Sunset \
  key alt+f4 answer-box Save "Do you want to save the project?" no wait-exit 0
check "typing marks the project; Escape and Alt+F4 ask, Cancel keeps, No closes" equals "$?" 0

zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  mouse-click 1027 expect-text 1033 "Tips*Specify appropriate movie quality" \
  key down key return wait-window "Zarvane - [Untitled.zvp *]" expect-text 1027 AutoLow \
  key escape answer-box Save "*" no wait-exit 0
check "choosing in a list marks the project; its tip" equals "$?" 0

zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key alt+i expect-state 1049 visible expect-state 1020 hidden \
  mouse-click 1009 expect-text 1033 "Tips*Uncheck this option to build with Flash-plugin." \
  wait-window "Zarvane - [Untitled.zvp *]" expect-state 1009 checked \
  key alt+w expect-state 1020 visible key alt+f4 answer-box Save "*" no wait-exit 0
check "Alt+I and Alt+W switch pages; a check box marks the project; the plug-in tip" equals "$?" 0

# Build Now checks the pages in order and shows the first problem where it is, before any bar.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key alt+i key alt+b expect-box Error "Flash movie file path cannot be empty." \
  expect-state 1057 hidden answer ok \
  expect-state 1020 visible expect-state 1049 hidden expect-focus 1020 \
  set-text 1020 "$W\\movie.swf" set-text 1052 Sunset \
  key alt+b answer-box Error "Installer file path cannot be empty." ok \
  expect-state 1049 visible expect-focus 1049 \
  set-text 1049 'C:\no such folder\Sunset Setup.exe' \
  key alt+b answer-box Error "Installer file path is invalid. Check if the folder exists." ok \
  expect-focus 1049 set-text 1049 "$W\\Sunset Setup.exe" mouse-click 1034 \
  key alt+b answer-box Error "Movie/Image file path cannot be empty." ok expect-focus 1036 \
  mouse-click 1043 mouse-click 1008 \
  key alt+b answer-box Error "License file path cannot be empty." ok expect-focus 1050 \
  expect-state 1057 hidden key escape answer-box Save "*" no wait-exit 0
check "Build Now: the failing page shown, its message, the focus in its field" equals "$?" 0
check "Build Now wrote nothing" no_file "$WORK/Sunset Setup.exe"

# Ctrl+S on an untitled project is Save As; on a named one it saves in place.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key ctrl+s $(chooser "Save?As" "$W\\fresh.zvp") \
  wait-window "Zarvane - [$W\\fresh.zvp]" \
  set-text 1052 "Morning" wait-window "Zarvane - [$W\\fresh.zvp *]" \
  key ctrl+s wait-window "Zarvane - [$W\\fresh.zvp]" key escape wait-exit 0
check "Ctrl+S: Save As when untitled, then saves in place" equals "$?" 0
check "the fresh record was saved: white" equals "$(ini_value "$WORK/fresh.zvp" Movie MovieBkgColor)" ffffff
check "the fresh record was saved: quality High" equals "$(ini_value "$WORK/fresh.zvp" Movie Quality)" High
check "the fresh record was saved: no scale" equals "$(ini_value "$WORK/fresh.zvp" Movie MovieSize)" noscale
check "Ctrl+S wrote the edit" equals "$(ini_value "$WORK/fresh.zvp" ScreenSaver Name)" Morning

# The save prompt keeps the work when the answer Yes does not end in a saved file.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  type "Dusk" key escape answer-box Save "*" yes \
  wait-window "Save As" key escape wait-window "Zarvane - [Untitled.zvp *]" \
  expect-text 1020 Dusk key escape answer-box Save "*" no wait-exit 0
check "Yes, then Save As cancelled: the tool stays, modified" equals "$?" 0

# A project that cannot be written is reported; the flag stays and closing still asks.
mkdir -p "$WORK/gone" && cp "$WORK/fresh.zvp" "$WORK/gone/kept.zvp"
mark="$WORK/folder-removed"
when_checkpoint "$mark" rm -rf "$WORK/gone"
zarvane "\"$W\\gone\\kept.zvp\"" wait-window "Zarvane - [$W\\gone\\kept.zvp]" \
  checkpoint "$(winpath "$mark")" set-text 1052 "Evening" \
  key ctrl+s answer-box Error "Unable to save the project to '$W\\gone\\kept.zvp'.*" ok \
  wait-window "Zarvane - [$W\\gone\\kept.zvp *]" \
  key escape answer-box Save "*" yes answer-box Error "Unable to save*" ok \
  wait-window "Zarvane - [$W\\gone\\kept.zvp *]" \
  key escape answer-box Save "*" no wait-exit 0
check "a save that failed is reported, the flag and the window stay" equals "$?" 0

# Closing the tool during a preview puts the previous wallpaper back and removes the preview.
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 1 /f >/dev/null
previewing() {
  $DOUBLES state >"$WORK/previewing.txt"
  [ -f "$WALLPAPER_DIR/ZarvanePreview.htm" ] && echo page >>"$WORK/previewing.txt"
}
rm -f "$WORK/previewing.txt"
when_checkpoint "$WORK/previewing" previewing
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\movie.swf" key alt+v \
  expect-state 1068 visible checkpoint "$(winpath "$WORK/previewing")" \
  close answer-box Save "*" no wait-exit 0
check "closed while previewing" equals "$?" 0
wait
check "the preview had been on the desktop" \
  grep -qxF 'Wallpaper=C:\windows\Web\WallPaper\ZarvanePreview.htm' "$WORK/previewing.txt"
check "  with its page" grep -qx page "$WORK/previewing.txt"
check "the previous wallpaper is back" equals "$($DOUBLES state | sed -n 's/^Wallpaper=//p')" 'C:\windows\old.bmp'
check "the preview's page is gone" no_file "$WALLPAPER_DIR/ZarvanePreview.htm"
finish
