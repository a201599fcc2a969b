#!/usr/bin/env python3
"""Fails when a source file includes a header of a room above its own.

The rooms, lowest first; each may include itself and the rooms below it.
The command-line companion, the tests and the benchmarks sit on top and may
include any room. Usage: check-includes.py [SOURCE_ROOT]
"""

import pathlib
import re
import sys

ROOMS = ["common", "platform", "analysis", "audio", "catalogue", "player", "reports",
         "shell", "application", "dialogs", "mainwindow"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/[^"]*"', re.MULTILINE)


def upward_includes(root):
    rank = {room: level for level, room in enumerate(ROOMS)}
    for room in ROOMS:
        for path in sorted((root / room).glob("*")):
            if path.suffix not in (".h", ".cpp", ".in"):
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                target = match.group(1)
                if rank.get(target, -1) > rank[room]:
                    line = text.count("\n", 0, match.start()) + 1
                    yield f"{path.relative_to(root)}:{line}: includes {match.group(0).strip()}, a room above {room}/"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    missing = [room for room in ROOMS if not (root / room).is_dir()]
    if missing:
        print(f"no room folders {', '.join(missing)} under {root}", file=sys.stderr)
        return 2
    faults = list(upward_includes(root))
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
