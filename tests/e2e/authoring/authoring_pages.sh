#!/bin/bash
# The pages the first window does not show are made after it: each still shows the record it was
# given, and making it is no edit of the project.
. "$(dirname "$0")/authoring_lib.sh" "$1"
prepare_prefix
new_case authoring_pages
forget_settings
W=$(winpath "$WORK")

printf '[ScreenSaver]\r\nName=Late\r\n[Preview]\r\nShowMovie=0\r\nImageFile=%s\\prev.bmp\r\n' \
  "$W" >"$WORK/late.zvp"
printf '[Installer]\r\nName=Late\r\nInstallerFilePath=%s\\Late Setup.exe\r\n' "$W" >>"$WORK/late.zvp"

# Each page visited shows the opened project's values; the title stays unmarked, and closing asks
# nothing. The first field keeps the focus while the other pages are made.
zarvane "\"$W\\late.zvp\"" wait-window "Zarvane - [$W\\late.zvp]" expect-focus 1020 sleep 500 \
  expect-focus 1020 key alt+r expect-state 1093 checked expect-state 1092 unchecked \
  key alt+i expect-text 1049 "$W\\Late Setup.exe" key alt+w \
  wait-window "Zarvane - [$W\\late.zvp]" key escape expect-no-box 500 wait-exit 0
check "later pages show the opened project and mark nothing" equals "$?" 0

# A fresh project: the same, with every page set from the fresh record.
zarvane "" wait-window "Zarvane - [Untitled.zvp]" key alt+i expect-text 1049 "" \
  expect-state 1043 checked key alt+r expect-state 1092 checked expect-state 1003 disabled \
  wait-window "Zarvane - [Untitled.zvp]" key escape expect-no-box 500 wait-exit 0
check "later pages show the fresh record and mark nothing" equals "$?" 0
finish
