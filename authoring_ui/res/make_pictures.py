#!/usr/bin/env python3
"""Draws the authoring tool's pictures, icon, hand cursor and click sound into this folder.

    python3 make_pictures.py            # writes every file that pictures.rc names
    python3 make_pictures.py --sheet X  # also a contact sheet of all pictures as PNG file X

Needs Pillow (Debian: python3-pil) and the Liberation fonts (fonts-liberation). The build does not
run it: run it again after changing a picture and commit what it writes.

One look for the whole tool, taken from the installer's picture: a night-blue sky, a warm sun, light
ribbons. Banners and pressed buttons are night blue, the pages stay white, the sun's amber marks
what is chosen.
"""
import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONTS = "/usr/share/fonts/truetype/liberation"

NIGHT = (14, 30, 72)
DUSK = (24, 62, 108)
SEA = (32, 118, 150)
SUN = (250, 204, 92)
SUN_DEEP = (236, 158, 60)
RIBBON = (235, 245, 255)
INK = (18, 40, 80)
WHITE = (255, 255, 255)
MIST = (226, 237, 240)  # the progress bar's ground
GREY_INK = (150, 156, 164)

SS = 4  # shapes are drawn this many times larger, then scaled down smooth


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def font(size, bold=False):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(os.path.join(FONTS, name), size)


def vertical(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=lerp(top, bottom, y / max(1, h - 1)))
    return img


def smooth_shape(size, ground, paint):
    """`paint(draw, s)` draws s times larger; the result comes scaled down onto `ground`."""
    w, h = size
    big = ground.resize((w * SS, h * SS)) if isinstance(ground, Image.Image) else Image.new(
        "RGB", (w * SS, h * SS), ground)
    paint(ImageDraw.Draw(big), SS)
    return big.resize(size, Image.LANCZOS)


def caption(img, text, box, colour, fnt, align="centre", shift=0):
    """Draws `text` with the letter after '&' underlined, centred on the cap height in `box`."""
    x0, y0, x1, y1 = box
    plain = text.replace("&", "")
    d = ImageDraw.Draw(img)
    left, top, right, bottom = fnt.getbbox("H")
    width = fnt.getlength(plain)
    x = x0 + (x1 - x0 - width) / 2 if align == "centre" else x0
    x = int(round(x)) + shift
    y = int(round(y0 + (y1 - y0 - (bottom - top)) / 2 - top)) + shift
    d.text((x, y), plain, fill=colour, font=fnt)
    at = text.find("&")
    if at >= 0:
        ux = x + fnt.getlength(plain[:at])
        uw = fnt.getlength(plain[at])
        uy = y + bottom + 1
        d.line([(int(ux), uy), (int(round(ux + uw)) - 1, uy)], fill=colour)


# Button states: (fill top, fill bottom, border, ink, accent)
LIGHT = {
    "normal": ((232, 240, 246), (208, 224, 236), (150, 182, 204), INK, None),
    "hover": ((252, 254, 255), (232, 243, 250), (112, 170, 200), INK, None),
    "latched": (DUSK, NIGHT, NIGHT, WHITE, SUN),
    "disabled": ((244, 245, 246), (236, 238, 240), (204, 208, 212), GREY_INK, None),
}
STRONG = {  # Build Now: the one action that makes something
    "normal": ((40, 96, 140), (20, 50, 96), NIGHT, WHITE, SUN),
    "hover": ((64, 132, 170), (36, 86, 130), (20, 50, 96), WHITE, SUN),
    "latched": (NIGHT, (10, 22, 54), (8, 16, 40), (220, 230, 240), SUN_DEEP),
    "disabled": ((236, 238, 240), (224, 228, 232), (196, 200, 206), GREY_INK, (200, 204, 208)),
}
ON_BANNER = {  # Project and Help sit on the top banner
    "normal": (NIGHT, NIGHT, (58, 88, 132), WHITE, None),
    "hover": ((44, 84, 128), (30, 62, 104), (110, 150, 190), WHITE, None),
    "latched": ((252, 254, 255), (226, 236, 244), WHITE, INK, SUN),
    "disabled": (NIGHT, NIGHT, (40, 60, 96), (96, 112, 140), None),
}
STATES = ("normal", "hover", "latched", "disabled")


def button_ground(size, style, state, ground, radius):
    top, bottom, border, ink, accent = style[state]
    w, h = size
    fill = vertical((w * SS, h * SS), top, bottom)
    mask = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w * SS - 1, h * SS - 1], radius * SS, fill=255)
    big = Image.new("RGB", (w * SS, h * SS), ground)
    big.paste(fill, (0, 0), mask)
    d = ImageDraw.Draw(big)
    d.rounded_rectangle([0, 0, w * SS - 1, h * SS - 1], radius * SS, outline=border, width=SS)
    if state == "latched" and style is not STRONG:
        # pressed in: a shade along the top edge
        d.rounded_rectangle([SS, SS, w * SS - SS - 1, 3 * SS], radius * SS,
                            fill=lerp(top, (0, 0, 0), 0.25) if top != (252, 254, 255) else
                            (210, 222, 232))
    return big.resize(size, Image.LANCZOS), ink, accent


def text_button(size, label, style, ground=WHITE, radius=4, bold=False, px=12, icon=None,
                align="centre"):
    out = []
    for state in STATES:
        img, ink, accent = button_ground(size, style, state, ground, radius)
        w, h = size
        shift = 1 if state == "latched" else 0
        left = 0
        if icon:
            left = icon(img, state, ink, accent)
        caption(img, label, (left, 0, w, h), ink, font(px, bold), align=align, shift=shift)
        out.append(img)
    return out


# --- small pictograms drawn into buttons --------------------------------------------------------


def draw_monitor(img, box, ink, sky_top, sky_bottom, sun):
    """A little screen showing the night sky with its sun: the wallpaper."""
    x, y, w, h = box

    def paint(d, s):
        d.rounded_rectangle([x * s, y * s, (x + w) * s - 1, (y + h - 4) * s - 1], 2 * s, fill=ink)
        d.rectangle([(x + 2) * s, (y + 2) * s, (x + w - 2) * s - 1, (y + h - 6) * s - 1],
                    fill=sky_bottom)
        d.rectangle([(x + 2) * s, (y + 2) * s, (x + w - 2) * s - 1, (y + (h - 4) / 2) * s],
                    fill=sky_top)
        cx, cy, r = x + w * 0.66, y + h * 0.34, h * 0.14
        d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=sun)
        d.rectangle([(x + w / 2 - 2) * s, (y + h - 4) * s, (x + w / 2 + 2) * s, (y + h - 2) * s],
                    fill=ink)
        d.rectangle([(x + w / 2 - 6) * s, (y + h - 2) * s, (x + w / 2 + 6) * s, (y + h) * s - 1],
                    fill=ink)
    img.paste(smooth_shape(img.size, img, paint))


def draw_window(img, box, ink, body, bar):
    x, y, w, h = box

    def paint(d, s):
        d.rounded_rectangle([x * s, y * s, (x + w) * s - 1, (y + h) * s - 1], 2 * s, fill=ink)
        d.rectangle([(x + 1.5) * s, (y + 5) * s, (x + w - 1.5) * s, (y + h - 1.5) * s], fill=body)
        d.ellipse([(x + w - 5) * s, (y + 1.5) * s, (x + w - 2.5) * s, (y + 4) * s], fill=bar)
        # a movie frame inside: a play mark
        cx, cy = x + w / 2, y + (h + 5) / 2
        d.polygon([((cx - 2.5) * s, (cy - 3.5) * s), ((cx - 2.5) * s, (cy + 3.5) * s),
                   ((cx + 3.5) * s, cy * s)], fill=ink)
    img.paste(smooth_shape(img.size, img, paint))


def draw_package(img, box, ink, body, accent):
    x, y, w, h = box

    def paint(d, s):
        d.polygon([((x + w / 2) * s, y * s), ((x + w) * s, (y + h * 0.28) * s),
                   ((x + w) * s, (y + h * 0.78) * s), ((x + w / 2) * s, (y + h) * s),
                   (x * s, (y + h * 0.78) * s), (x * s, (y + h * 0.28) * s)], fill=ink)
        inner = 1.6
        d.polygon([((x + w / 2) * s, (y + h * 0.56) * s), ((x + w - inner) * s, (y + h * 0.33) * s),
                   ((x + w - inner) * s, (y + h * 0.75) * s),
                   ((x + w / 2) * s, (y + h - inner) * s)],
                  fill=lerp(body, ink, 0.25))
        d.polygon([((x + w / 2) * s, (y + h * 0.56) * s), ((x + inner) * s, (y + h * 0.33) * s),
                   ((x + inner) * s, (y + h * 0.75) * s), ((x + w / 2) * s, (y + h - inner) * s)],
                  fill=body)
        d.polygon([((x + w / 2) * s, (y + inner) * s), ((x + w - inner) * s, (y + h * 0.29) * s),
                   ((x + w / 2) * s, (y + h * 0.52) * s), ((x + inner) * s, (y + h * 0.29) * s)],
                  fill=accent)
    img.paste(smooth_shape(img.size, img, paint))


def draw_folder(img, box, ink, body):
    x, y, w, h = box

    def paint(d, s):
        d.rounded_rectangle([x * s, (y + 1) * s, (x + w * 0.45) * s, (y + 5) * s], s, fill=ink)
        d.rounded_rectangle([x * s, (y + 3) * s, (x + w) * s - 1, (y + h) * s - 1], 1.5 * s,
                            fill=ink)
        d.rounded_rectangle([(x + 1.3) * s, (y + 5.5) * s, (x + w - 1.3) * s, (y + h - 1.3) * s],
                            s, fill=body)
    img.paste(smooth_shape(img.size, img, paint))


def draw_build_arrow(img, box, ink):
    """Build Now: a small arrow into a tray, the installer being made."""
    x, y, w, h = box

    def paint(d, s):
        cx = x + w / 2
        d.rectangle([(cx - 1.2) * s, y * s, (cx + 1.2) * s, (y + h * 0.5) * s], fill=ink)
        d.polygon([((cx - 4.5) * s, (y + h * 0.42) * s), ((cx + 4.5) * s, (y + h * 0.42) * s),
                   (cx * s, (y + h * 0.75) * s)], fill=ink)
        tray = [(x * s, (y + h * 0.62) * s), (x * s, (y + h) * s - s),
                ((x + w) * s - s, (y + h) * s - s), ((x + w) * s - s, (y + h * 0.62) * s)]
        d.line(tray, fill=ink, width=int(1.6 * s))
    img.paste(smooth_shape(img.size, img, paint))


# --- the pictures ---------------------------------------------------------------------------------


def sky(size, glow_at=None, gradient=True):
    """The installer's night sky, drawn SS times larger: night blue, a glow round the sun."""
    w, h = size
    big = vertical((w * SS, h * SS), NIGHT, DUSK if gradient else NIGHT)
    if glow_at:
        gx, gy, gr = glow_at
        px = big.load()
        for yy in range(0, h * SS):
            for xx in range(max(0, int((gx - gr * 3) * SS)), min(w * SS, int((gx + gr * 3) * SS))):
                dist = math.hypot(xx / SS - gx, yy / SS - gy)
                t = 0.35 * math.exp(-((dist / (gr * 1.6)) ** 2))
                if t > 0.004:
                    px[xx, yy] = lerp(px[xx, yy], SUN, t)
    return big


def ribbon(big, x0, x1, centre, amp, period, phase, alpha, width=1.8):
    """A light ribbon across the sky from x0 to x1, fading in and out at its ends."""
    d = ImageDraw.Draw(big)
    px = big.load()
    w, h = big.size
    prev = None
    for x in range(int(x0 * SS), int(x1 * SS) + 1, SS // 2):
        xs = x / SS
        y = (centre + amp * math.sin(xs / period + phase)) * SS
        if prev:
            edge = min(1.0, (xs - x0) / 40.0, (x1 - xs) / 80.0)
            base = px[min(w - 1, x), min(h - 1, max(0, int(y)))]
            d.line([prev, (x, y)], fill=lerp(base, RIBBON, alpha * max(0.0, edge)),
                   width=int(width * SS))
        prev = (x, y)


def stars(big, box, seed, count):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(big)
    state = seed
    for _ in range(count):
        state = (state * 1103515245 + 12345) % 2 ** 31
        x = x0 + (state % 10000) / 10000.0 * (x1 - x0)
        state = (state * 1103515245 + 12345) % 2 ** 31
        y = y0 + (state % 10000) / 10000.0 * (y1 - y0)
        r = 0.55 + (state % 7) / 14.0
        d.ellipse([(x - r) * SS, (y - r) * SS, (x + r) * SS, (y + r) * SS],
                  fill=lerp(NIGHT, (255, 250, 225), 0.55 + (state % 5) / 10.0))


def sun_disc(d, cx, cy, r, s):
    d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=SUN)


def top_banner():
    """The name on the left; the right side plain night blue, where Project and Help sit."""
    w, h = 612, 42
    big = sky((w, h), glow_at=(22, 20, 11), gradient=False)
    ribbon(big, 0, 330, 35, 2.5, 23.0, 0.4, 0.40)
    ribbon(big, 0, 250, 38.5, 2.0, 17.0, 2.0, 0.22, width=1.4)
    stars(big, (300, 5, 420, 30), 7, 8)
    d = ImageDraw.Draw(big)
    sun_disc(d, 22, 20, 10, SS)
    d.rectangle([0, (h - 2) * SS, w * SS, h * SS], fill=SEA)
    img = big.resize((w, h), Image.LANCZOS)
    dd = ImageDraw.Draw(img)
    dd.text((41, 5), "Zarvane", fill=WHITE, font=font(22, True))
    dd.text((136, 13), "Flash wallpapers for the desktop", fill=(168, 198, 222), font=font(11))
    return img


def bottom_banner():
    w, h = 612, 23
    big = sky((w, h), gradient=False)
    d = ImageDraw.Draw(big)
    d.rectangle([0, 0, w * SS, 2 * SS - 1], fill=SEA)
    ribbon(big, 60, 612, 13, 3.0, 37.0, 0.8, 0.22, width=1.4)
    img = big.resize((w, h), Image.LANCZOS)
    ImageDraw.Draw(img).text((8, 7), "Quorvel", fill=(120, 150, 186), font=font(10, True))
    return img


def tab_button(label, icon):
    return text_button((136, 34), label, LIGHT, radius=5, bold=True, px=12, icon=icon,
                       align="left")


def tab_icon(kind):
    def paint(img, state, ink, accent):
        sky_top, sky_bottom = (NIGHT, SEA) if state != "disabled" else ((200, 204, 210),
                                                                        (220, 224, 228))
        sun = SUN if state != "disabled" else (236, 238, 240)
        frame = ink if state != "latched" else (196, 214, 232)
        if kind == "wallpaper":
            draw_monitor(img, (10, 7, 22, 20), frame, sky_top, sky_bottom, sun)
        elif kind == "preview":
            draw_window(img, (10, 8, 22, 18), frame, WHITE if state != "latched" else DUSK, sun)
        else:
            draw_package(img, (12, 6, 19, 22), frame, (248, 250, 252) if state != "latched"
                         else DUSK, sun)
        if state == "latched":
            ImageDraw.Draw(img).rectangle([3, 9, 4, 24], fill=accent)
        return 38
    return paint


def icon_button(size, paint_icon):
    out = []
    for state in STATES:
        img, ink, accent = button_ground(size, LIGHT, state, WHITE, 3)
        paint_icon(img, state, ink)
        out.append(img)
    return out


def colour_dots(img, state, ink):
    w, h = img.size
    caption(img, "...", (0, 0, w, h - 3), ink, font(12, True), shift=1 if state == "latched" else 0)


def folder_icon(img, state, ink):
    o = 1 if state == "latched" else 0
    body = SUN if state != "disabled" else (236, 238, 240)
    draw_folder(img, (6 + o, 4 + o, 12, 11), ink, body)


def build_icon(img, state, ink, accent):
    draw_build_arrow(img, (10, 6, 11, 12), accent)
    return 22


def section_caption(text):
    w, h = 440, 20
    img = Image.new("RGB", (w, h), WHITE)
    fnt = font(13, True)
    tw = int(fnt.getlength(text))

    def paint(d, s):
        sun_disc(d, 7, 10, 4.2, s)
        x0 = 16 + tw + 8
        for x in range(x0 * s, w * s, s):
            t = (x / s - x0) / (w - x0)
            d.line([(x, 10 * s), (x + s, 10 * s)], fill=lerp(SEA, WHITE, t ** 0.7), width=s)
    img = smooth_shape((w, h), img, paint)
    caption(img, text, (16, 0, w, h), INK, fnt, align="left")
    return img


def tip_picture():
    """A light bulb: the tip panel's mark, standing in its lower right corner."""
    w, h = 32, 42

    def paint(d, s):
        cx, cy, r = 16, 15, 10.5
        for k in range(6, 0, -1):  # soft glow
            rr = r + k * 1.2
            d.ellipse([(cx - rr) * s, (cy - rr) * s, (cx + rr) * s, (cy + rr) * s],
                      fill=lerp(WHITE, SUN, 0.08 * (7 - k)))
        d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=SUN)
        d.polygon([((cx - 6) * s, (cy + 7) * s), ((cx + 6) * s, (cy + 7) * s),
                   ((cx + 4.5) * s, 31 * s), ((cx - 4.5) * s, 31 * s)], fill=SUN)
        d.ellipse([(cx - 6) * s, (cy - 6) * s, (cx - 1) * s, (cy - 1) * s], fill=(255, 236, 180))
        for i, y in enumerate((31, 34, 37)):
            d.rounded_rectangle([(cx - 5 + i * 0.5) * s, y * s, (cx + 5 - i * 0.5) * s,
                                 (y + 2.4) * s], s, fill=DUSK if i != 1 else SEA)
        d.ellipse([(cx - 2.5) * s, 38.6 * s, (cx + 2.5) * s, 41.4 * s], fill=NIGHT)
        d.line([(cx - 2.5) * s, (cy + 6) * s, cx * s, (cy + 2) * s, (cx + 2.5) * s,
                (cy + 6) * s], fill=SUN_DEEP, width=int(1.2 * s))
    return smooth_shape((w, h), WHITE, paint)


def scene_strip(size, title, line, sun_x, hills_at):
    """The installer's picture as a strip: sky, stars, sun, two hills; the words upper left."""
    w, h = size
    sun_y, sun_r = h * 0.44, h * 0.2
    big = sky(size, glow_at=(sun_x, sun_y, sun_r * 1.1))
    stars(big, (w * 0.45, 3, w - 4, h * 0.5), 11, w // 18)
    ribbon(big, w * 0.48, w, hills_at - 6, 2.5, 21.0, 1.0, 0.35)
    d = ImageDraw.Draw(big)
    sun_disc(d, sun_x, sun_y, sun_r, SS)
    for base, amp, freq, phase, tone in ((hills_at, 3.0, 31.0, 0.6, (22, 70, 92)),
                                         (hills_at + 6, 2.5, 19.0, 2.1, (14, 48, 66))):
        pts = [(0, h * SS)]
        for xx in range(0, w * SS + SS, SS):
            pts.append((xx, (base + amp * math.sin(xx / SS / freq + phase)) * SS))
        pts.append((w * SS, h * SS))
        d.polygon(pts, fill=tone)
    img = big.resize(size, Image.LANCZOS)
    dd = ImageDraw.Draw(img)
    title_font = font(int(h * 0.34) if h > 50 else 17, True)
    dd.text((14, 6 if h <= 50 else 8), title, fill=WHITE, font=title_font)
    top = (6 if h <= 50 else 8) + title_font.getbbox("Hg")[3] + 2
    dd.text((15, top), line, fill=(190, 214, 232), font=font(11 if h <= 50 else 12))
    return img


def about_picture():
    return scene_strip((286, 64), "Zarvane", "Flash movies as desktop wallpapers", 238, 50)


def preview_warning_picture():
    w, h = 300, 48
    img = scene_strip((w, h), "Preview", "on your own desktop", 270, 40)
    draw_monitor(img, (196, 8, 36, 31), (200, 218, 236), NIGHT, SEA, SUN)
    return img


# --- icon, cursor, sound --------------------------------------------------------------------------


def icon_picture(size):
    """The program icon: a screen with the night sky, its sun and a ribbon; RGBA."""
    s = SS * 4
    n = size * s
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    u = n / 32.0
    d.rounded_rectangle([1 * u, 3 * u, 31 * u, 25 * u], 3 * u, fill=(36, 44, 60, 255))
    sky_img = vertical((int(26 * u), int(18 * u)), NIGHT, SEA).convert("RGBA")
    sd = ImageDraw.Draw(sky_img)
    sd.ellipse([16 * u, 2.5 * u, 23 * u, 9.5 * u], fill=SUN + (255,))
    pts = [(x, (11.5 + 2.2 * math.sin(x / u / 3.2)) * u) for x in range(0, int(26 * u), 4)]
    sd.line(pts, fill=RIBBON + (255,), width=int(1.6 * u))
    img.paste(sky_img, (int(3 * u), int(5 * u)))
    d.rectangle([13 * u, 25 * u, 19 * u, 28 * u], fill=(120, 128, 140, 255))
    d.rounded_rectangle([8 * u, 27.5 * u, 24 * u, 30 * u], u, fill=(96, 104, 118, 255))
    return img.resize((size, size), Image.LANCZOS)


# Every size Windows asks for from 96 to 192 DPI: small 16/24/32, large 32/48/64.
def write_ico(path, sizes=(16, 24, 32, 48, 64)):
    images = []
    for size in sizes:
        pic = icon_picture(size)
        xor = bytearray()
        mask = bytearray()
        stride = ((size + 31) // 32) * 4
        for y in reversed(range(size)):
            line = bytearray(stride)
            for x in range(size):
                r, g, b, a = pic.getpixel((x, y))
                xor += bytes((b, g, r, a))
                if a < 128:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                             0, 0, 0, 0)
        images.append(header + xor + mask)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


HAND_HOTSPOT = (8, 1)  # the tip of the pointing finger


def hand_grid(size=32):
    """A pointing hand as rows of '#' (black outline), '.' (white) and ' ' (clear)."""
    mask = Image.new("L", (size, size), 0)
    d = ImageDraw.Draw(mask)
    d.rounded_rectangle([6, 1, 11, 17], 2, fill=255)  # the pointing finger
    d.rounded_rectangle([11, 7, 15, 17], 2, fill=255)
    d.rounded_rectangle([15, 8, 19, 17], 2, fill=255)
    d.rounded_rectangle([19, 10, 22, 17], 2, fill=255)
    d.rounded_rectangle([6, 13, 22, 27], 4, fill=255)  # the palm
    d.polygon([(7, 17), (3, 12), (1, 13), (1, 15), (7, 23)], fill=255)  # the thumb
    inside = [[mask.getpixel((x, y)) > 0 for x in range(size)] for y in range(size)]
    grid = [[" "] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if not inside[y][x]:
                continue
            edge = any(not (0 <= x + dx < size and 0 <= y + dy < size and inside[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            grid[y][x] = "#" if edge else "."
    for x, top in ((11, 9), (15, 10), (19, 12)):  # the folded fingers' sides
        for y in range(top, 15):
            grid[y][x] = "#"
    return grid


def write_cur(path):
    """A monochrome 32 x 32 cursor: black outline, white inside, everything else transparent."""
    size = 32
    grid = hand_grid(size)
    xor = bytearray()
    and_mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows of 32 bits each
        xline = bytearray(4)
        aline = bytearray(4)
        for x in range(size):
            if grid[y][x] == ".":
                xline[x // 8] |= 0x80 >> (x % 8)  # white
            elif grid[y][x] == " ":
                aline[x // 8] |= 0x80 >> (x % 8)  # clear
        xor += xline
        and_mask += aline
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_mask),
                         0, 0, 2, 0)
    data = header + palette + xor + and_mask
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, HAND_HOTSPOT[0], HAND_HOTSPOT[1], len(data),
                       6 + 16)
    with open(path, "wb") as f:
        f.write(out + data)
    return grid


def write_click(path, rate=22050):
    """A soft wooden tick: two low partials under a fast attack and a short decay, 45 ms."""
    frames = bytearray()
    n = int(rate * 0.045)
    for i in range(n):
        t = i / rate
        envelope = min(1.0, t / 0.0015) * math.exp(-t / 0.009)
        v = envelope * (0.6 * math.sin(2 * math.pi * 1250 * t)
                        + 0.4 * math.sin(2 * math.pi * 620 * t))
        frames += struct.pack("<h", int(v * 0.32 * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


# --- everything -----------------------------------------------------------------------------------

BUTTONS = [  # (first id, file stem, pictures)
    (310, "tab_wallpaper", lambda: tab_button("&Wallpaper", tab_icon("wallpaper"))),
    (314, "tab_preview_window", lambda: tab_button("P&review Window", tab_icon("preview"))),
    (318, "tab_installer", lambda: tab_button("&Installer", tab_icon("installer"))),
    (322, "menu_project", lambda: text_button((72, 22), "&Project", ON_BANNER, ground=NIGHT,
                                              radius=4, bold=True, px=12)),
    (326, "menu_help", lambda: text_button((72, 22), "&Help", ON_BANNER, ground=NIGHT, radius=4,
                                           bold=True, px=12)),
    (330, "build_now", lambda: text_button((104, 24), "&Build Now", STRONG, radius=4, bold=True,
                                           px=12, icon=build_icon)),
    (340, "browse", lambda: text_button((64, 20), "Browse...", LIGHT, radius=3, px=11)),
    (344, "preview", lambda: text_button((88, 24), "Pre&view", LIGHT, radius=4, bold=True, px=12)),
    (348, "cancel_preview", lambda: text_button((88, 24), "&Cancel", LIGHT, radius=4, bold=True,
                                                px=12)),
    (352, "colour", lambda: icon_button((24, 20), colour_dots)),
    (356, "folder", lambda: icon_button((24, 20), folder_icon)),
]

CAPTIONS = [
    (370, "caption_wallpaper", "Wallpaper"),
    (371, "caption_movie_display", "Movie display"),
    (372, "caption_background", "Background"),
    (373, "caption_display_properties", "Display Properties picture"),
    (374, "caption_installer_file", "Installer file"),
    (375, "caption_installer_window", "Installer window"),
    (376, "caption_licence", "Licence and Flash plug-in"),
    (377, "caption_settings_window", "Settings window"),
]


def pictures():
    """Every bitmap: (id, file name, image)."""
    out = [(300, "top_banner.bmp", top_banner()), (301, "bottom_banner.bmp", bottom_banner())]
    for first, stem, make in BUTTONS:
        for i, (state, img) in enumerate(zip(STATES, make())):
            out.append((first + i, "%s_%s.bmp" % (stem, state), img))
    out.append((360, "tip.bmp", tip_picture()))
    for pid, stem, text in CAPTIONS:
        out.append((pid, stem + ".bmp", section_caption(text)))
    out.append((380, "about.bmp", about_picture()))
    out.append((381, "preview_warning.bmp", preview_warning_picture()))
    return out


def contact_sheet(items, hand):
    scale = 2
    width = 640
    y = 10
    placed = []
    x = 10
    row_h = 0
    for pid, name, img in items:
        w, h = img.size
        if x + w + 10 > width:
            x, y = 10, y + row_h + 18
            row_h = 0
        placed.append((x, y, pid, img))
        x += w + 10
        row_h = max(row_h, h)
    y += row_h + 18
    sheet = Image.new("RGB", (width, y + 60), (246, 246, 246))
    d = ImageDraw.Draw(sheet)
    for x, yy, pid, img in placed:
        sheet.paste(img, (x, yy))
        d.text((x, yy + img.size[1] + 2), str(pid), fill=(120, 120, 120), font=font(9))
    x = 10
    for size in (16, 32, 48):
        ic = icon_picture(size)
        sheet.paste(ic, (x, y), ic)
        x += size + 10
    for yy, row in enumerate(hand):
        for xx, c in enumerate(row):
            if c != " ":
                sheet.putpixel((x + xx, y + yy), (0, 0, 0) if c == "#" else WHITE)
    return sheet.resize((width * scale, sheet.size[1] * scale), Image.NEAREST)


def main(argv):
    items = pictures()
    for pid, name, img in items:
        img.save(os.path.join(HERE, name), "BMP")
    write_ico(os.path.join(HERE, "zarvane.ico"))
    hand = write_cur(os.path.join(HERE, "hand.cur"))
    write_click(os.path.join(HERE, "click.wav"))
    with open(os.path.join(os.path.dirname(HERE), "pictures.rc"), "w", newline="\n") as rc:
        rc.write("// Written by res/make_pictures.py: the authoring tool's pictures, icon, cursor "
                 "and sound.\n#include \"picture_ids.h\"\n\n")
        rc.write("IDI_ZARVANE ICON \"res/zarvane.ico\"\nIDC_LINK_HAND CURSOR \"res/hand.cur\"\n"
                 "IDW_CLICK WAVE \"res/click.wav\"\n\n")
        for pid, name, img in items:
            rc.write("%d BITMAP \"res/%s\"\n" % (pid, name))
    if len(argv) > 2 and argv[1] == "--sheet":
        contact_sheet(items, hand).save(argv[2])


if __name__ == "__main__":
    main(sys.argv)
