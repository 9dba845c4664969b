#!/bin/bash
# Every window whole at 96, 120, 144 and 192 DPI: in a prefix of its own, for each DPI Wine is
# told the screen's (LogPixels), then the authoring tool's main window with its pages, the about
# box and the preview warning (the tool ended there, before the preview changes anything), and
# the install dialog with and without a licence are dumped. No control may lie outside its parent
# or overlap a sibling, no label or check box cut its text. Screenshots stay in the work folder.
. "$(dirname "$0")/authoring_lib.sh" "$1"
export ZARVANE_WINEPREFIX="$BUILD/wineprefix-dpi"
PREFIX=$ZARVANE_WINEPREFIX DRIVE_C="$ZARVANE_WINEPREFIX/drive_c"
WALLPAPER_DIR="$DRIVE_C/windows/Web/WallPaper"
prepare_prefix || exit 1
new_case authoring_dpi
mkdir -p "$WALLPAPER_DIR"
LAID_OUT="python3 $HERE/support/laid_out.py"
write_movie "$WORK/movie.swf"
printf 'Licence line one.\r\nLicence line two.\r\n' >"$WORK/licence.txt"
CFG_NAME="E2E Dpi" CFG_LICENSE=licence.txt write_config "$WORK/instcfg.ini"
make_installer "$WORK/With Licence.exe" "$WORK/instcfg.ini" "$WORK/licence.txt" "$WORK/movie.swf"
CFG_NAME="E2E Dpi" write_config "$WORK/instcfg.ini"
make_installer "$WORK/Without Licence.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"

# shoot NAME: the driver command that has the screen photographed as NAME.png in the work
# folder, by a watcher that watch NAME started before the driver.
watch() { when_checkpoint "$WORK/$1.mark" import -window root "$WORK/$1.png"; }
shoot() { echo checkpoint "$(winpath "$WORK/$1.mark")"; }

for dpi in 96 120 144 192; do
  check "$dpi DPI: set" set_screen_dpi "$dpi"
  forget_settings
  for shot in main about warning; do watch "$shot-$dpi"; done
  # The pages are all made once the window has painted; each is shown in turn, the installer
# page with its note.
  zarvane "" wait-window "Zarvane - [Untitled.zvp]" \
    set-text 1020 "$(winpath "$WORK/movie.swf")" \
    click 1035 expect-state 1092 visible click 1041 expect-state 1043 visible \
    click 1009 expect-state 1084 visible \
    click 1037 expect-state 1020 visible $(shoot "main-$dpi") dump \
    command 32776 wait-window "About Zarvane*" $(shoot "about-$dpi") dump key escape \
    wait-window "Zarvane - [Untitled.zvp *]" click 1067 wait-window "Zarvane Information*" \
    $(shoot "warning-$dpi") dump kill \
    >"$WORK/tool-$dpi.txt"
  check "$dpi DPI: the tool's windows dumped" equals "$?" 0
  csplit -s -z -f "$WORK/tool-$dpi-" "$WORK/tool-$dpi.txt" '/^window /' '{*}'
  n=0
  for part in "$WORK/tool-$dpi"-0*; do
    grep -q '^window ' "$part" || continue
    n=$((n + 1))
    check "$dpi DPI: $(sed -n "s/^window '\([^']*\)'.*/\1/p" "$part") whole" $LAID_OUT "$part" \
      "$dpi DPI: $(sed -n "s/^window '\([^']*\)'.*/\1/p" "$part")"
  done
  check "$dpi DPI: main window, about box and preview warning seen" equals "$n" 3

  for kind in With Without; do
    watch "install-${kind,,}-$dpi"
    drive run "$(cmdline "$WORK/$kind Licence.exe")" wait-window "E2E Dpi Installation" \
      $(shoot "install-${kind,,}-$dpi") dump close wait-exit any >"$WORK/install-${kind,,}-$dpi.txt"
    check "$dpi DPI: install dialog ${kind,,} licence dumped" equals "$?" 0
    check "$dpi DPI: install dialog ${kind,,} licence whole" \
      $LAID_OUT "$WORK/install-${kind,,}-$dpi.txt" "$dpi DPI: install dialog ${kind,,} licence"
  done
done
set_screen_dpi 96 >/dev/null
finish
