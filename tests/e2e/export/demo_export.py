#!/usr/bin/env python3
"""The export half of `make demo`: the demo's Lively package unpacked and photographed playing
the way the program opens it (file://, no file-access flag), and the Wallpaper Engine folder
seen playing too.

usage: demo_export.py DEMO_OUT   (holds Demo-lively.zip and Demo-wallpaper-engine/)
Writes DEMO_OUT/export-lively.png.
"""
import os
import shutil
import sys
import tempfile
import zipfile

from chromium_pipe import Chromium


def stop(why):
    print("make demo: " + why, file=sys.stderr)
    sys.exit(1)


def main():
    out = os.path.abspath(sys.argv[1])
    if not shutil.which("chromium"):
        stop("Chromium is not installed: no picture of the exported wallpaper")
    with tempfile.TemporaryDirectory(prefix="zarvane-demo-export-") as work:
        unpacked = os.path.join(work, "lively")
        with zipfile.ZipFile(os.path.join(out, "Demo-lively.zip")) as z:
            z.extractall(unpacked)
        browser = Chromium(work, 1024, 768)
        try:
            outcome, png = browser.open("file://" + os.path.join(unpacked, "index.html"))
            if outcome != "played":
                stop("the exported Lively package did not play: " + outcome)
            open(os.path.join(out, "export-lively.png"), "wb").write(png)
            engine = os.path.join(out, "Demo-wallpaper-engine", "index.html")
            outcome, _ = browser.open("file://" + engine)
            if outcome != "played":
                stop("the exported Wallpaper Engine folder did not play: " + outcome)
        finally:
            browser.close()


if __name__ == "__main__":
    main()
