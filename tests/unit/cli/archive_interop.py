#!/usr/bin/env python3
"""Installers cross between our archive and an independent reader/writer built on Python's zlib.

usage: archive_interop.py WRITER_TOOL ZARVANE_CLI
"""
import os
import random
import struct
import subprocess
import sys
import tempfile
import zlib

MARKER = b"!QOBA_SFX!"


def parse(blob):
    """Reads the directory backwards from the end, as the layout prescribes."""
    assert blob[-10:] == MARKER, "marker"
    assert blob[-14:-10] == b"1.10", "version"
    (count,) = struct.unpack("<i", blob[-18:-14])
    end = len(blob) - 18
    members = []
    for _ in range(count):
        (n,) = struct.unpack("<I", blob[end - 4:end])
        name = blob[end - 4 - n:end - 4].decode("latin-1")
        offset, usize, csize = struct.unpack("<III", blob[end - 16 - n:end - 4 - n])
        members.insert(0, (offset, usize, csize, name))
        end -= 16 + n
    return members, end


def independent_writer_reads_back(tool, work):
    stub = b"MZ" + bytes(random.Random(3).randrange(256) for _ in range(5000))
    files = {
        "instcfg.ini": b"[Installer]\r\nName=Clock\r\n",
        "empty.txt": b"",
        "movie.swf": bytes(random.Random(4).randrange(256) for _ in range(70000)),
        "text.htm": b"<html>" + b"wallpaper " * 20000 + b"</html>",
    }
    paths = []
    for name, data in files.items():
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(data)
        paths.append(path)
    stub_path = os.path.join(work, "stub.bin")
    with open(stub_path, "wb") as f:
        f.write(stub)
    out = os.path.join(work, "setup.exe")
    subprocess.run([tool, stub_path, out] + paths, check=True, stdout=subprocess.DEVNULL)
    blob = open(out, "rb").read()
    assert blob.startswith(stub), "stub at the head"
    members, directory = parse(blob)
    assert [m[3] for m in members] == list(files), members
    position = len(stub)
    for (offset, usize, csize, name) in members:
        assert offset == position, (name, offset, position)
        stream = blob[offset:offset + csize]
        d = zlib.decompressobj()
        data = d.decompress(stream) + d.flush()
        assert d.eof and not d.unused_data, name
        assert data == files[name] and usize == len(data), name
        # What deflate cannot shrink is stored: its source plus the stream's framing at most
        # (header, 5 bytes per stored block of 65535, the empty last block, the check).
        framing = 2 + 5 * -(-usize // 65535) + 2 + 4
        assert csize <= min(usize + framing, len(zlib.compress(files[name], 6)) + 64), name
        position += csize
    assert position == directory, "directory right behind the last member"
    assert len(blob) == directory + sum(16 + len(n) for n in files) + 18


def our_reader_reads_independent_layout(cli, work):
    members = [
        ("instcfg.ini", b"[Installer]\r\nName=Sea\r\n"),
        ("big.bin", os.urandom(123457)),
        ("empty.dat", b""),
        ("sea.swf", b"FWS" + bytes(range(256)) * 40),
    ]
    blob = bytearray(b"MZ independent stub")
    records = b""
    for name, data in members:
        c = zlib.compressobj(6)
        stream = c.compress(data) + c.flush()
        records += struct.pack("<III", len(blob), len(data), len(stream))
        records += name.encode() + struct.pack("<I", len(name))
        blob += stream
    blob += records + struct.pack("<i", len(members)) + b"1.10" + MARKER
    installer = os.path.join(work, "independent.exe")
    with open(installer, "wb") as f:
        f.write(blob)

    listed = subprocess.run([cli, "list", installer], check=True, capture_output=True, text=True)
    expected = []
    for i, (offset, usize, csize, name) in enumerate(parse(bytes(blob))[0]):
        expected.append(f"{i}\t{offset}\t{usize}\t{csize}\t{name}")
    assert listed.stdout.splitlines() == expected, listed.stdout

    target = os.path.join(work, "extracted")
    os.mkdir(target)
    subprocess.run([cli, "extract", installer, target], check=True)
    for name, data in members:
        assert open(os.path.join(target, name), "rb").read() == data, name
    assert sorted(os.listdir(target)) == sorted(n for n, _ in members)


def main():
    tool, cli = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as work:
        independent_writer_reads_back(tool, work)
        our_reader_reads_independent_layout(cli, work)
    print("ok")


if __name__ == "__main__":
    main()
