#!/usr/bin/env python3
"""Draws the default pictures of the authoring tool as 8-bit BMP files.

233 default_preview.bmp    152 x 112  the wallpaper's picture in Display Properties
234 default_installer.bmp  300 x 170  the installer window's picture

A dusk landscape with a play badge: a wallpaper that moves. Pure Python, no imaging library;
run it again after changing a picture and commit the BMP files it writes.
"""
import math
import os
import struct

SUPERSAMPLE = 3


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def mix(base, over, alpha):
    return lerp(base, over, max(0.0, min(1.0, alpha)))


def scene(x, y, w, h):
    """Colour at a point, x and y in 0..1 of a picture w x h pixels (y down)."""
    aspect = w / h
    # sky: indigo at the top, violet, warm orange at the horizon
    if y < 0.55:
        colour = lerp((34, 32, 92), (120, 74, 150), y / 0.55)
    else:
        colour = lerp((120, 74, 150), (250, 160, 96), min(1.0, (y - 0.55) / 0.2))
    # stars in the upper sky
    sx, sy = int(x * w * 0.9), int(y * h * 0.9)
    if y < 0.35 and ((sx * 73856093) ^ (sy * 19349663)) % 211 == 0:
        colour = mix(colour, (255, 250, 220), 0.8 * (1 - y / 0.35))
    # the sun and its glow just above the far hills
    cx, cy, r = 0.68, 0.62, 0.11
    d = math.hypot((x - cx) * aspect, y - cy)
    colour = mix(colour, (255, 214, 130), 0.55 * math.exp(-((d / (r * 2.6)) ** 2)))
    if d < r:
        colour = mix(colour, (255, 236, 170), 1.0)
    # three ranges of hills, far to near
    ranges = [
        (0.66, 0.05, 5.0, 0.3, (142, 84, 140)),
        (0.74, 0.06, 3.1, 1.7, (86, 52, 110)),
        (0.84, 0.07, 2.2, 4.1, (38, 30, 70)),
    ]
    for base, amp, freq, phase, tone in ranges:
        ridge = base - amp * (0.6 * math.sin(x * freq * aspect + phase)
                              + 0.4 * math.sin(x * freq * 2.3 * aspect + phase * 1.7))
        if y > ridge:
            depth = min(1.0, (y - ridge) / 0.25)
            colour = lerp(tone, lerp(tone, (20, 16, 40), 0.5), depth)
    # play badge: a soft white ring with a triangle, lower left
    bx, by, br = 0.2, 0.3, 0.13
    d = math.hypot((x - bx) * aspect, y - by)
    if d < br:
        colour = mix(colour, (255, 255, 255), 0.22)
    if abs(d - br) < 0.012:
        colour = mix(colour, (255, 255, 255), 0.85)
    tx, ty = (x - bx) * aspect, y - by
    if -0.045 < tx < 0.065 and abs(ty) < (0.065 - tx) * 0.62:
        colour = mix(colour, (255, 255, 255), 0.92)
    return colour


def render(w, h):
    pixels = []
    n = SUPERSAMPLE
    for row in range(h):
        line = []
        for col in range(w):
            acc = [0.0, 0.0, 0.0]
            for j in range(n):
                for i in range(n):
                    c = scene((col + (i + 0.5) / n) / w, (row + (j + 0.5) / n) / h, w, h)
                    for k in range(3):
                        acc[k] += c[k]
            line.append(tuple(int(round(a / (n * n))) for a in acc))
        pixels.append(line)
    return pixels


def palette_for(pixels):
    """The 256 most used colours at 5 bits a channel, each the mean of what it stands for."""
    bins = {}
    for line in pixels:
        for c in line:
            key = (c[0] >> 3, c[1] >> 3, c[2] >> 3)
            s = bins.setdefault(key, [0, 0, 0, 0])
            s[0] += c[0]; s[1] += c[1]; s[2] += c[2]; s[3] += 1
    top = sorted(bins.values(), key=lambda s: -s[3])[:256]
    palette = [(s[0] // s[3], s[1] // s[3], s[2] // s[3]) for s in top]
    return palette + [(0, 0, 0)] * (256 - len(palette))


def nearest(palette, cache, c):
    if c not in cache:
        cache[c] = min(range(len(palette)),
                       key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
    return cache[c]


def write_bmp(path, pixels):
    h, w = len(pixels), len(pixels[0])
    palette = palette_for(pixels)
    cache = {}
    stride = (w + 3) & ~3
    body = bytearray()
    for line in reversed(pixels):  # bottom-up rows
        row = bytes(nearest(palette, cache, c) for c in line)
        body += row + b"\0" * (stride - w)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(body), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + body)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "default_preview.bmp"), render(152, 112))
    write_bmp(os.path.join(here, "default_installer.bmp"), render(300, 170))
