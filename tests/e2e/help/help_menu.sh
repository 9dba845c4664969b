#!/bin/bash
# The Help menu and the about box's links, seen through the recording browser: F1 opens the
# help beside the program, the two web entries open a help page each (support, products), the
# links open its support page, and an opened link turns purple. The browser takes the foreground when it starts,
# so the windows are closed by messages afterwards, not by keys.
. "$(dirname "$0")/../authoring/authoring_lib.sh" "$1"
prepare_prefix
# The browser's log and the classes it replaced in a folder of this test's own: other tests reset
# the shared one. The programs started here inherit the variable.
export ZARVANE_DOUBLES_DIR='C:\zarvane-doubles-help'
new_case help_menu
trap '$DOUBLES restore-browser' EXIT
use_recording_browser
BLUE='#0000EE'
PURPLE='#551A8B'

zarvane "" wait-window "Zarvane - [Untitled.zvp]" key f1 sleep 300 \
  mouse-click 1070 key s sleep 300 mouse-click 1070 key p sleep 300 close wait-exit 0
check "the tool ran its Help menu and closed" equals "$?" 0
check "F1 opens Help\\index.htm beside the program" \
  browser_opened "*-nohome \"$(winpath "$BIN")\\Help\\index.htm\""
check "the support entry opens the support page of the help" \
  browser_opened "*-nohome \"$(winpath "$BIN")\\Help\\support.htm\""
check "the products entry opens a page of its own" \
  browser_opened "*-nohome \"$(winpath "$BIN")\\Help\\products.htm\""
no_placeholder() { ! grep -qi 'example\.com' "$BROWSER_LOG"; }
check "and no address that leads nowhere" no_placeholder

before="$WORK/about.png"
after="$WORK/about-visited.png"
when_checkpoint "$WORK/about-open" import -window root "$before"
mark="$WORK/about-visited"
( for _ in $(seq 300); do [ -f "$mark" ] && break; sleep 0.1; done
  sleep 0.3; import -window root "$after"; rm -f "$mark" ) &
zarvane "" wait-window "Zarvane - [Untitled.zvp]" mouse-click 1070 key a \
  wait-window "About Zarvane v3.00 (Build 65)" checkpoint "$(winpath "$WORK/about-open")" \
  mouse-click 1061 sleep 500 mouse-click 1060 sleep 300 checkpoint "$(winpath "$mark")" \
  click 1 wait-window "Zarvane - [Untitled.zvp]" close wait-exit 0
check "the about box opened and closed" equals "$?" 0
wait
check "the links open the support page of the help" browser_opened '*Help?support.htm*'
check "both links are blue at first" has_colour "$before" "$BLUE" 0.00005
check "no link is purple before it was opened" lacks_colour "$before" "$PURPLE" 0.00001
check "opened links turn purple" has_colour "$after" "$PURPLE" 0.00005
check "and blue is gone" lacks_colour "$after" "$BLUE" 0.00001
finish
