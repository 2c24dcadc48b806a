#!/usr/bin/env python3
"""Checks that the user guide and its pictures agree with the walk that makes them.

    check_guide_pictures.py REPOSITORY

Every picture the guide (docs/user-guide.md) or the README shows must be in docs/images and
be one that tools/screenshots/make_screenshots.py takes, so it is remade when a window
changes; every picture in docs/images must be shown somewhere. Prints every difference and
exits 1 if there was any.
"""

import pathlib
import re
import sys


def shown(markdown, prefix):
    """The picture files a Markdown text shows, relative to docs/images."""
    return {m.group(1) for m in re.finditer(r"!\[[^\]]*\]\(" + re.escape(prefix) + r"([^)]+)\)",
                                            markdown)}


def main():
    root = pathlib.Path(sys.argv[1])
    guide = shown((root / "docs" / "user-guide.md").read_text(encoding="utf-8"), "images/")
    readme = shown((root / "README.md").read_text(encoding="utf-8"), "docs/images/")
    present = {p.name for p in (root / "docs" / "images").glob("*.png")}
    walk = (root / "tools" / "screenshots" / "make_screenshots.py").read_text(encoding="utf-8")
    taken = set(re.findall(r'self\.picture\("([^"]+)"', walk))
    faults = []
    for name in sorted((guide | readme) - present):
        faults.append(f"docs/images/{name} is shown but missing")
    for name in sorted((guide | readme) - taken):
        faults.append(f"{name} is shown but make_screenshots.py does not take it")
    for name in sorted(present - guide - readme):
        faults.append(f"docs/images/{name} is shown nowhere")
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"the guide shows {len(guide)} pictures, all made by make_screenshots.py")


if __name__ == "__main__":
    main()
