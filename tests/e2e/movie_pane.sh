#!/bin/bash
# The dialog's picture or movie pane: the installer's own picture, an author's bitmap stretched
# over the pane, a movie handed to the stand-in control, and files the pane does not show or the
# payload lacks.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case pane
NAME="E2E Pane"
$DOUBLES reset
install_flash_double

# A 40 x 20 bitmap of pure red, and one that only starts like a bitmap.
python3 - "$WORK" <<'PY'
import struct, sys
w, h = 40, 20
row = b"\x00\x00\xff" * w
data = row * h
header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(sys.argv[1] + "/red.bmp", "wb").write(b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + header + data)
open(sys.argv[1] + "/broken.bmp", "wb").write(b"BM" + b"\x00" * 40)
open(sys.argv[1] + "/photo.jpg", "wb").write(b"\xff\xd8\xff\xe0\x00\x10JFIF\x00" + b"\x00" * 64)
PY
printf 'CWS\012\040\000\000\000compressed movie' >"$WORK/intro.swf"
write_movie "$WORK/movie.swf"
pane_case() {  # pane_case EXE SHOW_MOVIE FILE (not packed when it does not exist)
  CFG_NAME=$NAME CFG_SHOW_MOVIE=$2 CFG_MOVIE_OR_IMAGE=$3 write_config "$WORK/instcfg.ini"
  local members=("$WORK/instcfg.ini")
  [ -n "$3" ] && [ -e "$WORK/$3" ] && members+=("$WORK/$3")
  make_installer "$WORK/$1" "${members[@]}" "$WORK/movie.swf"
}
pane_case own.exe 0 ""
pane_case red.exe 1 red.bmp
pane_case broken.exe 1 broken.bmp
pane_case photo.exe 1 photo.jpg
pane_case intro.exe 1 intro.swf
pane_case missing.exe 1 gone.bmp

SUN='rgb(250,204,92)'  # the sun of the installer's own picture
check "own picture: dialog shot" \
  shoot_dialog "$WORK/own.exe" "$NAME Installation" "$WORK/own.png" expect-state 3000 visible
check "own picture shown" has_colour "$WORK/own.png" "$SUN"

check "author's bitmap: dialog shot" \
  shoot_dialog "$WORK/red.exe" "$NAME Installation" "$WORK/red.png" expect-state 3000 visible
check "author's bitmap shown" has_colour "$WORK/red.png" 'rgb(255,0,0)'
# The pane is about 295 x 154 pixels of the 1024 x 768 screen: 5.8%.
check "  stretched over the whole pane" has_colour "$WORK/red.png" 'rgb(255,0,0)' 0.05
check "  in place of the own picture" lacks_colour "$WORK/red.png" "$SUN"

check "undecodable bitmap: no pane, dialog works on" \
  shoot_dialog "$WORK/broken.exe" "$NAME Installation" "$WORK/broken.png" expect-state 3000 missing

# The log holds the control's registration already: the stand-in writes where it is read.
check "JPEG: dialog shot" \
  shoot_dialog "$WORK/photo.exe" "$NAME Installation" "$WORK/photo.png" expect-state 3000 visible
check "JPEG: empty pane" lacks_colour "$WORK/photo.png" "$SUN"
check "JPEG: control not created" $DOUBLES expect-no-call flash 'Create'

# A writer that could not add the window's picture: not damaged, the pane stays empty.
check "picture not packed: dialog shot" \
  shoot_dialog "$WORK/missing.exe" "$NAME Installation" "$WORK/missing.png" expect-state 3000 visible
check "picture not packed: empty pane" lacks_colour "$WORK/missing.png" "$SUN"

$DOUBLES reset
check "movie: dialog shot" \
  shoot_dialog "$WORK/intro.exe" "$NAME Installation" "$WORK/intro.png" expect-state 3000 visible
check "movie reaches the control: Menu false, Movie, Play" $DOUBLES expect-calls flash \
  'Create' 'Menu false' 'Movie "C:\users\*\Temp\zarvane-*\intro.swf"' 'Play'
check "control closed with the dialog" $DOUBLES expect-calls flash 'Play' 'Close*' 'Release'
finish
