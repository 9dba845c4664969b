#!/usr/bin/env python3
"""Reads the driver's `dump` of a window and says what is not laid out whole: a shown control
(WS_VISIBLE; on a hidden page too) that lies outside its parent's client area, a label or check
box whose text needs more room than it has, or two shown controls of one parent that overlap (a
group box or a picture and what lies wholly on it excepted). Exit 1 with one line per fault; 0
with the count of controls checked.

    laid_out.py DUMP [LABEL]
"""
import re
import sys

LINE = re.compile(r"^  control (-?\d+) class (\S+) at (-?\d+),(-?\d+) size (\d+)x(\d+)"
                  r"(?: hidden)?(?: disabled)? parent (\d+) client (-?\d+),(-?\d+) (\d+)x(\d+)"
                  r"(?: text (\d+)x(\d+))? style ([0-9a-f]{8}) '")
WS_VISIBLE = 0x10000000
BS_TYPEMASK, BS_GROUPBOX = 0xF, 7
SS_TYPEMASK, SS_BITMAP = 0x1F, 0xE


def backdrop(c, d):
    """c is a frame or a picture with d wholly on it."""
    kind = c["class"].lower()
    frame = (kind == "button" and c["style"] & BS_TYPEMASK == BS_GROUPBOX) or \
        (kind == "static" and c["style"] & SS_TYPEMASK == SS_BITMAP)
    (l1, t1, r1, b1), (l2, t2, r2, b2) = c["rect"], d["rect"]
    return frame and l1 <= l2 and t1 <= t2 and r2 <= r1 and b2 <= b1


def main():
    label = sys.argv[2] if len(sys.argv) > 2 else sys.argv[1]
    controls = []
    with open(sys.argv[1], encoding="latin-1") as dump:
        for line in dump:
            m = LINE.match(line.rstrip("\r\n"))
            if m:
                v = m.groups()
                controls.append({
                    "id": int(v[0]), "class": v[1], "index": len(controls) + 1,
                    "rect": (int(v[2]), int(v[3]), int(v[2]) + int(v[4]), int(v[3]) + int(v[5])),
                    "parent": int(v[6]),
                    "area": (int(v[7]), int(v[8]), int(v[7]) + int(v[9]), int(v[8]) + int(v[10])),
                    "text": (int(v[11]), int(v[12])) if v[11] else None,
                    "style": int(v[13], 16)})
    if not controls:
        print(f"{label}: no controls in the dump")
        return 1
    faults = []

    def name(c):
        return f"control {c['id']} ({c['class']}, #{c['index']})"

    shown = [c for c in controls if c["style"] & WS_VISIBLE]
    for c in shown:
        l, t, r, b = c["rect"]
        al, at, ar, ab = c["area"]
        if l < al or t < at or r > ar or b > ab:
            faults.append(f"{name(c)} at {l},{t}-{r},{b} lies outside its parent's "
                          f"{al},{at}-{ar},{ab}")
        if c["text"] and (c["text"][0] > r - l or c["text"][1] > b - t):
            faults.append(f"{name(c)} of {r - l}x{b - t} cuts off its text, which needs "
                          f"{c['text'][0]}x{c['text'][1]}")
    for i, c in enumerate(shown):
        for d in shown[i + 1:]:
            if c["parent"] != d["parent"]:
                continue
            if backdrop(c, d) or backdrop(d, c):
                continue
            (l1, t1, r1, b1), (l2, t2, r2, b2) = c["rect"], d["rect"]
            if max(l1, l2) < min(r1, r2) and max(t1, t2) < min(b1, b2):
                faults.append(f"{name(c)} and {name(d)} overlap")
    for fault in faults:
        print(f"{label}: {fault}")
    if faults:
        return 1
    print(f"{label}: {len(shown)} shown controls whole, none overlapping")
    return 0


if __name__ == "__main__":
    sys.exit(main())
