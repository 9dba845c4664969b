#!/usr/bin/env python3
"""zarvane-cli on Linux as a user meets it: a UTF-8 project named "Café Été" built, listed,
verified, extracted and previewed with UTF-8 names, code page 1252 inside the installer; then the
same installer damaged in each way, each told by its own words, extract agreeing with verify;
last a project in Shift-JIS (code page 932), double-byte names through every command.

usage: names_and_damage.py ZARVANE_CLI DEMO_FOLDER
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

CLI, DEMO = sys.argv[1:3]
NAME = "Café Été"
LICENCE = "Démonstration © Quorvel\r\n"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


def run(*args):
    # Bytes, decoded strictly: a name that is not UTF-8 fails here, not later.
    result = subprocess.run([CLI, *args], capture_output=True, timeout=240)
    for stream in ("stdout", "stderr"):
        try:
            setattr(result, stream, getattr(result, stream).decode("utf-8"))
        except UnicodeDecodeError as error:
            check(False, "%s printed no UTF-8: %s" % (args, error))
            setattr(result, stream, getattr(result, stream).decode("utf-8", "replace"))
    return result


def members(blob):
    """(offset, usize, csize, raw name) read backwards from the end, as the layout says."""
    (count,) = struct.unpack("<i", blob[-18:-14])
    end, found = len(blob) - 18, []
    for _ in range(count):
        (n,) = struct.unpack("<I", blob[end - 4:end])
        offset, usize, csize = struct.unpack("<III", blob[end - 16 - n:end - 4 - n])
        found.insert(0, (offset, usize, csize, blob[end - 4 - n:end - 4]))
        end -= 16 + n
    return found


def make_project(folder):
    shutil.copytree(DEMO, folder)
    text = open(os.path.join(folder, "demo.zvp"), encoding="ascii").read()
    text = text.replace("Name=Demo", "Name=" + NAME)
    text = re.sub(r"(?m)^InstallerFilePath=.*\n?", "", text)
    path = os.path.join(folder, "cafe.zvp")
    open(path, "w", encoding="utf-8", newline="").write(text)
    licence = re.search(r"(?m)^LicenseFile=(.*?)\r?$", text).group(1)
    open(os.path.join(folder, licence), "w", encoding="utf-8", newline="").write(LICENCE)
    return path, text


def test_names(work):
    project, text = make_project(os.path.join(work, "project"))
    built = run("build", project)
    installer = os.path.join(work, "project", NAME + " Setup.exe")
    check(built.returncode == 0, "build: " + built.stderr)
    check(os.path.isfile(installer), "no installer named %r" % installer)
    check("installer: " + installer in built.stdout, "build printed " + built.stdout)
    check("licence is UTF-8; it is packed converted to code page 1252" in built.stderr,
          "the licence's conversion was not told: " + built.stderr)
    if not os.path.isfile(installer):
        return None

    blob = open(installer, "rb").read()
    raw = [m[3] for m in members(blob)]
    check((NAME + "Preview.bmp").encode("cp1252") in raw and (NAME + "_build.bmp").encode("cp1252") in raw,
          "names inside the installer are not code page 1252: %r" % raw)
    listed = run("list", installer)
    check(listed.returncode == 0 and "\t%s_build.bmp\n" % NAME in listed.stdout
          and "\t%sPreview.bmp\n" % NAME in listed.stdout, "list: " + listed.stdout + listed.stderr)
    verified = run("verify", installer)
    check(verified.returncode == 0 and "ok\t%sPreview.bmp\n" % NAME in verified.stdout
          and "program\tthis version's" in verified.stdout and "members: whole" in verified.stdout,
          "verify: " + verified.stdout + verified.stderr)

    out = os.path.join(work, "extracted")
    extracted = run("extract", installer, out)
    check(extracted.returncode == 0, "extract: " + extracted.stderr)
    check(sorted(os.listdir(out)) == sorted(n.decode("cp1252") for n in raw),
          "extracted names %s" % sorted(os.listdir(out)))
    config = open(os.path.join(out, "instcfg.ini"), "rb").read()
    check(("Name=" + NAME).encode("cp1252") in config, "instcfg.ini: %r" % config)
    licence = re.search(r"(?m)^LicenseFile=(.*?)\r?$", text).group(1)
    check(open(os.path.join(out, licence), "rb").read() == LICENCE.encode("cp1252"),
          "the licence was not packed in code page 1252")

    html = os.path.join(work, "html")
    kept = run("preview", project, "--html", html)
    check(kept.returncode == 0, "preview --html: " + kept.stderr)
    page = os.path.join(html, NAME + ".htm")
    check(os.path.isfile(os.path.join(html, NAME, "clock.swf")) and os.path.isfile(page),
          "the preview folder has %s" % os.listdir(html))
    if os.path.isfile(page):
        text = open(page, "rb").read().decode("utf-8")
        check('<meta charset="utf-8">' in text and NAME + "\\clock.swf" in text,
              "the preview page does not name the movie in UTF-8")
    if shutil.which("chromium"):
        png = os.path.join(work, "cafe.png")
        shot = run("preview", project, "-o", png, "--size", "400x300", "--at", "0.2")
        check(shot.returncode == 0 and open(png, "rb").read(8) == b"\x89PNG\r\n\x1a\n",
              "preview: " + shot.stderr)
    else:
        print("note: no chromium, the preview's shot was not taken")

    # The Windows profile functions read UTF-16 with a byte-order mark; so does check.
    utf16 = os.path.join(work, "project", "utf16.zvp")
    open(utf16, "wb").write(b"\xff\xfe" + open(project, encoding="utf-8").read().encode("utf-16-le"))
    read = run("check", utf16)
    check(read.returncode == 0 and read.stdout == "no problems found\n", "UTF-16: " + read.stderr)

    # A licence the code page cannot hold is refused, naming file and character.
    open(os.path.join(work, "project", licence), "w", encoding="utf-8").write("Zażółć\r\n")
    os.remove(installer)
    refused = run("build", project)
    check(refused.returncode == 1 and licence + ": the licence is UTF-8, and its character 'ż'"
          in refused.stderr and not os.path.exists(installer), "a Polish licence: " + refused.stderr)
    return blob


def test_damage(work, blob):
    whole = os.path.join(work, "whole.exe")
    open(whole, "wb").write(blob)
    # A build without the Windows build's installer program carries a stand-in.
    ours = "program\tthis version's" in run("verify", whole).stdout
    listed = members(blob)
    program = listed[0][0]
    flipped = bytearray(blob)
    flipped[listed[4][0] + listed[4][2] // 2] ^= 0x10
    changed = bytearray(blob)
    changed[program // 2] ^= 0x01
    count = bytearray(blob)
    count[-18] += 1
    cases = [
        ("project", open(os.path.join(work, "project", "cafe.zvp"), "rb").read(),
         "not an installer (no Zarvane signature at its end)", None),
        ("movie", open(os.path.join(DEMO, "clock.swf"), "rb").read(), "not an installer", None),
        ("cut in the program", blob[:program // 2],
         "cut short (%d of at least %d bytes)" % (program // 2, program + 18), None),
        ("cut in the payload", blob[:program + 1000], "cut short (%d of at least" % (program + 1000), None),
        ("cut in the directory", blob[:-30], "cut short (%d of at least" % (len(blob) - 30), None),
        ("count changed", bytes(count), "directory damaged", None),
        ("member changed", bytes(flipped), "member 4 (%sPreview.bmp) damaged" % NAME, 7),
        ("program changed", bytes(changed), "installer program changed", 8),
    ]
    for what, data, words, keptByKeepGoing in cases:
        path = os.path.join(work, "damaged.exe")
        open(path, "wb").write(data)
        verified = run("verify", path)
        if not ours and ("cut in the program" in what or what == "program changed"):
            continue
        check(verified.returncode == 1 and words in verified.stderr,
              "%s: verify says %r, not %r" % (what, verified.stderr, words))
        check("(100" not in verified.stderr, "%s: a bare result number: %s" % (what, verified.stderr))
        out = os.path.join(work, "out-" + what.replace(" ", "-"))
        extracted = run("extract", path, out)
        if what == "program changed":
            # The program is never extracted: its members are whole.
            check(extracted.returncode == 0, "program changed: extract says " + extracted.stderr)
            continue
        check(extracted.returncode == 1 and words in extracted.stderr,
              "%s: extract says %r" % (what, extracted.stderr))
        check(not os.path.isdir(out) or not os.listdir(out), "%s: extract left %s" % (what, out))
        if keptByKeepGoing is not None:
            going = run("extract", path, out, "--keep-going")
            check(going.returncode == 1 and len(os.listdir(out)) == keptByKeepGoing,
                  "%s: --keep-going extracted %s" % (what, os.listdir(out)))


def test_double_byte(work):
    """Shift-JIS (code page 932): each character is a lead byte and a trail byte, and a trail
    byte may look like an ASCII letter. "\u30a2" and "\u30c2" are 83 41 and 83 61: two files,
    not one name in two cases. Names are built, listed, extracted and exported whole."""
    name = "\u58c1\u7d19\u30a2\u30cb\u30e1"  # 95 c7 8e 86 83 41 83 6a 83 81
    resources = {"\u30a2.txt": "a", "\u30c2.txt": "di", "\u30c7\u30fc\u30bf.txt": "data"}
    folder = os.path.join(work, "sjis")
    shutil.copytree(DEMO, folder)
    for resource, text in resources.items():
        open(os.path.join(folder, "resources", resource), "w").write(text)
    text = open(os.path.join(folder, "demo.zvp"), encoding="ascii").read()
    text = text.replace("Name=Demo", "Name=" + name)
    text = re.sub(r"(?m)^ResourceFiles=.*$",
                  "ResourceFiles=" + "".join("resources\\%s;" % r for r in resources), text)
    project = os.path.join(folder, "sjis.zvp")
    open(project, "w", encoding="utf-8").write(text)
    installer = os.path.join(work, "sjis.exe")
    built = run("build", project, "--codepage", "932", "-o", installer)
    if not check(built.returncode == 0, "932: build: " + built.stderr):
        return
    raw = [m[3] for m in members(open(installer, "rb").read())]
    expected = [r.encode("cp932") for r in resources] + [(name + "Preview.bmp").encode("cp932")]
    check(all(e in raw for e in expected), "932: names inside the installer: %r" % raw)
    listed = run("list", installer, "--codepage", "932")
    check(listed.returncode == 0 and all("\t%s\n" % n.decode("cp932") in listed.stdout
                                         for n in expected), "932: list: " + listed.stdout)
    out = os.path.join(work, "sjis-out")
    extracted = run("extract", installer, out, "--codepage", "932")
    check(extracted.returncode == 0 and sorted(os.listdir(out)) == sorted(n.decode("cp932") for n in raw),
          "932: extract: %s %s" % (extracted.stderr, os.listdir(out) if os.path.isdir(out) else ""))
    for resource, text in resources.items():
        path = os.path.join(out, resource)
        check(os.path.isfile(path) and open(path).read() == text, "932: %s extracted wrong" % resource)
    package = os.path.join(work, "sjis.zip")
    exported = run("export", project, "--codepage", "932", "--lively", package,
                   "--browser", os.path.join(work, "no-such-browser"))
    if "carries no web Flash player" in exported.stderr:
        print("note: no web Flash player in this build: export not tried")
        return
    check(exported.returncode == 0, "932: export: " + exported.stderr)
    if os.path.isfile(package):
        with zipfile.ZipFile(package) as z:
            names = z.namelist()
            page = z.read("index.html").decode("utf-8")
        check(all(any(n.endswith("/" + r) or n == r for n in names) for r in resources),
              "932: the package holds %s" % names)
        check(name + "\\clock.swf" in page, "932: the package's page does not name the movie")


def main():
    with tempfile.TemporaryDirectory(prefix="zarvane-names-") as work:
        blob = test_names(work)
        if blob:
            test_damage(work, blob)
        test_double_byte(work)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
