#!/usr/bin/env python3
"""Prints the folder include graph of the product code and flags arrows that point up.

Every `#include "folder/..."` line of app/, ui/*, clipboard/, store/ counts as an arrow from
the including file's folder to the included file's folder. A folder may include only folders
of a lower level; an arrow to a higher level, or to another folder of the same level, is
flagged. The options pages may include the settings header they edit (app/Settings.h).
Exit status 1 when anything is flagged.
"""
import collections
import pathlib
import re
import sys

# Higher levels use lower ones. res/ holds the ids of the program's own windows, menus and
# bitmaps: the windows that are the program's may use them, the reusable layers may not.
LEVELS = {
    "app": 7,
    "ui/options": 6,
    "ui/selection": 5,
    "res": 4,
    "ui/menu": 3,
    "ui/controls": 3,
    "ui/framework": 2,
    "clipboard": 1,
    "store": 0,
}
ALLOWED = {("ui/options", "app/Settings.h")}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    parts = pathlib.PurePosixPath(path).parts
    if parts[0] == "ui" and len(parts) > 2:
        return "ui/" + parts[1]
    return parts[0]


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    arrows = collections.defaultdict(list)
    for top in ("app", "ui", "clipboard", "store"):
        for source in sorted((root / top).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            relative = source.relative_to(root).as_posix()
            for line in source.read_text(errors="replace").splitlines():
                match = INCLUDE.match(line)
                if match and (root / match.group(1)).exists():
                    arrows[(folder_of(relative), folder_of(match.group(1)))].append((relative, match.group(1)))

    flagged = 0
    for (source, target), uses in sorted(arrows.items(), key=lambda item: (-LEVELS[item[0][0]], item[0][1])):
        if source == target:
            continue
        wrong = [use for use in uses if (source, use[1]) not in ALLOWED]
        upward = LEVELS[target] > LEVELS[source] or LEVELS[target] == LEVELS[source]
        mark = "  UPWARD" if upward and wrong else ""
        print(f"{source:13} -> {target:13} {len(uses):3} include(s){mark}")
        if upward and wrong:
            for file, header in wrong:
                print(f"    {file}: {header}")
            flagged += len(wrong)
    print(f"{flagged} upward include(s)")
    return 1 if flagged else 0


if __name__ == "__main__":
    sys.exit(main())
