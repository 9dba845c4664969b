#!/usr/bin/env python3
"""Draws the installer's own picture (bitmap 131, and 132 at twice the size) and icon (128).

Both are plain geometry, so the files can be made again byte for byte:
    python3 make_pictures.py   # writes installer_picture*.bmp and installer.ico here
The picture is an 8-bit bitmap compressed with RLE8: its rows are mostly runs of one colour, which
keeps the installer small. The pane shows the large one above 96 DPI, scaled down smooth to its
size, so the shapes stay sharp up to 192 DPI.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def picture(width=300, height=168):
    top, bottom = (14, 30, 72), (32, 118, 150)
    sun = (250, 204, 92)
    hill_far, hill_near = (22, 70, 92), (14, 48, 66)
    rows = []
    for yy in range(height):
        sky = lerp(top, bottom, yy / (height - 1))
        row = []
        for px in range(width):
            # drawn on a 200 x 112 grid, so the shapes keep their places at any size
            x, y = px * 200.0 / width, yy * 112.0 / height
            colour = sky
            # a low sun
            if (x - 150) ** 2 + (y - 40) ** 2 <= 17 ** 2:
                colour = sun
            # two light ribbons across the sky
            for phase, centre, amp in ((0.0, 58, 9), (1.7, 70, 7)):
                wave = centre + amp * math.sin(x / 23.0 + phase)
                if abs(y - wave) < 2.2:
                    colour = lerp(sky, (235, 245, 255), 0.55)
            # hills
            if y > 86 + 7 * math.sin(x / 31.0 + 0.6):
                colour = hill_far
            if y > 96 + 5 * math.sin(x / 19.0 + 2.1):
                colour = hill_near
            row.append(colour)
        rows.append(row)
    return rows


def palette_of(rows):
    colours = sorted({c for row in rows for c in row})
    assert len(colours) <= 256, len(colours)
    return colours, {c: i for i, c in enumerate(colours)}


def rle8(indices):
    out = bytearray()
    i = 0
    while i < len(indices):
        run = 1
        while i + run < len(indices) and run < 255 and indices[i + run] == indices[i]:
            run += 1
        out += bytes((run, indices[i]))
        i += run
    return out + b"\x00\x00"  # end of line


def write_bmp(path, rows):
    colours, index = palette_of(rows)
    height, width = len(rows), len(rows[0])
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        data += rle8([index[c] for c in row])
    data[-2:] = b"\x00\x01"  # the last end of line becomes end of bitmap
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(data), 2835, 2835,
                         len(colours), 0)
    offset = 14 + len(header) + len(pal)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + pal + data)


ICON_PALETTE = [(0, 0, 0), (40, 40, 48), (14, 30, 72), (32, 118, 150), (250, 204, 92),
                (235, 245, 255), (120, 120, 130)] + [(0, 0, 0)] * 9


def icon_pixels(size):
    s = size / 32.0
    px = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            X, Y = x / s, y / s
            if 2 <= X < 30 and 4 <= Y < 24:  # monitor frame
                px[y][x] = 1
                if 4 <= X < 28 and 6 <= Y < 22:  # screen
                    px[y][x] = 2 if Y < 14 else 3
                    if (X - 21) ** 2 + (Y - 11) ** 2 <= 9:
                        px[y][x] = 4
                    if abs(Y - (16 + 2 * math.sin(X / 3.0))) < 0.9:
                        px[y][x] = 5
            elif 13 <= X < 19 and 24 <= Y < 27:  # stand
                px[y][x] = 6
            elif 9 <= X < 23 and 27 <= Y < 29:
                px[y][x] = 6
    return px


def icon_image(size):
    px = icon_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in ICON_PALETTE)
    xor = bytearray()
    for row in reversed(px):
        line = bytearray()
        for x in range(0, size, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            line.append((hi << 4) | lo)
        xor += line + b"\x00" * ((-len(line)) % 4)
    mask = bytearray()
    for row in reversed(px):
        line = bytearray((size + 7) // 8)
        for x in range(size):
            if row[x] is None:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line + b"\x00" * ((-len(line)) % 4)
    return header + pal + xor + mask


# Every size Windows asks for from 96 to 192 DPI: small 16/24/32, large 32/48/64.
def write_ico(path, sizes=(32, 16, 48, 24, 64)):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "installer_picture.bmp"), picture())
    write_bmp(os.path.join(HERE, "installer_picture_large.bmp"), picture(600, 336))
    write_ico(os.path.join(HERE, "installer.ico"))
