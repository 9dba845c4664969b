#!/bin/bash
# The project file as the authoring tool keeps it: the demo, relative, is saved byte for byte as
# it was; projects in UTF-8 (with and without a byte-order mark) and UTF-16 open with their names
# whole and are saved back in their own encoding, with a key and a section the tool does not know
# and their relative paths; Build Now packs the name in the code page; Save As into another
# folder takes relative paths along whole; a name the code page cannot hold is refused.
. "$(dirname "$0")/authoring_lib.sh" "$1"
# Wine hands the driver's arguments to Windows programs in the code page: "Café" arrives whole.
export LC_ALL=C.UTF-8
prepare_prefix
new_case authoring_project_file
forget_settings
cp -r "$SOURCE/examples/demo" "$WORK/demo"
D=$(winpath "$WORK/demo")
mkdir -p "$WORK/elsewhere"

# The demo opened from another folder shows its fields as written; Save leaves the same bytes.
zarvane_in "$WORK/elsewhere" "\"$D\\demo.zvp\"" wait-window "Zarvane - [$D\\demo.zvp]" \
  expect-text 1020 "clock.swf" key alt+i expect-text 1049 "Demo Setup.exe" \
  key ctrl+s expect-no-box 300 key escape wait-exit 0
check "the relative demo opened as written and saved" equals "$?" 0
check "saved, it is the demo byte for byte" same_file "$SOURCE/examples/demo/demo.zvp" \
  "$WORK/demo/demo.zvp"

# The demo named "Café Été", with a key and a section no reader knows, in three encodings.
sed -e 's/^Name=Demo/Name=Café Été/' -e 's/^\(SWFFile=clock.swf\)\r$/\1\r\nComment=written by hand\r/' \
  "$SOURCE/examples/demo/demo.zvp" >"$WORK/utf8.txt"
printf '[Notes]\r\nAuthor=Zoë\r\n' >>"$WORK/utf8.txt"
sed 's/Café Été/Café Noël/' "$WORK/utf8.txt" >"$WORK/expected.txt"
cp "$WORK/utf8.txt" "$WORK/demo/utf8.zvp"
{ printf '\357\273\277'; cat "$WORK/utf8.txt"; } >"$WORK/demo/marked.zvp"
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE "$WORK/utf8.txt"; } >"$WORK/demo/utf16.zvp"
as_utf8() {  # as_utf8 FILE: its text in UTF-8 without a byte-order mark
  case "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" in
    fffe) tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 ;;
    efbb) tail -c +4 "$1" ;;
    *) cat "$1" ;;
  esac
}
starts_with() { [ "$(head -c $((${#2} / 2)) "$1" | od -An -tx1 | tr -d ' \n')" = "$2" ]; }
for project in utf8 marked utf16; do
  zarvane_in "$WORK/elsewhere" "\"$D\\$project.zvp\"" wait-window "Zarvane - [$D\\$project.zvp]" \
    expect-text 1052 "Café Été" expect-text 1020 "clock.swf" set-text 1052 "Café Noël" \
    key ctrl+s expect-no-box 300 wait-window "Zarvane - [$D\\$project.zvp]" key escape wait-exit 0
  check "$project: opened with its name whole, renamed and saved" equals "$?" 0
  check "$project: saved with every other line as it was" \
    equals "$(as_utf8 "$WORK/demo/$project.zvp" | od -An -c)" "$(od -An -c <"$WORK/expected.txt")"
done
check "UTF-8 saved without a byte-order mark" starts_with "$WORK/demo/utf8.zvp" 5b
check "UTF-8 with its byte-order mark" starts_with "$WORK/demo/marked.zvp" efbbbf5b
check "UTF-16 as UTF-16" starts_with "$WORK/demo/utf16.zvp" fffe5b00

# Build Now from the UTF-8 project: the installer's configuration names it in code page 1252.
zarvane_in "$WORK/elsewhere" "\"$D\\utf8.zvp\"" wait-window "Zarvane - [$D\\utf8.zvp]" \
  key alt+b expect-text 1058 "Build Completed." expect-no-box 1000 key escape wait-exit 0
check "Build Now on the UTF-8 project" equals "$?" 0
"$RUN" "$BIN/zarvane-cli.exe" extract "$D\\Demo Setup.exe" "$(winpath "$WORK/built")" >/dev/null 2>&1
check "the installer beside the project names 'Café Noël' in code page 1252" \
  grep -q $'^Name=Caf\xe9 No\xebl\r$' "$WORK/built/instcfg.ini"

# Save As into another folder: the relative paths go along whole.
zarvane "\"$D\\utf8.zvp\"" wait-window "Zarvane - [$D\\utf8.zvp]" \
  key alt+p key a $(chooser "Save?As" "$(winpath "$WORK/elsewhere/moved.zvp")") \
  wait-window "Zarvane - [$(winpath "$WORK/elsewhere/moved.zvp")]" key escape wait-exit 0
check "Save As into another folder" equals "$?" 0
check "takes the movie along whole" equals \
  "$(ini_value "$WORK/elsewhere/moved.zvp" Movie SWFFile)" "$D\\clock.swf"
check "and keeps the section no reader knows" equals \
  "$(ini_value "$WORK/elsewhere/moved.zvp" Notes Author)" "Zoë"

# A name code page 1252 cannot hold: refused, naming its key; the open project stays.
printf '[ScreenSaver]\r\nName=Łódź\r\n[Movie]\r\nSWFFile=clock.swf\r\n' >"$WORK/demo/polish.zvp"
cp "$WORK/demo/polish.zvp" "$WORK/polish-before.zvp"
zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
  key alt+p key o $(chooser "Open" "$D\\polish.zvp") \
  answer-box Error "Unable to open the project*[ScreenSaver] Name holds a character that code page 1252*" ok \
  wait-window "Zarvane - [Untitled.zvp]" key escape wait-exit 0
check "a name the code page cannot hold is refused, naming its key" equals "$?" 0
check "and the file is left as it was" same_file "$WORK/polish-before.zvp" "$WORK/demo/polish.zvp"
finish
