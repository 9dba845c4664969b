#!/usr/bin/env python3
"""Stores resources compressed; the programs expand them once, when first used.

A packed resource is the original's size (4 bytes, little-endian) and then its bytes as one zlib
stream. A picture is packed as Windows keeps a BITMAP resource: the .bmp without its 14-byte file
header.

  pack_resources.py file INPUT OUTPUT
  pack_resources.py rc PICTURES.RC OUTPUT.RC FOLDER [--pictures-only]
    Each `ID BITMAP "file"` of PICTURES.RC becomes `ID PACKED_BITMAP "FOLDER/file.packed"`; other
    lines keep their resources, named by absolute paths. --pictures-only leaves out those lines.
"""
import os
import re
import struct
import sys
import zlib


def packed(data):
    return struct.pack("<I", len(data)) + zlib.compress(data, 9)


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    temporary = path + ".part"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def pack_file(source, target):
    with open(source, "rb") as f:
        write_if_changed(target, packed(f.read()))


def pack_rc(rc, target, folder, pictures_only):
    base = os.path.dirname(os.path.abspath(rc))
    os.makedirs(folder, exist_ok=True)
    lines = []
    with open(rc, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            picture = re.match(r'^(\w+)\s+BITMAP\s+"([^"]+)"\s*$', line)
            named = re.match(r'^(\w+)\s+(\w+)\s+"([^"]+)"\s*$', line)
            if picture:
                with open(os.path.join(base, picture.group(2)), "rb") as bmp:
                    data = bmp.read()
                if data[:2] != b"BM" or len(data) < 54:
                    sys.exit("%s: %s is not a bitmap" % (rc, picture.group(2)))
                out = os.path.join(folder, os.path.basename(picture.group(2)) + ".packed")
                write_if_changed(out, packed(data[14:]))
                lines.append('%s PACKED_BITMAP "%s"' % (picture.group(1), out.replace("\\", "/")))
            elif pictures_only:
                if line.startswith("#include"):
                    lines.append(line)
            elif named:
                path = os.path.join(base, named.group(3)).replace("\\", "/")
                lines.append('%s %s "%s"' % (named.group(1), named.group(2), path))
            else:
                lines.append(line)
    write_if_changed(target, ("\n".join(lines) + "\n").encode("ascii"))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "file":
        pack_file(sys.argv[2], sys.argv[3])
    elif len(sys.argv) in (5, 6) and sys.argv[1] == "rc":
        pack_rc(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:] == ["--pictures-only"])
    else:
        sys.exit(__doc__)
