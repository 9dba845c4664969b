#!/usr/bin/env python3
"""check_help_links.py HELP_DIR [SOURCE_DIR]: every local link, picture and style sheet of the
help pages names a file that is there, every anchor names a place on its page, and every page can
be reached from index.htm. With SOURCE_DIR, also every field, button and menu entry a page names
in bold, and every message the troubleshooting page lists, is one the programs have. Prints each
fault; exit 1 when there is one."""
import glob
import html
import html.parser
import os
import re
import sys
import urllib.parse

# Pages that name what other programs show, not ours.
OTHER_PROGRAMS = {"live-wallpaper.htm"}
# Where the programs keep what they show: resource scripts and the code that words messages.
PROGRAM_TEXTS = ["authoring_ui/*.rc", "authoring_ui/*.cpp", "authoring_ui/*.h", "installer/*.rc",
                 "project/*.cpp", "packaging/*.cpp", "wallpaper_core/*.cpp", "wallpaper_core/*.h",
                 "winui/*.cpp"]


def plain(text):
    """What a person reads: no mnemonic ampersands, escapes or line breaks, one letter case."""
    text = text.replace("&", "").replace('\\"', '"').replace("\\n", " ")
    return re.sub(r"\s+", " ", text).strip().lower()


def unknown_names(folder, source):
    texts = ""
    for pattern in PROGRAM_TEXTS:
        for path in glob.glob(os.path.join(source, pattern)):
            with open(path, encoding="latin-1") as f:
                texts += f.read() + "\n"
    texts = plain(texts)
    faults = []
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".htm") or name in OTHER_PROGRAMS:
            continue
        with open(os.path.join(folder, name), encoding="latin-1") as f:
            page = f.read()
        named = [("names", part) for bold in re.findall(r"<b>(.*?)</b>", page, re.S)
                 for part in html.unescape(re.sub("<[^>]+>", "", bold)).split(" > ")]
        if name == "troubleshooting.htm":
            named += [("lists the message", message)
                      for cell in re.findall(r"<tr><td>(.*?)</td>", page, re.S)
                      for message in html.unescape(re.sub("<[^>]+>", "", cell)).split(" / ")]
        for what, text in named:
            # "..." stands for what the program fills in.
            if not all(piece.strip() in texts for piece in plain(text).split("...") if piece.strip()):
                faults.append(f"{name} {what} '{text.strip()}', which the programs do not have")
    return faults


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.targets, self.anchors = [], set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("href", "src") and value is not None:
                self.targets.append(value)
            if name in ("id", "name") and value:
                self.anchors.add(value)


def main(folder, source=None):
    pages = {}
    for name in sorted(os.listdir(folder)):
        if name.lower().endswith((".htm", ".html")):
            page = Page()
            with open(os.path.join(folder, name), encoding="latin-1") as f:
                page.feed(f.read())
            pages[name] = page
    faults = []
    if "index.htm" not in pages:
        faults.append("no index.htm")
    links = {}
    for name, page in pages.items():
        links[name] = set()
        for target in page.targets:
            parts = urllib.parse.urlsplit(target)
            if parts.scheme or parts.netloc:
                continue  # web and mail addresses are not ours to check
            path = urllib.parse.unquote(parts.path) or name
            if "\\" in path or os.path.isabs(path) or ".." in path.split("/"):
                faults.append(f"{name}: {target} leaves the help folder")
                continue
            if not os.path.isfile(os.path.join(folder, path)):
                faults.append(f"{name}: {target} names no file")
                continue
            if parts.fragment and path in pages and parts.fragment not in pages[path].anchors:
                faults.append(f"{name}: {target} names no place on {path}")
            links[name].add(path)
    seen, todo = set(), ["index.htm"]
    while todo:
        name = todo.pop()
        if name in seen or name not in pages:
            continue
        seen.add(name)
        todo.extend(links[name])
    faults += [f"{name} cannot be reached from index.htm" for name in pages if name not in seen]
    if source:
        faults += unknown_names(folder, source)
    for fault in faults:
        print(fault)
    print(f"{len(pages)} pages, {sum(len(p.targets) for p in pages.values())} links and pictures")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
