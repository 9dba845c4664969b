#!/bin/bash
# What the authoring tool must never lose or get wrong: a name no installer accepts is refused
# also while a preview is shown, a relative project builds the same installer from any folder,
# Save As asks before replacing and replaces whole, the end of the Windows session asks to save,
# and Yes at the save prompt saves before the command goes on.
. "$(dirname "$0")/authoring_lib.sh" "$1"
prepare_prefix
new_case authoring_safe_work
forget_settings
write_movie "$WORK/movie.swf"
W=$(winpath "$WORK")

# Build Now with a preview on screen still checks the name: a device name, dots, none.
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'
"$RUN" reg add "$SETTINGS_KEY" /v PrevWarn /t REG_DWORD /d 1 /f >/dev/null
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1020 "$W\\movie.swf" \
  key alt+i set-text 1049 "$W\\Con Setup.exe" key alt+w key alt+v expect-state 1068 visible \
  set-text 1052 "CON" key alt+b answer-box Error "Wallpaper name cannot be a name Windows keeps*" ok \
  set-text 1052 " .. " key alt+b answer-box Error "Wallpaper name cannot end in a dot*" ok \
  set-text 1052 "aux.txt" key alt+b answer-box Error "Wallpaper name cannot be a*" ok \
  set-text 1052 "" key alt+b answer-box Error "Wallpaper name cannot be empty" ok \
  set-text 1052 "a*b" key alt+b answer-box Error "Wallpaper name cannot contain*" ok \
  click 1068 expect-state 1067 visible \
  key escape answer-box Save "*" no wait-exit 0
check "Build Now during a preview refuses names no installer accepts" equals "$?" 0
check "and built nothing" no_file "$WORK/Con Setup.exe"

# zarvane-cli's check and build refuse the same names.
printf '[ScreenSaver]\r\nName=CON\r\n[Movie]\r\nSWFFile=movie.swf\r\n[Installer]\r\nInstallerFilePath=device-out.exe\r\n' >"$WORK/device-name.zvp"
"$RUN" "$BIN/zarvane-cli.exe" check "$W\\device-name.zvp" >"$WORK/check.txt" 2>&1
check "zarvane-cli check finds the device name" equals "$?|$(grep -c 'Wallpaper name cannot be a name Windows keeps' "$WORK/check.txt")" "1|1"
"$RUN" "$BIN/zarvane-cli.exe" build "$W\\device-name.zvp" >/dev/null 2>&1
check "zarvane-cli build refuses it" test "$?" != 0
check "and builds nothing" no_file "$WORK/device-out.exe"

# A relative project opened from another folder, its fields as written, builds what zarvane-cli
# builds from it.
cp -r "$SOURCE/examples/demo" "$WORK/demo"
D=$(winpath "$WORK/demo")
mkdir -p "$WORK/elsewhere"
zarvane_in "$WORK/elsewhere" "\"$D\\demo.zvp\"" wait-window "Zarvane - [$D\\demo.zvp]" \
  expect-text 1020 "clock.swf" \
  key alt+b expect-text 1058 "Build Completed." expect-no-box 1000 key escape wait-exit 0
check "Build Now on the relative demo, started elsewhere" equals "$?" 0
check "the installer lies beside the project" test -f "$WORK/demo/Demo Setup.exe"
"$RUN" "$BIN/zarvane-cli.exe" build "$D\\demo.zvp" -o "$D\\cli.exe" >/dev/null
members() { "$RUN" "$BIN/zarvane-cli.exe" list "$1" | tr -d '\r' | awk '{ print $NF }' | sort; }
check "with the members of zarvane-cli's build" equals \
  "$(members "$D\\Demo Setup.exe" | tr '\n' ' ')" "$(members "$D\\cli.exe" | tr '\n' ' ')"

# Save As onto an existing file asks; No keeps it, Yes replaces it whole, also a foreign file.
printf '[ScreenSaver]\r\nName=Old\r\n[Extra]\r\nKeep=1\r\n' >"$WORK/old.zvp"
cp "$WORK/old.zvp" "$WORK/old-before.zvp"
printf 'my own notes\r\n' >"$WORK/notes.txt"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1052 "New" \
  key alt+p key a $(chooser "Save?As" "$W\\old.zvp") answer-box "*" "*" no \
  wait-window "Save?As" key escape wait-window "Zarvane - [Untitled.zvp *]" \
  key alt+p key a $(chooser "Save?As" "$W\\old.zvp") answer-box "*" "*" yes \
  wait-window "Zarvane - [$W\\old.zvp]" \
  key alt+p key a $(chooser "Save?As" "$W\\notes.txt") answer-box "*" "*" yes \
  wait-window "Zarvane - [$W\\notes.txt]" key escape wait-exit 0
check "Save As onto existing files asks first" equals "$?" 0
check "the new project replaced the old whole" equals \
  "$(ini_value "$WORK/old.zvp" ScreenSaver Name)|$(ini_value "$WORK/old.zvp" Extra Keep)" "New|"
check "the foreign file holds the project only" equals \
  "$(grep -c 'my own notes' "$WORK/notes.txt")|$(ini_value "$WORK/notes.txt" ScreenSaver Name)" "0|New"
check "no file of the save is left beside" equals "$(ls "$WORK" | grep -ci '^zvp.*\.tmp$')" 0

# The end of the Windows session asks about unsaved work; Cancel keeps the session going.
end_session() {  # end_session MARK RESULT: once MARK appears, asks the session to end
  ( for _ in $(seq 300); do [ -f "$1" ] && break; sleep 0.1; done
    rm -f "$1"; "$RUN" wineboot --end-session >/dev/null 2>&1; echo $? >"$2" ) &
}
end_session "$WORK/end1" "$WORK/end1.rc"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" type "Unsaved" \
  wait-window "Zarvane - [Untitled.zvp *]" checkpoint "$(winpath "$WORK/end1")" \
  answer-box Save "Do you want to save the project?" cancel \
  sleep 2000 wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 Unsaved \
  key escape answer-box Save "*" no wait-exit 0
check "the end of the session asks; Cancel keeps the tool and the work" equals "$?" 0
wait
check "and the session did not end" test "$(cat "$WORK/end1.rc")" != 0

# Yes at the save prompt saves, then the command goes on: New, Open, a recent project.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" set-text 1052 "First" \
  key alt+p key n answer-box Save "*" yes $(chooser "Save?As" "$W\\first.zvp") \
  wait-window "Zarvane - [Untitled.zvp]" expect-text 1052 "" set-text 1052 "Second" \
  key alt+p key o answer-box Save "*" yes $(chooser "Save?As" "$W\\second.zvp") \
  $(chooser "Open" "$W\\first.zvp") wait-window "Zarvane - [$W\\first.zvp]" \
  expect-text 1052 "First" set-text 1052 "First again" \
  key alt+p key o answer-box Save "*" cancel \
  wait-window "Zarvane - [$W\\first.zvp *]" expect-text 1052 "First again" \
  key alt+p key n answer-box Save "*" cancel wait-window "Zarvane - [$W\\first.zvp *]" \
  key alt+p key 2 answer-box Save "*" cancel wait-window "Zarvane - [$W\\first.zvp *]" \
  expect-text 1052 "First again" \
  key alt+p key 2 answer-box Save "*" yes wait-window "Zarvane - [$W\\second.zvp]" \
  expect-text 1052 "Second" key escape wait-exit 0
check "Yes saves and the command goes on; Cancel keeps everything" equals "$?" 0
check "Yes before New saved the untitled project" test -f "$WORK/first.zvp"
check "Yes before a recent project saved the open one" equals \
  "$(ini_value "$WORK/first.zvp" ScreenSaver Name)" "First again"
check "Yes before Open saved the second" equals "$(ini_value "$WORK/second.zvp" ScreenSaver Name)" "Second"
finish
