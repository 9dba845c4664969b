#!/usr/bin/env python3
"""zarvane-cli export as a whole: both packages unpacked and read as the programs read them,
then each index.html opened in headless Chromium the way the programs open it (from file://,
without --allow-file-access-from-files): the movie must play and show the demo; without the
script that serves the player's files, the player must fail on the file protocol.

usage: export.py ZARVANE_CLI DEMO_FOLDER
Exits 77 (skipped) with the reason when Chromium or the player's files cannot be had.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

from chromium_pipe import Chromium

CLI, DEMO = sys.argv[1:3]
ORANGE = (0xF0, 0x90, 0x20)  # the demo movie's square
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=300)


class Picture:
    def __init__(self, png):
        size = subprocess.run(["identify", "-format", "%w %h", "png:-"], input=png,
                              capture_output=True, check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                                  capture_output=True, check=True).stdout

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def rows_with(self, colour):
        return [y for y in range(self.height)
                if any(near(self.at(x, y), colour) for x in range(self.width))]


def near(a, b, slack=6):
    return all(abs(p - q) <= slack for p, q in zip(a, b))


def tile_colour(bmp_path, x, y):
    """The colour the tiled background shows at screen (x, y): a bottom-up 24-bit BMP."""
    data = open(bmp_path, "rb").read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    row = (width * 3 + 3) & ~3
    i = offset + (height - 1 - y % height) * row + 3 * (x % width)
    return data[i + 2], data[i + 1], data[i]


def page_names(folder):
    """The files index.html names: its pictures, the movie, its scripts."""
    page = open(os.path.join(folder, "index.html"), "rb").read().decode("utf-8", "replace")
    names = re.findall(r'(?:src|SRC|VALUE)="([^"]*)"|url\(&quot;([^&]*)&quot;\)', page)
    return [n.replace("\\", "/") for n in (a or b for a, b in names)
            if "." in n and n.lower() not in ("true", "high", "showall", "transparent")]


def check_package(folder, manifest, required, kind):
    """The manifest parses, holds every field the program needs, and names files that exist."""
    path = os.path.join(folder, manifest)
    if not check(os.path.isfile(path), "%s: no %s" % (kind, manifest)):
        return
    info = json.load(open(path, encoding="utf-8"))
    for field, expected in required.items():
        check(field in info and (expected is None or info[field] == expected),
              "%s: %s is %r, not %r" % (kind, field, info.get(field), expected))
    for field in ("FileName", "Thumbnail", "Preview", "file", "preview"):
        if field in info:
            check(os.path.isfile(os.path.join(folder, info[field])),
                  "%s: %s names %s, which the package lacks" % (kind, field, info[field]))
    for name in page_names(folder):
        check("://" not in name and not name.startswith(("/", "..")) and
              os.path.isfile(os.path.join(folder, name)),
              "%s: index.html names %s, which the package lacks" % (kind, name))
    check(not [n for n in os.listdir(folder) if n.endswith(".wasm")],
          "%s: the player's files travel beside the script that carries them" % kind)


def check_plays(browser, folder, kind):
    """Opened from file:// with no flag: the movie plays, the background and the square show."""
    outcome, png = browser.open("file://" + os.path.join(folder, "index.html"))
    if not check(outcome == "played", "%s: the movie did not play: %r" % (kind, outcome)):
        return
    picture = Picture(png)
    bmp = os.path.join(DEMO, "background.bmp")
    for x, y in ((0, 0), (799, 0), (0, 599), (799, 599)):
        check(near(picture.at(x, y), tile_colour(bmp, x, y)),
              "%s: corner (%d, %d) is %s, not the tile's %s" % (kind, x, y, picture.at(x, y),
                                                               tile_colour(bmp, x, y)))
    # showall: the 400x300 stage at twice its size fills 800x600; the square spans rows 120-180.
    rows = picture.rows_with(ORANGE)
    check(rows and abs(rows[0] - 240) <= 3 and abs(rows[-1] - 359) <= 3,
          "%s: the square is in rows %s, not 240-359" % (kind, rows[:1] + rows[-1:]))


def check_needs_script(browser, folder, kind):
    """Without the script that serves them, the player cannot fetch its files from file://."""
    page = os.path.join(folder, "index.html")
    text = open(page, "rb").read()
    line = b'<script src="player-files.js"></script>\r\n'
    check(line in text, "%s: index.html does not load player-files.js" % kind)
    open(page, "wb").write(text.replace(line, b""))
    outcome, _ = browser.open("file://" + page)
    print("%s without player-files.js: %s" % (kind, outcome))
    check(outcome != "played" and "file:" in outcome,
          "%s: without player-files.js the player said %r, not the file protocol failure"
          % (kind, outcome))


def test_refusals(work):
    """Outputs that are the project's own files, and a bad project, lose nothing."""
    project = os.path.join(work, "over")
    shutil.copytree(DEMO, project)
    zvp = os.path.join(project, "demo.zvp")
    for option, target in (("--lively", os.path.join(project, "clock.swf")),
                           ("--lively", zvp),
                           ("--wallpaper-engine", project),
                           ("--wallpaper-engine", os.path.join(project, "resources"))):
        before = {n: open(os.path.join(r, n), "rb").read()
                  for r, _, ns in os.walk(project) for n in ns}
        result = run("export", zvp, option, target)
        after = {n: open(os.path.join(r, n), "rb").read()
                 for r, _, ns in os.walk(project) for n in ns}
        check(result.returncode == 1 and "one of the files the installer is built from" in result.stderr
              and before == after, "export %s %s: exit %d, %r, files kept: %s"
              % (option, target, result.returncode, result.stderr, before == after))
    # A resource file the package's own index.html would overwrite.
    os.rename(os.path.join(project, "resources", "greeting.txt"),
              os.path.join(project, "resources", "Index.html"))
    text = open(zvp).read()
    open(zvp, "w").write(text.replace("greeting.txt", "Index.html"))
    result = run("export", zvp, "--lively", os.path.join(work, "clash.zip"))
    check(result.returncode == 1 and "Index.html" in result.stderr and "rename it" in result.stderr
          and not os.path.exists(os.path.join(work, "clash.zip")),
          "a resource file named Index.html: exit %d, %r" % (result.returncode, result.stderr))
    open(zvp, "w").write(text)
    os.rename(os.path.join(project, "resources", "Index.html"),
              os.path.join(project, "resources", "greeting.txt"))
    # A folder of somebody's other files is never replaced.
    mine = os.path.join(work, "mine")
    os.makedirs(mine)
    open(os.path.join(mine, "letter.txt"), "w").write("keep me")
    result = run("export", zvp, "--wallpaper-engine", mine)
    check(result.returncode == 1 and open(os.path.join(mine, "letter.txt")).read() == "keep me",
          "a folder with other files: exit %d, %r" % (result.returncode, result.stderr))
    # A bad project: the message of `page`, and the earlier package kept.
    text = open(zvp).read().replace("SWFFile=clock.swf", "SWFFile=missing.swf")
    open(zvp, "w").write(text)
    earlier = os.path.join(work, "earlier.zip")
    open(earlier, "wb").write(b"an earlier package")
    page = run("page", zvp)
    result = run("export", zvp, "--lively", earlier)
    check(page.returncode == 1 and result.returncode == 1 and result.stderr == page.stderr
          and open(earlier, "rb").read() == b"an earlier package",
          "a bad project: export said %r, page %r" % (result.stderr, page.stderr))


def test_names_and_movie(work, browser):
    """A name beyond ASCII travels in UTF-8 (zip, manifest, the served files' names) and plays;
    a movie the player cannot read is refused, the earlier package kept."""
    project = os.path.join(work, "cyrillic")
    shutil.copytree(DEMO, project)
    zvp = os.path.join(project, "demo.zvp")
    text = open(zvp).read().replace("Name=Demo", "Name=\u0401\u043b\u043a\u0430")
    open(zvp, "w").write(text)
    lively = os.path.join(work, "cyrillic.zip")
    result = run("export", zvp, "--lively", lively, "--codepage", "1251")
    if not check(result.returncode == 0, "export --codepage 1251: %r" % result.stderr):
        return
    unpacked = os.path.join(work, "cyrillic-unpacked")
    with zipfile.ZipFile(lively) as z:
        check("\u0401\u043b\u043a\u0430/clock.swf" in z.namelist(), "the movie's folder is not the name in UTF-8")
        z.extractall(unpacked)
    info = json.load(open(os.path.join(unpacked, "LivelyInfo.json"), encoding="utf-8"))
    check(info["Title"] == "\u0401\u043b\u043a\u0430", "the title is %r" % info["Title"])
    outcome, _ = browser.open("file://" + os.path.join(unpacked, "index.html"))
    check(outcome == "played", "the Cyrillic package did not play: %r" % outcome)

    open(os.path.join(project, "clock.swf"), "wb").write(b"no movie at all\n" * 20)
    before = open(lively, "rb").read()
    result = run("export", zvp, "--lively", lively, "--codepage", "1251")
    check(result.returncode == 1 and "the player failed on the movie" in result.stderr
          and open(lively, "rb").read() == before,
          "a broken movie: exit %d, %r" % (result.returncode, result.stderr))


def test_still_thumbnail(work):
    """The project's own BMP still picture is the thumbnail, as PNG; the movie is still played,
    so a broken one is refused all the same."""
    project = os.path.join(work, "still")
    shutil.copytree(DEMO, project)
    zvp = os.path.join(project, "demo.zvp")
    text = open(zvp).read().replace("PrevMon=", "PrevMon=\nStillImage=background.bmp")
    open(zvp, "w").write(text)
    lively = os.path.join(work, "still.zip")
    result = run("export", zvp, "--lively", lively)
    if not check(result.returncode == 0, "export with a still picture: %r" % result.stderr):
        return
    check("thumbnail: the project's still picture background.bmp, as PNG" in result.stdout,
          "the thumbnail is not the still picture: %r" % result.stdout)
    with zipfile.ZipFile(lively) as z:
        thumbnail = Picture(z.read("preview.png"))
    bmp = os.path.join(DEMO, "background.bmp")
    check((thumbnail.width, thumbnail.height) == (64, 64)
          and all(thumbnail.at(x, y) == tile_colour(bmp, x, y) for x, y in ((0, 0), (63, 0), (5, 40))),
          "the thumbnail's pixels are not the still picture's")
    open(os.path.join(project, "clock.swf"), "wb").write(b"no movie at all\n" * 20)
    result = run("export", zvp, "--lively", lively)
    check(result.returncode == 1 and "the player failed on the movie" in result.stderr,
          "a broken movie beside a still picture: exit %d, %r" % (result.returncode, result.stderr))


def main():
    if not shutil.which("chromium"):
        print("SKIPPED: Chromium is not installed (make deps installs the package chromium)")
        return 77
    with tempfile.TemporaryDirectory(prefix="zarvane-export-") as work:
        zvp = os.path.join(DEMO, "demo.zvp")
        lively, engine = os.path.join(work, "Demo-lively.zip"), os.path.join(work, "Demo-we")
        result = run("export", zvp, "--lively", lively, "--wallpaper-engine", engine)
        if result.returncode != 0 and "player's files are missing" in result.stderr:
            print("SKIPPED: " + result.stderr.strip())
            return 77
        check(result.returncode == 0, "export: " + result.stderr.strip())
        check("thumbnail: a shot of the wallpaper playing" in result.stdout,
              "the thumbnail is not a shot: %r" % result.stdout)
        # Again over both: replaced whole, the same files (the shot may catch another frame).
        def contents():
            with zipfile.ZipFile(lively) as z:
                return {n: z.read(n) for n in z.namelist() if n != "preview.png"}
        first = contents()
        open(os.path.join(engine, "project.json"), "a").write(" ")
        # What a killed export left: its folder, subfolders and all (no process has that number).
        os.makedirs(os.path.join(work, ".zarvane-export-4194304-0", "player"))
        open(os.path.join(work, ".zarvane-export-4194304-0", "player", "a.js"), "w").write("x")
        again = run("export", zvp, "--lively", lively, "--wallpaper-engine", engine)
        check(again.returncode == 0 and contents() == first and
              open(os.path.join(engine, "project.json")).read().endswith("}\n"),
              "a second export over the first: %r" % again.stderr)
        check(not [n for n in os.listdir(work) if n.startswith(".zarvane-")],
              "the export left its folders or a killed export's beside the package")
        unpacked = os.path.join(work, "lively")
        with zipfile.ZipFile(lively) as z:
            check(z.testzip() is None, "the zip's CRC-32 does not match")
            check([n for n in z.namelist() if n.lower() == "livelyinfo.json"] == ["LivelyInfo.json"],
                  "no LivelyInfo.json at the zip's root")
            z.extractall(unpacked)
        check_package(unpacked, "LivelyInfo.json",
                      {"AppVersion": None, "Title": "Demo", "Desc": None, "Author": None,
                       "Contact": None, "License": None, "Type": 1, "FileName": "index.html",
                       "Thumbnail": None, "Preview": None, "IsAbsolutePath": False}, "Lively")
        check_package(engine, "project.json",
                      {"type": "web", "file": "index.html", "title": "Demo", "description": None,
                       "preview": None, "general": {"properties": {}}}, "Wallpaper Engine")
        if failures:
            return 1
        browser = Chromium(work, 800, 600)
        try:
            for folder, kind in ((unpacked, "Lively"), (engine, "Wallpaper Engine")):
                check_plays(browser, folder, kind)
            check_needs_script(browser, unpacked, "Lively")
            test_names_and_movie(work, browser)
        finally:
            browser.close()
        test_still_thumbnail(work)
        test_refusals(work)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
