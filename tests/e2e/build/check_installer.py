#!/usr/bin/env python3
"""Checks a built installer without any of our own code: the layout read from the end of the
file, every member inflated with Python's zlib, and "instcfg.ini" with its keys in order.

usage: check_installer.py INSTALLER STUB MEMBER... [--source NAME=PATH]...
MEMBER names the expected members in order; --source compares a member with its source file.
"""
import struct
import sys
import zlib

CONFIG_KEYS = [
    ("Installer", ["ShowMovie", "MovieOrImageFile", "LicenseFile", "Name", "FlashControl",
                   "InstallerFilePath"]),
    ("ScreenSaver", ["Name"]),
    ("Movie", ["SWFFile", "ResourceFiles", "HAlign", "VAlign", "Mute", "Quality", "MovieBkgSet",
               "MovieBkgColor", "Loop", "MovieSize"]),
    ("Wallpaper", ["BackImage", "Align", "PrevMon"]),
]


def fail(why):
    sys.exit("check_installer: " + why)


def directory(data):
    if data[-10:] != b"!QOBA_SFX!":
        fail("no marker at the end")
    if data[-14:-10] != b"1.10":
        fail("version is not 1.10")
    (count,) = struct.unpack("<i", data[-18:-14])
    if not 0 < count <= 256:
        fail("member count %d" % count)
    members, end = [], len(data) - 18
    for _ in range(count):
        (n,) = struct.unpack("<I", data[end - 4:end])
        name = data[end - 4 - n:end - 4].decode("latin-1")
        offset, usize, csize = struct.unpack("<III", data[end - 16 - n:end - 4 - n])
        members.insert(0, (name, offset, usize, csize))
        end -= 16 + n
    return members, end


def parse_ini(text):
    sections = []
    for line in text.split("\r\n"):
        if not line:
            continue
        if line.startswith("[") and line.endswith("]"):
            sections.append((line[1:-1], []))
        elif "=" in line and sections:
            key, value = line.split("=", 1)
            sections[-1][1].append((key, value))
        else:
            fail("instcfg.ini: unexpected line %r" % line)
    return sections


def main(args):
    sources = {}
    rest = []
    i = 0
    while i < len(args):
        if args[i] == "--source":
            name, path = args[i + 1].split("=", 1)
            sources[name] = path
            i += 2
        else:
            rest.append(args[i])
            i += 1
    installer, stub_path, expected = rest[0], rest[1], rest[2:]
    data = open(installer, "rb").read()
    stub = open(stub_path, "rb").read()
    if data[:len(stub)] != stub:
        fail("the file does not start with the installer program")
    members, directory_start = directory(data)
    names = [m[0] for m in members]
    if names != expected:
        fail("members %s, expected %s" % (names, expected))
    position = len(stub)
    contents = {}
    for name, offset, usize, csize in members:
        if offset != position:
            fail("%s starts at %d, expected %d" % (name, offset, position))
        stream = data[offset:offset + csize]
        d = zlib.decompressobj()
        plain = d.decompress(stream) + d.flush()
        if not d.eof or d.unused_data:
            fail("%s is not exactly one zlib stream" % name)
        if len(plain) != usize:
            fail("%s inflates to %d bytes, directory says %d" % (name, len(plain), usize))
        if name in sources and open(sources[name], "rb").read() != plain:
            fail("%s differs from its source" % name)
        contents[name] = plain
        position += csize
    if position != directory_start:
        fail("the directory does not follow the last member")
    if names[0] != "instcfg.ini":
        fail("member 0 is not instcfg.ini")
    ini = parse_ini(contents["instcfg.ini"].decode("latin-1"))
    layout = [(s, [k for k, _ in keys]) for s, keys in ini]
    if layout != CONFIG_KEYS:
        fail("instcfg.ini keys %s" % layout)
    values = {(s, k): v for s, keys in ini for k, v in keys}
    if values[("Movie", "SWFFile")] != names[-1]:
        fail("the movie is not the last member")
    for key in [("Installer", "MovieOrImageFile"), ("Wallpaper", "PrevMon")]:
        if values[key] and values[key] not in names:
            fail("%s %s names no member" % key)
    print("%s: %d members, layout and instcfg.ini fine" % (installer, len(members)))


if __name__ == "__main__":
    main(sys.argv[1:])
