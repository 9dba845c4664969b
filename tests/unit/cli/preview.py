#!/usr/bin/env python3
"""zarvane-cli preview as a whole: the preview folder against the installed page, then three
shots in headless Chromium looked at pixel by pixel.

usage: preview.py ZARVANE_CLI DEMO_FOLDER CORPUS_FOLDER
Exits 77 (skipped) with the reason when Chromium or the player's files cannot be had.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

CLI, DEMO, CORPUS = sys.argv[1:4]
ORANGE = (0xF0, 0x90, 0x20)  # the demo movie's square
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


def run(*args, cwd=None):
    return subprocess.run([CLI, *args], capture_output=True, text=True, cwd=cwd, timeout=240)


def project(folder, name, **changes):
    """A copy of the demo project and its files in `folder`, with keys replaced."""
    os.makedirs(folder)
    for entry in os.listdir(DEMO):
        source = os.path.join(DEMO, entry)
        (shutil.copytree if os.path.isdir(source) else shutil.copy)(source, os.path.join(folder, entry))
    text = open(os.path.join(DEMO, "demo.zvp")).read().replace("Name=Demo", "Name=" + name)
    for key, value in changes.items():
        text = re.sub(r"(?m)^%s=.*$" % key, "%s=%s" % (key, value), text)
    path = os.path.join(folder, name + ".zvp")
    open(path, "w").write(text)
    return path


class Picture:
    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                              text=True, check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                                  check=True).stdout

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def rows_with(self, colour, x_range=None):
        xs = x_range or range(self.width)
        return [y for y in range(self.height) if any(near(self.at(x, y), colour) for x in xs)]


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


def shot(path, *options):
    result = run("preview", path, *options)
    check(result.returncode == 0, "preview %s %s: %s" % (path, options, result.stderr.strip()))
    return result


def test_folder(work):
    """The preview page is the installed page plus the two script lines; it names only files
    beside it."""
    folder = os.path.join(work, "html")
    result = run("preview", os.path.join(DEMO, "demo.zvp"), "--html", folder)
    if result.returncode != 0 and "player's files are missing" in result.stderr:
        print("SKIPPED: " + result.stderr.strip())
        sys.exit(77)
    check(result.returncode == 0, "preview --html: " + result.stderr.strip())
    installed = subprocess.run([CLI, "page", os.path.join(DEMO, "demo.zvp")], capture_output=True,
                               check=True).stdout
    preview = open(os.path.join(folder, "Demo.htm"), "rb").read()
    added = [b'<script src="preview-options.js"></script>', b'<script src="ruffle.js"></script>']
    lines = preview.split(b"\r\n")
    check([l for l in lines if l not in added] == installed.split(b"\r\n"),
          "the preview page differs from the installed page by more than the two script lines")
    check(all(l in lines for l in added), "the preview page does not load the options and player")
    names = re.findall(rb'(?:src|SRC|VALUE)="([^"]*)"|url\(&quot;([^&]*)&quot;\)', preview)
    for name in [a or b for a, b in names]:
        name = name.decode()
        if name.lower() in ("true", "high", "showall", "transparent", "") or "." not in name:
            continue
        check("://" not in name and not name.startswith(("/", "\\", "..")),
              "the page names %s, which is not beside it" % name)
        check(os.path.isfile(os.path.join(folder, name.replace("\\", "/"))),
              "the page names %s, which the folder lacks" % name)
    for resource in ("greeting.txt", "palette.xml"):
        check(os.path.isfile(os.path.join(folder, resource)), resource + " is not beside the page")
    again = run("preview", os.path.join(DEMO, "demo.zvp"), "--html", folder)
    check(again.returncode == 1, "--html into a folder that is not empty was not refused")


def test_refusals(work):
    """A missing Chromium is named; a shot never lands on one of the project's files."""
    result = run("preview", os.path.join(DEMO, "demo.zvp"), "-o", os.path.join(work, "x.png"),
                 "--browser", os.path.join(work, "no-such-chromium"))
    check(result.returncode == 1 and "Chromium not found" in result.stderr,
          "a missing Chromium: exit %d, %r" % (result.returncode, result.stderr))
    path = project(os.path.join(work, "over"), "Over")
    resource = os.path.join(work, "over", "resources", "greeting.txt")
    before = open(resource, "rb").read()
    result = run("preview", path, "-o", resource)
    check(result.returncode == 1 and "one of the files the installer is built from" in result.stderr
          and open(resource, "rb").read() == before, "a shot over a resource file was not refused")
    # A name in Cyrillic needs the code page the installation will use, as for build and page.
    path = project(os.path.join(work, "cyrillic"), "Ёлка")
    result = run("preview", path, "--html", os.path.join(work, "cyrillic-1252"))
    check(result.returncode == 1 and "] Name: " in result.stderr
          and "code page 1252" in result.stderr, "a name 1252 cannot hold: %r" % result.stderr)
    result = run("preview", path, "--html", os.path.join(work, "cyrillic-1251"), "--codepage", "1251")
    check(result.returncode == 0 and os.path.isfile(os.path.join(work, "cyrillic-1251", "preview-options.js")),
          "--codepage 1251: exit %d, %r" % (result.returncode, result.stderr))


def test_demo(work):
    """Tiled corners, the movie centred vertically (showall leaves room above and below), the
    square in the movie's own colour inside it."""
    png = os.path.join(work, "demo.png")
    shot(os.path.join(DEMO, "demo.zvp"), "-o", png, "--size", "800x900", "--at", "0.5")
    if failures:
        return
    picture = Picture(png)
    check((picture.width, picture.height) == (800, 900), "demo shot size %dx%d" % (picture.width,
                                                                             picture.height))
    bmp = os.path.join(DEMO, "background.bmp")
    for x, y in ((0, 0), (799, 0), (0, 899), (799, 899)):
        check(near(picture.at(x, y), tile_colour(bmp, x, y)),
              "demo corner (%d, %d) is %s, the tile %s" % (x, y, picture.at(x, y),
                                                         tile_colour(bmp, x, y)))
    # The stage (400x300) at twice its size, 150 pixels down; the square spans rows 120-180.
    rows = picture.rows_with(ORANGE)
    check(rows and abs(rows[0] - 390) <= 3 and abs(rows[-1] - 509) <= 3,
          "the demo's square is in rows %s, not 390-509" % (rows[:1] + rows[-1:]))


def test_left_top_colour(work):
    """Left/Top at the movie's own size: the square in the top-left 400x300; no background
    image: the page's colour everywhere else."""
    path = project(os.path.join(work, "lt"), "Corner", HAlign="Left", VAlign="Top",
                   MovieSize="noscale", BackImage="", MovieBkgColor="33AA55")
    png = os.path.join(work, "lt.png")
    shot(path, "-o", png, "--at", "0.5")
    if failures:
        return
    picture = Picture(png)
    for x, y in ((0, 0), (1023, 0), (0, 767), (1023, 767), (700, 500)):
        check(near(picture.at(x, y), (0x33, 0xAA, 0x55)),
              "(%d, %d) is %s, not the page's colour" % (x, y, picture.at(x, y)))
    rows = picture.rows_with(ORANGE)
    check(rows and abs(rows[0] - 120) <= 2 and abs(rows[-1] - 179) <= 2,
          "the Left/Top square is in rows %s, not 120-179" % (rows[:1] + rows[-1:]))
    check(not picture.rows_with(ORANGE, range(400, 1024)), "the Left/Top square right of x 400")


def test_compressed(work):
    """A zlib-compressed movie from elsewhere plays: its pictures cover part of the page."""
    movie = os.path.join(CORPUS, "swf", "files", "ruffle-logo-anim.swf")
    path = project(os.path.join(work, "cws"), "Logo", BackImage="", MovieBkgColor="000000")
    shutil.copy(movie, os.path.join(work, "cws", "clock.swf"))
    png = os.path.join(work, "cws.png")
    # The logo flies in over its first seconds, which a loaded machine stretches.
    shot(path, "-o", png, "--size", "600x400", "--at", "3")
    if failures:
        return
    picture = Picture(png)
    # The page is black; whatever the logo's frame, some hundreds of its pixels are not.
    drawn = sum(1 for i in range(0, len(picture.rgb), 3) if any(picture.rgb[i:i + 3]))
    check(drawn >= 100, "the compressed movie drew %d pixels" % drawn)


def test_broken_movie(work):
    """A movie the player cannot read is a failure with the player's reason, not a picture."""
    path = project(os.path.join(work, "bad"), "Broken")
    open(os.path.join(work, "bad", "clock.swf"), "wb").write(b"no movie at all\n" * 20)
    png = os.path.join(work, "bad.png")
    result = run("preview", path, "-o", png)
    check(result.returncode == 1 and "the player failed on the movie" in result.stderr
          and not os.path.exists(png), "a broken movie: exit %d, %r" % (result.returncode,
                                                                     result.stderr))


def test_nothing_left(work):
    """The browser is stopped without ceremony once it has given the picture: none of its
    processes outlives the command, and its profile goes with the run's temporary folder. It
    writes nothing into the user's home (a crash-report folder, dconf settings)."""
    tmp = os.path.join(work, "left-tmp")
    home = os.path.join(work, "left-home")
    os.makedirs(tmp)
    os.makedirs(home)
    png = os.path.join(work, "left.png")
    environment = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    environment.update(TMPDIR=tmp, HOME=home)
    result = subprocess.run([CLI, "preview", os.path.join(DEMO, "demo.zvp"), "-o", png],
                            capture_output=True, text=True, timeout=240, env=environment)
    if not check(result.returncode == 0 and os.path.getsize(png) > 0,
                 "a shot with its own TMPDIR: " + result.stderr.strip()):
        return

    def running():
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if tmp.encode() in open("/proc/%s/cmdline" % pid, "rb").read():
                    found.append(pid)
            except OSError:
                pass  # gone meanwhile
        return found
    # The crash reporter watches the browser from outside its process group and leaves when it
    # notices; the browser's own processes are gone before the command ends.
    for _ in range(50):
        left = running()
        if not left:
            break
        time.sleep(0.1)
    check(not left, "%d processes of the shot's browser outlived the command" % len(left))
    check(os.listdir(tmp) == [], "the shot left %s in its temporary folder" % os.listdir(tmp))
    written = [os.path.relpath(os.path.join(r, n), home) for r, ds, ns in os.walk(home) for n in ds + ns]
    check(written == [], "the shot wrote %s into the home folder" % written)


def bmp_header(path):
    data = open(path, "rb").read(30)
    return (int.from_bytes(data[18:22], "little", signed=True),
            int.from_bytes(data[22:26], "little", signed=True), int.from_bytes(data[28:30], "little"))


def test_build_still(work):
    """build --still-from-movie packs the movie's frame, at its own size, as the still picture
    (over the project's own); a plain build is what it was; refusals lose nothing; the run's
    temporary folders are gone."""
    path = project(os.path.join(work, "still"), "Still",
                   PrevMon="\nStillImage=background.bmp")
    setup, plain = os.path.join(work, "Still Setup.exe"), os.path.join(work, "plain.exe")
    tmp = os.path.join(work, "tmp")
    os.makedirs(tmp)
    env = dict(os.environ, TMPDIR=tmp)

    def build(*options, **kwargs):
        return subprocess.run([CLI, "build", path, *options], capture_output=True, text=True,
                              timeout=240, **kwargs)
    check(build("-o", plain).returncode == 0, "a plain build failed")
    result = build("-o", setup, "--still-from-movie", "--at", "0.5", env=env)
    if not check(result.returncode == 0, "build --still-from-movie: " + result.stderr.strip()):
        return
    check("replaces the project's still picture" in result.stdout, "no word that the flag wins")
    check(os.listdir(tmp) == [], "the build left %s in its temporary folder" % os.listdir(tmp))
    listing = subprocess.run([CLI, "list", setup], capture_output=True, text=True).stdout
    check("StillStill.bmp" in listing, "the still member is not listed: %r" % listing)
    extracted = os.path.join(work, "still-extracted")
    subprocess.run([CLI, "extract", setup, extracted], capture_output=True, check=True)
    ini = open(os.path.join(extracted, "instcfg.ini"), "rb").read()
    check(b"StillImage=StillStill.bmp\r\n" in ini, "instcfg.ini does not name the frame")
    check(b"StillFromMovie=1\r\n" in ini, "instcfg.ini does not say the still is the movie's frame")
    still = os.path.join(extracted, "StillStill.bmp")
    check(bmp_header(still) == (400, 300, 24), "the still is %s, not a 400x300 24-bit BMP"
          % (bmp_header(still),))
    picture = Picture(still)
    bmp = os.path.join(DEMO, "background.bmp")
    for x, y in ((0, 0), (399, 0), (0, 299), (399, 299)):
        check(near(picture.at(x, y), tile_colour(bmp, x, y)),
              "still corner (%d, %d) is %s, the tile %s" % (x, y, picture.at(x, y),
                                                          tile_colour(bmp, x, y)))
    rows = picture.rows_with(ORANGE)
    check(rows and abs(rows[0] - 120) <= 2 and abs(rows[-1] - 179) <= 2,
          "the still's square is in rows %s, not 120-179" % (rows[:1] + rows[-1:]))

    # The flag's path leaves nothing behind that a plain build would pick up.
    again = os.path.join(work, "again.exe")
    check(build("-o", again).returncode == 0 and open(again, "rb").read() == open(plain, "rb").read(),
          "a plain build after one with the flag differs")
    before = open(setup, "rb").read()
    refused = build("-o", setup, "--still-from-movie", "--at", "-1")
    check(refused.returncode == 2 and "--at takes seconds" in refused.stderr,
          "--at -1: exit %d, %r" % (refused.returncode, refused.stderr))
    no_browser = build("-o", setup, "--still-from-movie", env=dict(os.environ, PATH="/nonexistent"))
    check(no_browser.returncode == 1 and "Chromium not found" in no_browser.stderr
          and open(setup, "rb").read() == before,
          "without Chromium: exit %d, %r" % (no_browser.returncode, no_browser.stderr))


def main():
    if not shutil.which("chromium"):
        print("SKIPPED: Chromium is not installed (make deps installs the package chromium)")
        return 77
    with tempfile.TemporaryDirectory(prefix="zarvane-preview-") as work:
        if os.environ.get("KEEP_SHOTS"):
            work = os.environ["KEEP_SHOTS"]
        test_folder(work)
        test_refusals(work)
        test_demo(work)
        test_left_top_colour(work)
        test_compressed(work)
        test_broken_movie(work)
        test_nothing_left(work)
        test_build_still(work)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
