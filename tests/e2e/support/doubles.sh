#!/bin/sh
# Registers the stand-in COM servers in the Windows build's Wine prefix, presets and resets their
# state, and prints their logs. Usage: doubles.sh [--build DIR] COMMAND [ARGS]   (see --help)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build="$here/../../../build/win32"
if [ "${1:-}" = "--build" ]; then build=$2; shift 2; fi
build=$(cd "$build" && pwd)
prefix=${ZARVANE_WINEPREFIX:-$build/wineprefix}
export ZARVANE_WINEPREFIX="$prefix"
run="$build/wine-run.sh"
bin="$build/bin/doubles"
# The stand-ins honour ZARVANE_DOUBLES_DIR (a C:\ path) as the folder of their logs and state.
folder="$prefix/drive_c/zarvane-doubles"
case "${ZARVANE_DOUBLES_DIR:-}" in
  '') ;;
  [Cc]:\\*) folder="$prefix/drive_c/$(printf '%s' "${ZARVANE_DOUBLES_DIR#??}" | tr '\\' / | sed 's,^/*,,; s,/*$,,')" ;;
  *) echo "doubles.sh: ZARVANE_DOUBLES_DIR must be a C:\\ path" >&2; exit 2 ;;
esac
flash_clsid='{D27CDB6E-AE6D-11cf-96B8-444553540000}'

usage() {
  cat <<'TEXT'
doubles.sh [--build DIR] COMMAND [ARGS]      DIR defaults to build/win32 of this checkout
  register-desktop          serve CLSID_ActiveDesktop from the stand-in (zarvane-active-desktop.dll)
  restore-desktop           give CLSID_ActiveDesktop back to Wine's shell32
  register-flash [DLL]      regsvr32 a stand-in flash.ocx (default: bin/doubles/flash.ocx)
  register-browser          the recording browser opens .htm files, http and mailto links
  restore-browser           the programs registered for them before
  unregister-flash          remove the Flash class registration
  remove-flash              unregister, and delete the system folder's Macromed\Flash\flash.ocx
  reset                     forget all logs and state (desktop and flash)
  preset-wallpaper TEXT     the wallpaper the stand-in desktop shows
  preset-active-desktop 0|1 Active Desktop (and its components) off or on
  preset desktop|flash KEY VALUE   any state key (FailGetDesktopItemOptions, RegisterResult ...)
  log desktop|flash|browser print a log (nothing when empty)
  expect-calls desktop|flash PATTERN...   lines matching the patterns appear in this order
                            (shell patterns: * ?; backslashes are plain); else print the log, exit 1
  expect-no-call desktop|flash PATTERN    the log exists and no line matches
  state                     print the desktop state
  folder                    print the host path of the logs and state
TEXT
}

# set_key FILE KEY VALUE: replaces or appends one key=value line.
set_key() {
  mkdir -p "$folder"
  touch "$1"
  grep -v "^$2=" "$1" >"$1.tmp" || true
  printf '%s=%s\n' "$2" "$3" >>"$1.tmp"
  mv "$1.tmp" "$1"
}

state_file() {
  case "$1" in
    desktop) echo "$folder/desktop-state.txt" ;;
    flash) echo "$folder/flash-state.txt" ;;
    browser) echo "$folder/browser-classes.txt" ;;
    *) echo "doubles.sh: no double named '$1'" >&2; exit 2 ;;
  esac
}

# pattern TEXT: a shell pattern in which backslashes are plain characters (Windows paths).
pattern() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }

log_file() { echo "$folder/$1.log"; }

expect_calls() {
  state_file "$1" >/dev/null
  log=$(log_file "$1")
  name=$1
  shift
  touch "$log" 2>/dev/null || true
  exec 3<"$log"
  for wanted in "$@"; do
    p=$(pattern "$wanted")
    found=0
    while IFS= read -r line <&3; do
      # shellcheck disable=SC2254
      case $line in $p) found=1; break ;; esac
    done
    if [ $found = 0 ]; then
      printf "doubles.sh: no call '%s' (after the ones before it) in %s.log:\n" "$wanted" "$name"
      sed 's/^/  /' "$log"
      exit 1
    fi
  done
  exec 3<&-
}

expect_no_call() {
  state_file "$1" >/dev/null
  log=$(log_file "$1")
  p=$(pattern "$2")
  # No log at all proves nothing: the stand-in may never have been loaded.
  [ -f "$log" ] || { echo "doubles.sh: no $1.log: the stand-in never ran since the last reset"; exit 1; }
  while IFS= read -r line; do
    # shellcheck disable=SC2254
    case $line in $p)
      printf "doubles.sh: unexpected call '%s' in %s.log:\n" "$line" "$1"
      sed 's/^/  /' "$log"
      exit 1 ;;
    esac
  done <"$log"
}

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The classes a browser is registered under, each with its default value.
browser_keys='.htm htmlfile\shell\open\command http\shell\open\command mailto\shell\open\command'

default_value() {  # default_value KEY: prints the key's default value; fails when it is missing
  out=$("$run" reg query "HKCR\\$1" /ve 2>/dev/null) || return 1
  printf '%s\n' "$out" | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}

register_browser() {
  browser="\"$(winpath "$bin/recording-browser.exe")\""
  saved="$folder/browser-classes.txt"
  mkdir -p "$folder"
  if [ ! -f "$saved" ]; then
    for key in $browser_keys; do
      if value=$(default_value "$key"); then printf '%s\t=%s\n' "$key" "$value"
      else printf '%s\t-\n' "$key"; fi
    done >"$saved.tmp"
    mv "$saved.tmp" "$saved"
  fi
  "$run" reg add 'HKCR\.htm' /ve /d htmlfile /f >/dev/null
  "$run" reg add 'HKCR\htmlfile\shell\open\command' /ve /d "$browser -nohome \"%1\"" /f >/dev/null
  "$run" reg add 'HKCR\http\shell\open\command' /ve /d "$browser \"%1\"" /f >/dev/null
  "$run" reg add 'HKCR\mailto\shell\open\command' /ve /d "$browser -mail \"%1\"" /f >/dev/null
}

restore_browser() {
  saved="$folder/browser-classes.txt"
  [ -f "$saved" ] || return 0
  while IFS="$(printf '\t')" read -r key value; do
    case "$value" in
      -) "$run" reg delete "HKCR\\$key" /f >/dev/null 2>&1 || true ;;
      =*) "$run" reg add "HKCR\\$key" /ve /d "${value#=}" /f >/dev/null ;;
    esac
  done <"$saved"
  rm -f "$saved"
}

cmd=${1:-}
[ $# -gt 0 ] && shift
case "$cmd" in
  register-desktop) "$run" regsvr32 /s "$(winpath "$bin/zarvane-active-desktop.dll")" ;;
  restore-desktop) "$run" regsvr32 /s /u "$(winpath "$bin/zarvane-active-desktop.dll")" ;;
  register-flash) "$run" regsvr32 /s "$(winpath "${1:-$bin/flash.ocx}")" ;;
  register-browser) register_browser ;;
  restore-browser) restore_browser ;;
  unregister-flash)
    "$run" reg delete "HKCR\\CLSID\\$flash_clsid" /f >/dev/null 2>&1 || true
    "$run" reg delete "HKCR\\ShockwaveFlash.ShockwaveFlash" /f >/dev/null 2>&1 || true ;;
  remove-flash)
    "$0" --build "$build" unregister-flash
    rm -f "$prefix/drive_c/windows/system32/Macromed/Flash/flash.ocx" ;;
  reset) restore_browser; rm -rf "$folder" ;;
  preset-wallpaper) set_key "$(state_file desktop)" Wallpaper "$1" ;;
  preset-active-desktop)
    set_key "$(state_file desktop)" ActiveDesktop "$1"
    set_key "$(state_file desktop)" EnableComponents "$1" ;;
  preset) set_key "$(state_file "$1")" "$2" "$3" ;;
  log) state_file "$1" >/dev/null; cat "$(log_file "$1")" 2>/dev/null || true ;;
  expect-calls) expect_calls "$@" ;;
  expect-no-call) expect_no_call "$1" "$2" ;;
  state) cat "$folder/desktop-state.txt" 2>/dev/null || true ;;
  folder) printf "%s\n" "$folder" ;;
  -h|--help|help) usage ;;
  *) usage >&2; exit 2 ;;
esac
