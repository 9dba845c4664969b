# Shared by the authoring tool's whole-program tests: `. authoring_lib.sh BUILD_DIR`.
. "$(dirname "$0")/../lib.sh" "$1"
ZARVANE="$BIN/Zarvane.exe"
SOURCE=$(cd "$HERE/../.." && pwd)
SETTINGS_KEY='HKCU\Software\Quorvel\Zarvane\Settings'

# The tool's registry key as on a machine that never ran it.
forget_settings() { "$RUN" reg delete 'HKCU\Software\Quorvel\Zarvane' /f >/dev/null 2>&1 || true; }

# zarvane "ARGS" DRIVER COMMANDS...: the tool started with ARGS on its command line (may be
# empty), then the commands. zarvane_in FOLDER "ARGS" ...: the same in a working folder.
zarvane() {
  local args=$1; shift
  drive timeout 20000 run "$(cmdline "$ZARVANE")${args:+ $args}" "$@"
}
zarvane_in() {
  local folder=$1 args=$2; shift 2
  drive timeout 20000 run-in "$(winpath "$folder")" "$(cmdline "$ZARVANE")${args:+ $args}" "$@"
}

# mru N: the recent project in registry value MRUFileN, empty when there is none.
mru() { reg_value "$SETTINGS_KEY" "MRUFile$1"; }

# chooser CAPTION PATH: driver commands that answer the file chooser CAPTION (a pattern without
# blanks: Save?As, Open) with PATH, typed as a person would. PATH must not contain blanks.
chooser() { echo wait-window "$1" type "$2" key return; }

# when_checkpoint FILE COMMAND...: runs COMMAND in the background once the driver's checkpoint
# FILE appears (at most 30 s), then lets the driver go on.
when_checkpoint() {
  local mark=$1; shift
  ( for _ in $(seq 300); do [ -f "$mark" ] && break; sleep 0.1; done
    [ -f "$mark" ] && "$@"; rm -f "$mark" ) &
}
