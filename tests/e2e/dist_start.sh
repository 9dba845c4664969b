#!/bin/bash
# dist_start.sh BUILD_DIR ZIP: the zip of `make dist`, unpacked into a fresh folder, holds what
# it promises, and its Zarvane.exe starts there and opens its own help on F1, seen through the
# stand-in browser registered for .htm files.
. "$(dirname "$0")/lib.sh" "$1"
ZIP=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

fresh=$(mktemp -d "${TMPDIR:-/tmp}/zarvane-dist.XXXXXX")
trap '$DOUBLES restore-browser; rm -rf "$fresh"' EXIT

unzip -q "$ZIP" -d "$fresh"
for f in Zarvane.exe zarvane-cli.exe Help/index.htm README.txt LICENCE.txt; do
  check "the zip holds Zarvane/$f" test -f "$fresh/Zarvane/$f"
done
check "the read-me has Windows line ends" grep -q $'\r$' "$fresh/Zarvane/README.txt"
# Every page and picture the help links to is in the zip; no placeholder address reaches a user.
help_links() {
  grep -oh '\(href\|src\)="[^"]*"' "$fresh"/Zarvane/Help/*.htm |
    sed 's/^[a-z]*="//; s/"$//; s/#.*//' | grep -v ':' | grep -v '^$' | sort -u
}
check "the help links to pages and pictures" test -n "$(help_links)"
for link in $(help_links); do
  check "the zip holds Help/$link" test -f "$fresh/Zarvane/Help/$link"
done
no_placeholder() { ! grep -rqai 'example\.\(com\|org\|net\)' "$fresh/Zarvane"; }
check "no placeholder address in the programs, the help or the texts" no_placeholder

prepare_prefix
# The browser's log and the classes it replaced in a folder of this test's own: other tests reset
# the shared one. The programs started here inherit the variable.
export ZARVANE_DOUBLES_DIR='C:\zarvane-doubles-help'
use_recording_browser

program="$fresh/Zarvane/Zarvane.exe"
"$RUN" "$BIN/zarvane-driver.exe" run "$(cmdline "$program")" wait-window "Zarvane - *" \
  key f1 sleep 500 close wait-exit 0
check "Zarvane.exe started from the fresh folder and opened its own help" \
  browser_opened "*$(winpath "$fresh")\\Zarvane\\Help\\index.htm*"
finish
