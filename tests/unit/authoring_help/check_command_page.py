#!/usr/bin/env python3
"""check_command_page.py CLI PAGE: the help's command-line page names every command (and every
option of the top level) that `CLI --help` lists, so the page cannot fall behind the program.
Prints each command it misses; exit 1 when there is one."""
import re
import subprocess
import sys


def main(cli, page_path):
    listing = subprocess.run([cli, "--help"], capture_output=True, text=True).stdout
    commands = re.findall(r"^  ([a-z][a-z0-9-]*)  ", listing, re.M)
    options = set(re.findall(r"zarvane-cli (--[a-z-]+)", listing))
    with open(page_path, encoding="latin-1") as f:
        page = re.sub(r"<[^>]*>", "", f.read())
    missing = [c for c in commands if f"zarvane-cli {c}" not in page]
    missing += [o for o in sorted(options) if o not in page]
    if not commands:
        missing.append("(no commands in the program's --help)")
    for name in missing:
        print(f"{page_path}: does not name '{name}'")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
