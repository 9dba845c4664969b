#!/bin/bash
# The authoring half of `make demo`: Zarvane.exe photographed with the demo project open on each
# of its tabs, with the Project menu listing two recent projects, the about box, the preview's
# warning, the "Error" box that Build Now gives a project without a movie, the wallpaper tab
# once the demo movie is chosen, and the wallpaper tab once more at 144 DPI. The pictures land in
# OUT as authoring-*.png.
# Usage: demo_authoring.sh WINDOWS_BUILD OUT
set -u
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi
out=$(mkdir -p "$2" && cd "$2" && pwd)
export ZARVANE_WINEPREFIX="$out/work/wineprefix"
. "$(dirname "$0")/lib.sh" "$1"
WORK="$out/work/authoring"
rm -rf "$WORK" && mkdir -p "$WORK"
trap 'WINEPREFIX=$PREFIX wineserver -k 2>/dev/null' EXIT
prepare_prefix >/dev/null || { echo "make demo: $(wine_cannot_run)" >&2; exit 1; }
TOOL=$(cmdline "$BIN/Zarvane.exe")
say() { printf '\n== %s\n' "$*"; }

# Two copies of the demo project, in two plain folders of drive C: as an author keeps them (the
# help's pictures show the same), so that the recent list shows two paths.
for name in "Demo" "Second demo"; do
  rm -rf "${DRIVE_C:?}/$name"
  cp -r "$HERE/../../examples/demo" "$DRIVE_C/$name"
done
demo='C:\Demo\demo.zvp'
second='C:\Second demo\demo.zvp'
"$RUN" reg delete 'HKCU\Software\Quorvel\Zarvane' /f >/dev/null 2>&1

# photograph DRIVER-COMMANDS...: runs the driver; each "shot NAME" among the commands saves the
# screen, cut to the tool's windows, as OUT/authoring-NAME.png; the window in front (or its
# message box) with an active caption, as on Windows.
photograph() {
  local args=() names=()
  while [ $# -gt 0 ]; do
    if [ "$1" = shot ]; then
      names+=("$2")
      args+=(sleep 400 draw-active checkpoint "$(winpath "$WORK/$2.mark")")
      shift 2
    else
      args+=("$1")
      shift
    fi
  done
  drive "${args[@]}" &
  local driver=$! status=0
  for name in "${names[@]}"; do
    local mark="$WORK/$name.mark" shot="$out/authoring-$name.png" i=0
    while [ ! -f "$mark" ] && [ $i -lt 600 ] && kill -0 $driver 2>/dev/null; do
      sleep 0.05
      i=$((i + 1))
    done
    [ -f "$mark" ] || { echo "no picture $name"; status=1; break; }
    import -window root "$shot" && convert "$shot" -trim +repage "$shot"
    echo "$shot"
    rm -f "$mark"
  done
  wait $driver || status=1
  return $status
}

say "two projects opened, one after the other: the recent list"
# The tool starts in the project's folder, as the project's relative paths expect.
check "the second project opened and closed" \
  drive run-in 'C:\Second demo' "$TOOL \"$second\"" wait-window "Zarvane - *" close wait-exit any
check "the tabs and the project menu photographed" photograph run-in 'C:\Demo' "$TOOL \"$demo\"" wait-window "Zarvane - *" \
  shot wallpaper-tab \
  click 1035 shot preview-window-tab \
  click 1041 shot installer-tab \
  click 1069 shot project-menu \
  kill

say "the about box, and the warning before a preview"
check "the about box and the preview warning photographed" photograph run-in 'C:\Demo' "$TOOL \"$demo\"" wait-window "Zarvane - *" \
  command 32776 wait-window "About Zarvane*" shot about-box click 1 \
  wait-window "Zarvane - *" click 1067 wait-window "Zarvane Information*" shot preview-warning \
  kill

say "an untitled project: Build Now, then the demo movie chosen"
check "the build error and the chosen movie photographed" photograph run "$TOOL" wait-window "Zarvane - *" \
  click 1071 wait-box Error shot build-error answer ok \
  click 1044 wait-window "Open" type 'C:\Demo\clock.swf' key return \
  wait-window "Zarvane - *" shot movie-chosen \
  kill
say "the wallpaper tab at 144 DPI (150 %)"
check "the screen at 144 DPI" set_screen_dpi 144
check "the wallpaper tab photographed at 144 DPI" photograph run-in 'C:\Demo' "$TOOL \"$demo\"" \
  wait-window "Zarvane - *" shot wallpaper-tab-144dpi kill
check "the screen at 96 DPI again" set_screen_dpi 96

[ "$failures" = 0 ] || { echo "make demo: $failures step(s) of the authoring pictures failed (FAIL above)" >&2; exit 1; }
