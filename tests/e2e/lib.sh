# Shared by the whole-program tests: sourced as `. lib.sh BUILD_DIR` from each test script.
# The tests run Windows programs in the Windows build's Wine prefix and look at its files and
# registry from the host.
set -u
# Windows need a display; without one the case is skipped (ctest: SKIP_RETURN_CODE 77).
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: skipped"; exit 77; }
BUILD=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)  # this file's folder, also when sourced from a subfolder
export ZARVANE_WINEPREFIX="${ZARVANE_WINEPREFIX:-$BUILD/wineprefix}"
PREFIX=$ZARVANE_WINEPREFIX
RUN="$BUILD/wine-run.sh"
BIN="$BUILD/bin"
DOUBLES="$HERE/support/doubles.sh --build $BUILD"
DRIVE_C="$PREFIX/drive_c"
WALLPAPER_DIR="$DRIVE_C/windows/Web/WallPaper"
TEMP_DIR=""   # set by prepare_prefix
UNINSTALL_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
failures=0

# A host path as Wine sees it.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# A host path as a quoted program name for a command line (its blanks must not split it).
cmdline() { printf '"%s"' "$(winpath "$1")"; }
# A C:\ path as the host sees it.
hostpath() { printf '%s/%s' "$DRIVE_C" "$(printf '%s' "${1#??}" | tr '\\' / | sed 's,^/*,,')"; }

check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
same_file() { cmp -s "$1" "$2"; }
no_file() { [ ! -e "$1" ]; }
equals() { [ "$1" = "$2" ] || { echo "     got '$1', expected '$2'"; return 1; }; }

# The tree holds 64-bit programs (run under the 64-bit Wine).
tree_is_64_bit() { grep -q '^export WINEARCH=win64' "$RUN"; }
# One line on why this tree's Wine starts no program.
wine_cannot_run() {
  if tree_is_64_bit; then
    echo "the 64-bit Wine loader (Debian package wine64) cannot start the programs of $BUILD"
  else
    echo "Wine cannot start the 32-bit programs of $BUILD (does this machine run 32-bit programs? WINDOWS_TESTS=win64 takes the 64-bit tree)"
  fi
}

# The prefix exists and its wineserver runs; TEMP_DIR is the installer's extraction folder.
# Fails when Wine cannot start a program.
prepare_prefix() {
  "$RUN" cmd /c exit >/dev/null 2>&1 || { echo "$(wine_cannot_run)"; return 1; }
  TEMP_DIR=$(hostpath "$("$RUN" cmd /c echo %TEMP% | tr -d '\r')")
  mkdir -p "$TEMP_DIR"
}

# set_screen_dpi DPI: the screen's DPI (96 = 100 %) for every program of the prefix started from
# now on. Wine reads it when its server starts: the server is ended here.
set_screen_dpi() {
  "$RUN" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null &&
    "$RUN" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null || return 1
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  WINEPREFIX="$PREFIX" wineserver -w 2>/dev/null
  return 0
}

# No folder of an installer's run (zarvane-<process>-<n>) is left in the temporary folder.
no_private_folder() {
  local left
  [ -d "$TEMP_DIR" ] || { echo "     no temporary folder '$TEMP_DIR'"; return 1; }
  left=$(cd "$TEMP_DIR" && ls -d zarvane-[0-9]*-[0-9]* 2>/dev/null)
  [ -z "$left" ] || { echo "     left: $left"; return 1; }
}

# reg_value KEY NAME: the data of a REG_SZ value, empty when missing.
reg_value() {
  "$RUN" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_SZ *//p"
}
# reg_dword KEY NAME: a REG_DWORD value in decimal, empty when missing.
reg_dword() {
  local hex
  hex=$("$RUN" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_DWORD *//p")
  [ -n "$hex" ] && printf '%d' "$hex"
}
reg_key_exists() { "$RUN" reg query "$1" >/dev/null 2>&1; }
# desktop_shows TEXT: the stand-in desktop's wallpaper is TEXT.
desktop_shows() { equals "$($DOUBLES state | tr -d '\r' | sed -n 's/^Wallpaper=//p')" "$1"; }
# no_key KEY [VALUE]: KEY (or its VALUE) is missing, where reg answers for the key above it (or
# for KEY): a reg that never ran finds nothing either.
no_key() {
  local known=${1%\\*}
  [ $# -lt 2 ] || known=$1
  reg_key_exists "$known" || { echo "     reg gives no answer for $known"; return 1; }
  if [ $# -lt 2 ]; then ! reg_key_exists "$1"; else ! "$RUN" reg query "$1" /v "$2" >/dev/null 2>&1; fi
}

# ini_value FILE SECTION KEY (host path)
ini_value() {
  tr -d '\r' <"$1" | awk -v s="[$2]" -v k="$3" '
    /^\[/ { in_s = (tolower($0) == tolower(s)); next }
    in_s { i = index($0, "="); if (i && tolower(substr($0, 1, i - 1)) == tolower(k)) { print substr($0, i + 1); exit } }'
}

# make_installer OUTPUT FILE...: the files in member order behind the freshly built installer.
make_installer() {
  local out=$1; shift
  local args=()
  for f in "$@"; do args+=("$(winpath "$f")"); done
  "$RUN" "$BIN/make_test_installer.exe" "$(winpath "$BIN/zarvane-installer.exe")" \
    "$(winpath "$out")" "${args[@]}"
}

# write_config FILE: an instcfg.ini as the build writes it, from CFG_NAME and the optional
# CFG_SHOW_MOVIE, CFG_MOVIE_OR_IMAGE, CFG_LICENSE, CFG_RESOURCES, CFG_BACK_IMAGE, CFG_PREV_MON.
write_config() {
  {
    printf '[Installer]\r\nShowMovie=%s\r\nMovieOrImageFile=%s\r\nLicenseFile=%s\r\n' \
      "${CFG_SHOW_MOVIE:-0}" "${CFG_MOVIE_OR_IMAGE:-}" "${CFG_LICENSE:-}"
    printf 'Name=%s\r\nFlashControl=1\r\n' "$CFG_NAME"
    printf '[Movie]\r\nSWFFile=movie.swf\r\nResourceFiles=%s\r\nHAlign=Center\r\n' \
      "${CFG_RESOURCES:-}"
    printf 'VAlign=Center\r\nMovieBkgColor=ffffff\r\nMovieSize=showall\r\nQuality=High\r\n'
    printf 'Loop=TRUE\r\n[Wallpaper]\r\nBackImage=%s\r\nAlign=Center\r\nPrevMon=%s\r\n' \
      "${CFG_BACK_IMAGE:-}" "${CFG_PREV_MON:-}"
  } >"$1"
}

# A minimal movie: the uncompressed signature and a header.
write_movie() { printf 'FWS\006\040\000\000\000\170\000\005\137\000\000\017\240\000\000\030\001\000' >"$1"; }

# Removes what an earlier run may have left of wallpaper NAME.
forget_wallpaper() {
  rm -rf "$WALLPAPER_DIR/$1" "$WALLPAPER_DIR/$1.htm"
  "$RUN" reg delete "$UNINSTALL_KEY\\$1" /f >/dev/null 2>&1 || true
}

finish() {
  if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}

# drive COMMANDS...: the test driver (see tests/driver/README.md) against the started program.
drive() {
  local out rc
  out=$("$RUN" "$BIN/zarvane-driver.exe" "$@"); rc=$?
  # The driver logs every start and every failure. A failed run that printed nothing never got to
  # its script (seen once in CI: Wine's start of the driver lost, exit 1): nothing was done, so
  # once more.
  if [ $rc != 0 ] && [ -z "$out" ]; then
    echo "     the driver ended at once, silent (exit $rc): started again" >&2
    out=$("$RUN" "$BIN/zarvane-driver.exe" "$@"); rc=$?
  fi
  [ -z "$out" ] || printf '%s\n' "$out"
  return $rc
}

# new_case NAME: an empty work folder for this test's files, as $WORK.
new_case() {
  WORK="$BUILD/e2e-work/$1"
  rm -rf "$WORK" && mkdir -p "$WORK"
}

# shoot_dialog EXE CAPTION SHOT [DRIVER COMMANDS...]: starts EXE, waits for its window, runs the
# commands, saves a screenshot of the screen as SHOT and closes the window.
shoot_dialog() {
  local exe=$1 caption=$2 shot=$3; shift 3
  local mark="$WORK/dialog-open"
  rm -f "$mark" "$shot"
  # A loaded machine can take long to start a cold installer: wait longer than the driver's default.
  drive timeout 30000 run "$(cmdline "$exe")" wait-window "$caption" "$@" \
    checkpoint "$(winpath "$mark")" close wait-exit any &
  local driver=$! i=0 shot_taken=1
  while [ ! -f "$mark" ] && [ $i -lt 700 ]; do sleep 0.05; i=$((i + 1)); done
  sleep 0.3  # let the pane and the control finish painting
  [ -f "$mark" ] && import -window root "$shot" && shot_taken=0
  rm -f "$mark"
  wait $driver || return
  [ $shot_taken = 0 ] || { echo "     no screenshot of $caption"; return 1; }
}

# has_colour SHOT COLOUR [SHARE]: more than SHARE of the screenshot's pixels (default: a few
# hundred) have exactly this colour. lacks_colour: a screenshot that was taken, with no more.
colour_share() {
  [ -s "$1" ] || { echo "     no screenshot $1" >&2; return 1; }
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:
}
has_colour() {
  local share
  share=$(colour_share "$1" "$2") || return 1
  awk -v s="$share" -v min="${3:-0.0003}" 'BEGIN { exit !(s > min) }'
}
lacks_colour() {
  local share
  share=$(colour_share "$1" "$2") || return 1
  awk -v s="$share" -v min="${3:-0.0003}" 'BEGIN { exit !(s <= min) }'
}

FLASH_TARGET="$DRIVE_C/windows/system32/Macromed/Flash/flash.ocx"
FLASH_CLSID_KEY='HKCR\CLSID\{D27CDB6E-AE6D-11cf-96B8-444553540000}'
# The stand-in control installed and registered where the installer looks for it. When the test
# ends, the control leaves the system folder and is registered from the build again, as the
# doubles' fixture left it for the tests that share it.
install_flash_double() {
  trap restore_flash EXIT
  mkdir -p "$(dirname "$FLASH_TARGET")"
  cp "$BIN/doubles/flash.ocx" "$FLASH_TARGET"
  $DOUBLES register-flash "$FLASH_TARGET" >/dev/null
}
restore_flash() {
  $DOUBLES remove-flash
  $DOUBLES register-flash >/dev/null
}

# The recording browser opens .htm files, http and mailto links; `$DOUBLES restore-browser`
# gives them back to what the prefix had.
use_recording_browser() {
  $DOUBLES register-browser
  BROWSER_LOG="$($DOUBLES folder)/browser.log"
  rm -f "$BROWSER_LOG"
}
# browser_opened PATTERN: within 10 s the browser is started with a command line matching the
# shell pattern (backslashes plain).
browser_opened() {
  local p i line
  p=$(printf '%s' "$1" | sed 's/\\/\\\\/g')
  for i in $(seq 100); do
    if [ -f "$BROWSER_LOG" ]; then
      while IFS= read -r line; do
        # shellcheck disable=SC2254
        case ${line%$'\r'} in $p) return 0 ;; esac
      done <"$BROWSER_LOG"
    fi
    sleep 0.1
  done
  echo "     the browser was not started for '$1'; it saw:"
  sed 's/^/       /' "$BROWSER_LOG" 2>/dev/null
  return 1
}
