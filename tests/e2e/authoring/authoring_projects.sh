#!/bin/bash
# Projects through the authoring tool: every field through Save As, Open and Save, the same bytes
# as the headless writer, the recent projects in the registry and the menu, dropped files, and
# Build Now on the demo project against zarvane-cli's installer of it.
. "$(dirname "$0")/authoring_lib.sh" "$1"
prepare_prefix
new_case authoring_projects
forget_settings
W=$(winpath "$WORK")

# A second copy of the tool runs beside the first.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" sleep 3000 close wait-exit 0 >"$WORK/first.txt" &
first=$!
sleep 1
zarvane "" wait-window "Zarvane - [Untitled.zvp]" close wait-exit 0 >/dev/null
check "a second copy starts" equals "$?" 0
wait $first
check "beside the first" equals "$?" 0

# A project with every stored field away from its fresh value ("Build Installer without flash
# plug-in" checked, a licence, an own preview and installer picture).
write_movie "$WORK/movie.swf"
printf 'licence\r\n' >"$WORK/licence.txt"
cp "$WORK/movie.swf" "$WORK/intro.swf"
printf '[ScreenSaver]\r\nName=Round Trip\r\n[Movie]\r\nSWFFile=%s\\movie.swf\r\n' "$W" >"$WORK/all.zvp"
printf 'ResourceFiles=%s\\a.txt;%s\\b.xml;\r\nHAlign=Right\r\nVAlign=Bottom\r\nMute=0\r\n' "$W" "$W" >>"$WORK/all.zvp"
printf 'Quality=AutoHigh\r\nMovieBkgSet=1\r\nMovieBkgColor=0a0b0c\r\nLoop=FALSE\r\nMovieSize=Exactfit\r\n' >>"$WORK/all.zvp"
printf '[Wallpaper]\r\nBackImage=%s\\back.bmp\r\nAlign=Bottom Right\r\nPrevMon=%s\\prev.bmp\r\n' "$W" "$W" >>"$WORK/all.zvp"
printf '[SettingsBox]\r\nShowMovie=0\r\n[Preview]\r\nShowMovie=0\r\nImageFile=%s\\prev.bmp\r\n' "$W" >>"$WORK/all.zvp"
printf '[Installer]\r\nShowMovie=1\r\nMovieOrImageFile=%s\\intro.swf\r\nLicenseFile=%s\\licence.txt\r\n' "$W" "$W" >>"$WORK/all.zvp"
printf 'Name=Round Trip\r\nFlashControl=1\r\nInstallerFilePath=%s\\Round Trip Setup.exe\r\n' "$W" >>"$WORK/all.zvp"

# Opened from a quoted command line, saved as another file, reopened through Open and saved
# again through Ctrl+S: the same bytes every time.
zarvane "\"$W\\all.zvp\"" wait-window "Zarvane - [$W\\all.zvp]" \
  expect-text 1052 "Round Trip" expect-text 1027 AutoHigh expect-text 1075 "Exact Fit" \
  key alt+p key a $(chooser "Save?As" "$W\\saved.zvp") wait-window "Zarvane - [$W\\saved.zvp]" \
  key alt+p key n wait-window "Zarvane - [Untitled.zvp]" expect-text 1052 "" \
  key alt+p key o $(chooser "Open" "$W\\saved.zvp") wait-window "Zarvane - [$W\\saved.zvp]" \
  key alt+p key a $(chooser "Save?As" "$W\\again.zvp") wait-window "Zarvane - [$W\\again.zvp]" \
  key ctrl+s expect-no-box 300 key escape wait-exit 0
check "quoted command line, Save As, New, Open, Save As, Ctrl+S" equals "$?" 0
check "saved again after reopening: the same bytes" same_file "$WORK/saved.zvp" "$WORK/again.zvp"
"$RUN" "$BIN/resave_project.exe" "$W\\all.zvp" "$W\\headless.zvp"
check "the tool writes what the headless writer writes" same_file "$WORK/headless.zvp" "$WORK/saved.zvp"
for key in ScreenSaver/Name Movie/SWFFile Movie/ResourceFiles Movie/HAlign Movie/VAlign \
           Movie/Mute Movie/Quality Movie/MovieBkgColor Movie/Loop Movie/MovieSize \
           Wallpaper/BackImage Wallpaper/Align Wallpaper/PrevMon Preview/ShowMovie \
           Preview/ImageFile Installer/ShowMovie Installer/MovieOrImageFile \
           Installer/LicenseFile Installer/FlashControl Installer/InstallerFilePath; do
  check "round trip keeps $key" equals "$(ini_value "$WORK/saved.zvp" "${key%/*}" "${key#*/}")" \
    "$(ini_value "$WORK/all.zvp" "${key%/*}" "${key#*/}")"
done

# Recent projects: five opened leave four, most recent first; one reopened in other letter case
# moves up without a twin.
for i in 1 2 3 4 5; do cp "$WORK/all.zvp" "$WORK/p$i.zvp"; done
for i in 1 2 3 4 5; do
  zarvane "\"$W\\p$i.zvp\"" wait-window "Zarvane - [$W\\p$i.zvp]" key escape wait-exit 0 >/dev/null ||
    echo "     opening p$i.zvp failed"
done
check "five opened: the last four, newest first" equals "$(mru 1)|$(mru 2)|$(mru 3)|$(mru 4)" \
  "$W\\p5.zvp|$W\\p4.zvp|$W\\p3.zvp|$W\\p2.zvp"
zarvane "$W\\P3.ZVP" wait-window "Zarvane - [$W\\P3.ZVP]" key escape wait-exit 0 >/dev/null
check "reopened in capitals: at the top, once" equals "$(mru 1)|$(mru 2)|$(mru 3)|$(mru 4)" \
  "$W\\P3.ZVP|$W\\p5.zvp|$W\\p4.zvp|$W\\p2.zvp"

# The menu: &1 and &2 between "Save &As" and "E&xit" (Down passes New, Open, Save, Save As).
forget_settings
"$RUN" reg add "$SETTINGS_KEY" /v MRUFile1 /d "$W\\p1.zvp" /f >/dev/null
"$RUN" reg add "$SETTINGS_KEY" /v MRUFile2 /d "$W\\p2.zvp" /f >/dev/null
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key alt+p key down key down key down key down key down key down key return \
  wait-window "Zarvane - [$W\\p2.zvp]" \
  key alt+p key down key down key down key down key down key return \
  wait-window "Zarvane - [$W\\p2.zvp]" \
  key alt+p key 2 wait-window "Zarvane - [$W\\p1.zvp]" \
  key alt+p key down key down key down key down key down key down key down key return wait-exit 0
check "Project menu: New, Open, Save, Save As, &1, &2, Exit" equals "$?" 0

# A recent project that is gone is reported and leaves the list (p1 and p2 were last [p1, p2]).
"$RUN" reg add "$SETTINGS_KEY" /v MRUFile1 /d "$W\\gone.zvp" /f >/dev/null
zarvane "" wait-window "Zarvane - [Untitled.zvp]" key alt+p key 1 \
  answer-box Error "Unable to access file '$W\\gone.zvp'. Check if the file exists." ok \
  wait-window "Zarvane - [Untitled.zvp]" key escape wait-exit 0
check "a missing recent project is reported" equals "$?" 0
check "and leaves the list" equals "$(mru 1)|$(mru 2)" "$W\\p2.zvp|"

# Dropped files: a project in any letter case opens; others are refused; only the first counts.
cp "$WORK/all.zvp" "$WORK/dropped.ZvP"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  drop "$W\\dropped.ZvP" - wait-window "Zarvane - [$W\\dropped.ZvP]" expect-text 1052 "Round Trip" \
  drop "$W\\dropped.zvpx" - answer-box Error "The dropped file is not a valid Zarvane project file." ok \
  drop "C:" - answer-box Error "The dropped file is not a valid Zarvane project file." ok \
  drop "$W\\notes.zip" "$W\\all.zvp" - answer-box Error "The dropped file is not*" ok \
  wait-window "Zarvane - [$W\\dropped.ZvP]" key escape wait-exit 0
check "dropped files" equals "$?" 0

# A project dropped onto unsaved changes asks first, as opening one does.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" type "Kept" \
  drop "$W\\dropped.ZvP" - answer-box Save "Do you want to save the project?" cancel \
  wait-window "Zarvane - [Untitled.zvp *]" expect-text 1020 Kept \
  drop "$W\\dropped.ZvP" - answer-box Save "*" no wait-window "Zarvane - [$W\\dropped.ZvP]" \
  key escape wait-exit 0
check "a drop onto unsaved changes asks; Cancel keeps them" equals "$?" 0

# Build Now on the demo project, opened in its folder from a quoted command line: no message, the
# bar and the status line gone again, and the members zarvane-cli packs for the same project.
cp -r "$SOURCE/examples/demo" "$WORK/demo"
D=$(winpath "$WORK/demo")
zarvane_in "$WORK/demo" "\"$D\\demo.zvp\"" wait-window "Zarvane - [$D\\demo.zvp]" \
  key alt+b expect-text 1058 "Build Completed." expect-no-box 1000 \
  expect-state 1057 hidden expect-state 1058 hidden key escape wait-exit 0
check "Build Now on the demo: completed without a message" equals "$?" 0
"$RUN" "$BIN/zarvane-cli.exe" build "$D\\demo.zvp" -o "$D\\cli.exe" >/dev/null
members() { "$RUN" "$BIN/zarvane-cli.exe" list "$1" | tr -d '\r' | awk '{ print $NF }'; }
check "the same members as zarvane-cli's build" equals \
  "$(members "$D\\Demo Setup.exe" | tr '\n' ' ')" "$(members "$D\\cli.exe" | tr '\n' ' ')"
demo=$WORK/demo
check "an installer an independent reader accepts, the stub first" python3 \
  "$HERE/build/check_installer.py" "$demo/Demo Setup.exe" "$BIN/zarvane-installer.exe" \
  instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt palette.xml \
  clock.swf --source clock.swf="$demo/clock.swf" --source licence.txt="$demo/licence.txt" \
  --source greeting.txt="$demo/resources/greeting.txt" \
  --source palette.xml="$demo/resources/palette.xml" --source background.bmp="$demo/background.bmp"
finish
