#!/bin/sh
# The three stand-in flash.ocx files under regsvr32, as the installer's registration step meets
# them: a preset failure result, the larger file, the file without DllRegisterServer.
# Leaves the plain flash.ocx registered, as the doubles.flash fixture had it.
# Usage: flash_registration.sh BUILD_DIR DOUBLES_SH
set -u
build=$1 doubles="sh $2 --build $1"
export ZARVANE_DOUBLES_DIR='C:\zarvane-doubles-selftest-flash'
bin="$build/bin/doubles"
win() { printf 'Z:%s' "$1" | tr / '\\'; }
registered() {
  "$build/wine-run.sh" reg query 'HKCR\CLSID\{D27CDB6E-AE6D-11cf-96B8-444553540000}\InprocServer32' \
    /ve | tr -d '\r' | sed -n 's/.*REG_SZ *//p'
}
fail() { echo "FAILED: $*"; $doubles log flash; exit 1; }
plain_size=$(stat -c %s "$bin/flash.ocx")
large_size=$(stat -c %s "$bin/large/flash.ocx")
[ "$large_size" -gt "$plain_size" ] || fail "large/flash.ocx is not larger"

$doubles reset
$doubles preset flash RegisterResult 0x1
$doubles register-flash "$bin/large/flash.ocx"
[ "$(registered)" = "$(win "$bin/flash.ocx")" ] || fail "a refused registration changed the class"
$doubles preset flash RegisterResult 0
$doubles register-flash "$bin/large/flash.ocx" || fail "regsvr32 large"
[ "$(registered)" = "$(win "$bin/large/flash.ocx")" ] || fail "large not registered"
if $doubles register-flash "$bin/noregister/flash.ocx"; then fail "regsvr32 found an export"; fi
$doubles register-flash "$bin/flash.ocx" || fail "regsvr32 plain"
[ "$(registered)" = "$(win "$bin/flash.ocx")" ] || fail "plain not registered"

expected=$(cat <<TEXT
DllRegisterServer "$(win "$bin/large/flash.ocx")" $large_size -> 0x1
DllRegisterServer "$(win "$bin/large/flash.ocx")" $large_size -> 0x0
DllRegisterServer "$(win "$bin/flash.ocx")" $plain_size -> 0x0
TEXT
)
[ "$($doubles log flash)" = "$expected" ] || { echo "expected:"; echo "$expected"; fail "log"; }
$doubles reset
echo passed
