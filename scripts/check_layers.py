#!/usr/bin/env python3
"""Checks that the program's folders depend downwards only.

Each folder may include headers of the folders below it in LAYERS (and of
resources/, which holds only ids); a header of a folder above it, or of a
folder not listed, is a failure. Prints every offending include and exits
non-zero when there is one.

Usage: check_layers.py <repository root>
"""
import pathlib
import re
import sys

# Bottom first.
LAYERS = ["support", "model", "playback", "settings", "storage", "dialogs", "shell"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/')


def main():
    root = pathlib.Path(sys.argv[1])
    failures = []
    for level, folder in enumerate(LAYERS):
        allowed = set(LAYERS[: level + 1]) | {"resources"}
        for source in sorted((root / folder).glob("*.[ch]*")):
            for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) not in allowed:
                    failures.append(f"{source.relative_to(root)}:{number}: {folder}/ includes {match.group(1)}/")
    for failure in failures:
        print(failure)
    print(f"{len(failures)} upward includes" if failures else "every folder depends downwards only")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
