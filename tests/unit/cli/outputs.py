#!/usr/bin/env python3
"""Where zarvane-cli may write: every command that writes, pointed at every kind of file the
project is made of (and at folders that hold one), refuses with the build's message and leaves
every file as it was; a file that no build wrote is replaced only when named on the command line.

usage: outputs.py ZARVANE_CLI DEMO_FOLDER
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

CLI, DEMO = sys.argv[1:3]
REFUSED = "It is one of the files the installer is built from"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=240)


def snapshot(folder):
    return {os.path.relpath(os.path.join(r, n), folder): open(os.path.join(r, n), "rb").read()
            for r, _, names in os.walk(folder) for n in names}


def make_project(folder):
    """The demo with every kind of file a project names: still, preview and installer window
    pictures of their own, and a licence in UTF-8 (packed through a converted copy)."""
    shutil.copytree(DEMO, folder)
    for picture in ("still.bmp", "prev.bmp", "window.bmp"):
        shutil.copy(os.path.join(folder, "background.bmp"), os.path.join(folder, picture))
    open(os.path.join(folder, "licence.txt"), "w", encoding="utf-8").write("Licence \u00a9 2026\r\n")
    zvp = os.path.join(folder, "demo.zvp")
    text = open(zvp).read()
    for key, value in (("PrevMon", "prev.bmp\nStillImage=still.bmp"),
                       ("MovieOrImageFile", "window.bmp")):
        text = re.sub(r"(?m)^%s=.*$" % key, "%s=%s" % (key, value), text)
    text = text.replace("[Preview]\nShowMovie=1", "[Preview]\nShowMovie=0")
    text = text.replace("[Installer]\nShowMovie=0", "[Installer]\nShowMovie=1")
    open(zvp, "w").write(text)
    return zvp


def test_inputs(work):
    project = os.path.join(work, "p")
    zvp = make_project(project)
    elsewhere = os.path.join(work, "elsewhere")
    os.makedirs(elsewhere)
    os.symlink(os.path.join(project, "clock.swf"), os.path.join(elsewhere, "link.swf"))
    check(run("check", zvp).returncode == 0, "the table's project is not whole")
    inputs = {
        "the project file": zvp,
        "the movie": os.path.join(project, "clock.swf"),
        "the movie through a link": os.path.join(elsewhere, "link.swf"),
        "the background image": os.path.join(project, "background.bmp"),
        "the still picture": os.path.join(project, "still.bmp"),
        "the preview image": os.path.join(project, "prev.bmp"),
        "the installer window's picture": os.path.join(project, "window.bmp"),
        "the UTF-8 licence": os.path.join(project, "licence.txt"),
        "a resource file": os.path.join(project, "resources", "palette.xml"),
        "the resources' folder": os.path.join(project, "resources"),
        "the project's folder": project,
    }
    no_browser = os.path.join(work, "no-such-browser")
    commands = {
        "build -o": lambda out: ["build", zvp, "-o", out],
        "page -o": lambda out: ["page", zvp, "-o", out],
        "preview -o": lambda out: ["preview", zvp, "-o", out, "--browser", "/bin/false"],
        "preview --html": lambda out: ["preview", zvp, "--html", out],
        "export --lively": lambda out: ["export", zvp, "--lively", out, "--browser", no_browser],
        "export --wallpaper-engine":
            lambda out: ["export", zvp, "--wallpaper-engine", out, "--browser", no_browser],
    }
    before = snapshot(work)
    for command, args in commands.items():
        for kind, path in inputs.items():
            result = run(*args(path))
            if "carries no web Flash player" in result.stderr:
                print("note: no web Flash player in this build:", command, "not tried")
                break
            check(result.returncode == 1 and REFUSED in result.stderr,
                  "%s %s: exit %d, %r" % (command, kind, result.returncode, result.stderr))
    check(snapshot(work) == before, "a refused output changed or left files")


def test_replacing(work):
    project = os.path.join(work, "r", "project")
    zvp = make_project(project)
    notes = os.path.join(work, "r", "notes.txt")
    open(notes, "w").write("my notes")
    text = open(zvp).read()
    open(zvp, "w").write(text.replace("InstallerFilePath=Demo Setup.exe",
                                      "InstallerFilePath=..\\notes.txt"))
    # The project's own path to a file that is no installer: refused, and the notes kept.
    result = run("build", zvp)
    check(result.returncode == 1 and "is a file that is not an installer" in result.stderr
          and open(notes).read() == "my notes", "build over notes: %r" % result.stderr)
    checked = run("check", zvp)
    check(checked.returncode == 1 and "is a file that is not an installer" in checked.stderr,
          "check did not see it: %r" % checked.stderr)
    # Named with -o it goes; an installer there goes without asking.
    result = run("build", zvp, "-o", notes)
    check(result.returncode == 0 and open(notes, "rb").read().endswith(b"!QOBA_SFX!"),
          "build -o notes: %r" % result.stderr)
    result = run("build", zvp)
    check(result.returncode == 0, "build over an installer: %r" % result.stderr)
    # The preview's own default output alike: a file there that is no PNG stays.
    shot = os.path.join(project, "Demo-preview.png")
    open(shot, "w").write("not a picture")
    result = run("preview", zvp, "--browser", "/bin/false")
    check(result.returncode == 1 and "is a file that is not a PNG picture" in result.stderr
          and open(shot).read() == "not a picture", "preview over a text: %r" % result.stderr)


def main():
    with tempfile.TemporaryDirectory(prefix="zarvane-outputs-") as work:
        test_inputs(work)
        test_replacing(work)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
