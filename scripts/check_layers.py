#!/usr/bin/env python3
"""Checks that the program's folders depend downwards only.

Each folder may include headers of the folders below it in LAYERS (and of
resources/, which holds only ids); a header of a folder above it, or of a
folder not listed, is a failure. Prints every offending include and exits
non-zero when there is one.

Within the folders, the files of one name (x.h and x.cpp, or x.h and
x_*.cpp, which are one unit) may not depend on each other in a circle: a
unit that includes a header of another unit depends on it, and a circle of
such dependencies is reported with its units in order.

Usage: check_layers.py <repository root>
"""
import pathlib
import re
import sys

# Bottom first.
LAYERS = ["support", "model", "playback", "settings", "storage", "dialogs", "shell"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/')
HEADER = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+/[a-z_0-9]+)\.h"')


def unit_of(name, units):
    """The unit a source belongs to: its own name, or the longest unit name
    that prefixes it with an underscore (main_window_life -> main_window)."""
    if name in units:
        return name
    best = None
    for unit in units:
        if name.startswith(unit + "_") and (best is None or len(unit) > len(best)):
            best = unit
    return best or name


def circles(root):
    """Every circle of dependencies between units, each once."""
    headers = {f"{folder}/{h.stem}" for folder in LAYERS for h in (root / folder).glob("*.h")}
    edges = {}
    for folder in LAYERS:
        for source in sorted((root / folder).glob("*.[ch]*")):
            unit = unit_of(f"{folder}/{source.stem}", headers)
            for line in source.read_text(encoding="utf-8").splitlines():
                match = HEADER.match(line)
                if match and match.group(1) in headers and match.group(1) != unit:
                    edges.setdefault(unit, set()).add(match.group(1))
    found, seen = [], set()
    state = {}

    def visit(unit, path):
        state[unit] = 1
        path.append(unit)
        for other in sorted(edges.get(unit, ())):
            if state.get(other) == 1:
                circle = path[path.index(other):]
                key = frozenset(circle)
                if key not in seen:
                    seen.add(key)
                    found.append(circle + [other])
            elif other not in state:
                visit(other, path)
        path.pop()
        state[unit] = 2

    for unit in sorted(edges):
        if unit not in state:
            visit(unit, [])
    return found


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
    for circle in circles(root):
        failures.append("a circle of units: " + " -> ".join(circle))
    for failure in failures:
        print(failure)
    print(f"{len(failures)} upward includes or circles" if failures else "every folder depends downwards only, without circles")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
