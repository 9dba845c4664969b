#!/bin/sh
# Builds the demo project with a zarvane-cli (native, or the Windows one through Wine) and checks
# the installers with check_installer.py.
# usage: build_demo_check.sh SOURCE_DIR WORK_DIR STUB native|windows CLI...
set -eu
src=$1 work=$2 stub=$3 kind=$4
shift 4
here=$src/tests/e2e/build
rm -rf "$work"
mkdir -p "$work"
cp -r "$src/examples/demo" "$work/demo"
demo=$work/demo
sources="--source clock.swf=$demo/clock.swf --source licence.txt=$demo/licence.txt
         --source greeting.txt=$demo/resources/greeting.txt
         --source palette.xml=$demo/resources/palette.xml --source background.bmp=$demo/background.bmp"

echo "== the demo as it stands: built without the Flash control"
"$@" build "$demo/demo.zvp" -o "$work/Demo Setup.exe"
python3 "$here/check_installer.py" "$work/Demo Setup.exe" "$stub" \
  instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt palette.xml \
  clock.swf $sources

echo "== verified whole, extracted into a new nested folder"
"$@" verify "$work/Demo Setup.exe" > "$work/verify.out"
tail -n 1 "$work/verify.out" | grep -q "8 members: whole"
"$@" extract "$work/Demo Setup.exe" "$work/new/nested"
cmp "$work/new/nested/clock.swf" "$demo/clock.swf"

echo "== with the Flash control, built twice over the same file"
sed 's/^FlashControl=1/FlashControl=0/' "$demo/demo.zvp" > "$demo/flash.zvp"
printf 'stand-in control' > "$work/flash.ocx"
for round in 1 2; do
  "$@" build "$demo/flash.zvp" -o "$work/Demo Flash.exe" --flash-ocx "$work/flash.ocx"
done
python3 "$here/check_installer.py" "$work/Demo Flash.exe" "$stub" \
  instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt palette.xml \
  flash.ocx clock.swf $sources --source "flash.ocx=$work/flash.ocx"

echo "== a project the build refuses"
sed 's/^Name=Demo/Name=De:mo/' "$demo/demo.zvp" > "$demo/bad.zvp"
if "$@" build "$demo/bad.zvp" -o "$work/Bad.exe" > "$work/bad.err" 2>&1; then
  echo "an invalid name was built"; exit 1
fi
grep -q "Wallpaper name cannot contain any of the following characters" "$work/bad.err"
[ ! -e "$work/Bad.exe" ]

echo "== no project, no arguments"
if "$@" build "$work/none.zvp" > "$work/none.err" 2>&1; then
  echo "a missing project was built"; exit 1
fi
grep -q "none.zvp: no such file" "$work/none.err"
rc=0; "$@" build > /dev/null 2>&1 || rc=$?
[ "$rc" = 2 ]
rc=0; "$@" page "$demo/demo.zvp" -o "$work/no/such/folder/x.htm" > "$work/page.err" 2>&1 || rc=$?
[ "$rc" = 1 ] && grep -q "cannot be written" "$work/page.err"

echo "== the Flash control of another name is packed as flash.ocx; a missing one is an error"
cp "$work/flash.ocx" "$work/Flash10_a.ocx"
"$@" build "$demo/flash.zvp" -o "$work/Demo Renamed.exe" --flash-ocx "$work/Flash10_a.ocx"
python3 "$here/check_installer.py" "$work/Demo Renamed.exe" "$stub" \
  instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt palette.xml \
  flash.ocx clock.swf $sources --source "flash.ocx=$work/flash.ocx"
rc=0; "$@" build "$demo/flash.zvp" -o "$work/Demo Missing.exe" --flash-ocx "$work/gone.ocx" \
  2> "$work/gone.err" || rc=$?
[ "$rc" = 1 ] && grep -q "gone.ocx: no such file" "$work/gone.err" && [ ! -e "$work/Demo Missing.exe" ]

if [ "$kind" = native ]; then
  echo "== no control file anywhere: a warning, and the installer goes without it"
  "$@" build "$demo/flash.zvp" -o "$work/Demo NoFlash.exe" 2> "$work/noflash.err"
  grep -q "warning: the Flash control was not found" "$work/noflash.err"
  python3 "$here/check_installer.py" "$work/Demo NoFlash.exe" "$stub" \
    instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt \
    palette.xml clock.swf
fi

echo "== another installer program packed in place of the carried one; a file that is none refused"
printf 'MZ another installer program' > "$work/other.exe"
"$@" build "$demo/demo.zvp" -o "$work/Demo Other.exe" --installer-program "$work/other.exe"
python3 "$here/check_installer.py" "$work/Demo Other.exe" "$work/other.exe" \
  instcfg.ini Demo_build.bmp licence.txt background.bmp DemoPreview.bmp greeting.txt palette.xml \
  clock.swf $sources
if "$@" build "$demo/demo.zvp" -o "$work/Demo Text.exe" --installer-program "$demo/licence.txt" \
  2> "$work/text.err"; then
  echo "a text file was packed as the installer program"; exit 1
fi
grep -q "licence.txt: is not a Windows program" "$work/text.err"
[ ! -e "$work/Demo Text.exe" ]

echo "== the page"
"$@" page "$demo/demo.zvp" -o "$work/Demo.htm"
grep -q 'VALUE="Demo.clock.swf"' "$work/Demo.htm"
grep -q 'Demo.DemoPreview.bmp' "$work/Demo.htm"
rm -rf "$work"
echo "demo builds and checks passed"
