#!/usr/bin/env python3
"""check_help_links.py HELP_DIR: every local link, picture and style sheet of the help pages
names a file that is there, every anchor names a place on its page, and every page can be
reached from index.htm. Prints each fault; exit 1 when there is one."""
import html.parser
import os
import sys
import urllib.parse


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


def main(folder):
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
    for fault in faults:
        print(fault)
    print(f"{len(pages)} pages, {sum(len(p.targets) for p in pages.values())} links and pictures")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
