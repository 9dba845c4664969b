#!/bin/bash
# An installer signed with Authenticode after it was built (as signtool or osslsigncode sign it)
# installs under /S, and its Uninstall.exe is an unsigned program: the installer program without
# a certificate table entry or a checksum, which would name a signature it does not carry.
. "$(dirname "$0")/lib.sh" "$1"
prepare_prefix
new_case signed
NAME="E2E Signed"
INSTALL='C:\Program Files\E2E Signed'
command -v osslsigncode >/dev/null && command -v openssl >/dev/null ||
  { echo "osslsigncode or openssl missing: skipped"; exit 77; }
install_flash_double
forget_wallpaper "$NAME"
rm -rf "$(hostpath "$INSTALL")"
$DOUBLES reset
$DOUBLES preset-wallpaper 'C:\windows\old.bmp'

CFG_NAME=$NAME write_config "$WORK/instcfg.ini"
write_movie "$WORK/movie.swf"
make_installer "$WORK/Setup.exe" "$WORK/instcfg.ini" "$WORK/movie.swf"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$WORK/key.pem" -out "$WORK/cert.pem" \
  -days 30 -subj "/CN=Zarvane Test Signer" 2>/dev/null
osslsigncode sign -certs "$WORK/cert.pem" -key "$WORK/key.pem" -in "$WORK/Setup.exe" \
  -out "$WORK/Signed Setup.exe" >/dev/null
check "signed" osslsigncode verify -CAfile "$WORK/cert.pem" -in "$WORK/Signed Setup.exe" >/dev/null

timeout 120 "$RUN" "$(winpath "$WORK/Signed Setup.exe")" /S /P "$INSTALL"
check "the signed installer installs under /S: exit code 0" equals "$?" 0
check "  desktop shows the page" desktop_shows "C:\\windows\\Web\\WallPaper\\$NAME.htm"
check "  movie in place" same_file "$WORK/movie.swf" "$WALLPAPER_DIR/$NAME/movie.swf"
# The installer program as it was built, but for its checksum; no certificate table entry.
unsigned_copy() {
  python3 - "$BIN/zarvane-installer.exe" "$(hostpath "$INSTALL")/Uninstall.exe" <<'PY'
import struct, sys
built, copy = (open(p, "rb").read() for p in sys.argv[1:3])
pe = struct.unpack_from("<I", built, 0x3C)[0]
optional = pe + 24
directories = optional + (96 if struct.unpack_from("<H", built, optional)[0] == 0x10B else 112)
security = directories + 4 * 8
plain = bytearray(built)
plain[optional + 64:optional + 68] = bytes(4)
ok = copy == bytes(plain) and copy[security:security + 8] == bytes(8)
sys.exit(0 if ok else 1)
PY
}
check "  Uninstall.exe unsigned: no certificate table entry, no checksum" unsigned_copy
timeout 120 "$RUN" "$INSTALL\\Uninstall.exe" /S
check "its uninstaller removes it: exit code 0" equals "$?" 0
check "  page gone" no_file "$WALLPAPER_DIR/$NAME.htm"
check "  the user's wallpaper back" desktop_shows 'C:\windows\old.bmp'
rm -rf "$WORK"
forget_wallpaper "$NAME"
finish
