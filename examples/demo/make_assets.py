#!/usr/bin/env python3
"""Writes the demo's movie (clock.swf) and background picture (background.bmp).

The movie is an uncompressed Shockwave Flash file, version 6, 400 x 300 pixels at 12 frames
per second: a dark blue background and an orange square that crosses the stage and back in
24 frames. Run it again after changing it; the files it writes are kept in the repository so
the demo needs nothing but the build.
"""
import os
import struct
import sys


class Bits:
    """Most significant bit first, as SWF packs its bit fields."""

    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, value, width):
        for i in range(width - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                self.acc = self.n = 0

    def signed(self, value, width):
        self.put(value & ((1 << width) - 1), width)

    def done(self):
        if self.n:
            self.put(0, 8 - self.n)
        return bytes(self.out)


def signed_width(*values):
    return max(max(abs(v).bit_length() for v in values) + 1, 2)


def rect(xmin, xmax, ymin, ymax):
    b = Bits()
    n = signed_width(xmin, xmax, ymin, ymax)
    b.put(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        b.signed(v, n)
    return b.done()


def tag(code, body=b""):
    if len(body) < 63:
        return struct.pack("<H", (code << 6) | len(body)) + body
    return struct.pack("<HI", (code << 6) | 0x3F, len(body)) + body


def square_shape(shape_id, side, rgb):
    body = struct.pack("<H", shape_id) + rect(0, side, 0, side)
    body += bytes([1, 0x00]) + bytes(rgb)  # one solid fill style
    body += bytes([0])                      # no line styles
    b = Bits()
    b.put(1, 4)  # fill index bits
    b.put(0, 4)  # line index bits
    # Style change: move to (0, 0) and take fill style 1.
    b.put(0, 1)
    b.put(0b00101, 5)
    n = signed_width(0)
    b.put(n, 5)
    b.signed(0, n)
    b.signed(0, n)
    b.put(1, 1)
    # Four straight edges around the square.
    for dx, dy in ((side, 0), (0, side), (-side, 0), (0, -side)):
        n = signed_width(dx, dy)
        b.put(1, 1)
        b.put(1, 1)
        b.put(n - 2, 4)
        b.put(0, 1)  # not a general line
        b.put(1 if dx == 0 else 0, 1)  # vertical?
        b.signed(dy if dx == 0 else dx, n)
    b.put(0, 6)  # end of shape
    return tag(2, body + b.done())


def place(depth, x, y, character=None):
    flags = 0x04 | (0x02 if character else 0x01)
    body = struct.pack("<BH", flags, depth)
    if character:
        body += struct.pack("<H", character)
    b = Bits()
    b.put(0, 1)  # no scale
    b.put(0, 1)  # no rotation
    n = signed_width(x, y)
    b.put(n, 5)
    b.signed(x, n)
    b.signed(y, n)
    return tag(26, body + b.done())


def movie():
    width, height, frames = 400 * 20, 300 * 20, 24
    side = 60 * 20
    tags = tag(9, bytes([0x10, 0x20, 0x40]))  # background colour 102040
    tags += square_shape(1, side, (0xF0, 0x90, 0x20))
    y = (height - side) // 2
    for frame in range(frames):
        half = frames // 2
        step = frame if frame < half else frames - frame
        x = 20 * 20 + step * (width - side - 40 * 20) // half
        tags += place(1, x, y, character=1 if frame == 0 else None)
        tags += tag(1)  # show frame
    tags += tag(0)
    body = rect(0, width, 0, height) + struct.pack("<HH", 12 << 8, frames) + tags
    return b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body


def bitmap(width=64, height=64):
    """A 24-bit picture: a soft diagonal blend of blue and violet."""
    row = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            t = (x + y) * 255 // (width + height - 2)
            line += bytes([0x60 + t // 3, 0x20 + t // 6, 0x30 + t // 4])  # blue, green, red
        pixels += line + bytes(row - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + bytes(pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, "clock.swf"), "wb") as f:
        f.write(movie())
    with open(os.path.join(folder, "background.bmp"), "wb") as f:
        f.write(bitmap())


if __name__ == "__main__":
    main()
