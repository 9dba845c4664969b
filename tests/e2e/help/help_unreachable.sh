#!/bin/bash
# Help Contents that cannot open the help says so, with the page to open by hand: here the tool
# runs from a folder without its Help pages.
. "$(dirname "$0")/../authoring/authoring_lib.sh" "$1"
prepare_prefix
new_case help_unreachable
mkdir -p "$WORK/bare"
cp "$BIN/Zarvane.exe" "$WORK/bare/"
B=$(winpath "$WORK/bare")
drive timeout 20000 run "$(cmdline "$WORK/bare/Zarvane.exe")" \
  wait-window "Zarvane - [Untitled.zvp]" key f1 \
  answer-box Error "Unable to open the help.*$B\\Help\\index.htm" ok \
  wait-window "Zarvane - [Untitled.zvp]" key escape wait-exit 0
check "F1 without the help pages tells where they should be" equals "$?" 0
finish
