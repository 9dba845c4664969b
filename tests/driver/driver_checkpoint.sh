#!/bin/sh
# The driver's screenshot hook: it stops at a checkpoint file until the script side, having taken
# its screenshot of the open dialog, deletes the file. Usage: driver_checkpoint.sh BUILD_DIR OUT_DIR
set -u
build=$1 out=$2
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: skipped"; exit 77; }
mkdir -p "$out"
mark="$out/dialog-open" shot="$out/fixture-dialog.png"
rm -f "$mark" "$shot"
"$build/wine-run.sh" "$build/bin/zarvane-driver.exe" \
  run "Z:$build/bin/driver_fixture_dialog.exe shot" wait-window "Driver Fixture" \
  checkpoint "$mark" command 2 wait-exit 3 &
driver=$!
i=0
while [ ! -f "$mark" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
[ -f "$mark" ] || { echo "FAILED: no checkpoint"; wait $driver; exit 1; }
import -window root "$shot" || { echo "FAILED: import"; rm -f "$mark"; wait $driver; exit 1; }
rm -f "$mark"
wait $driver || { echo "FAILED: driver"; exit 1; }
[ -s "$shot" ] || { echo "FAILED: empty screenshot"; exit 1; }
echo "screenshot: $shot"
