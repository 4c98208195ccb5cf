#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own, or
when a layer below the windows includes Qt: every arrow points down."""
import pathlib
import re
import sys

SRC = pathlib.Path(sys.argv[1])

# Each folder and the folders it may include from (besides its own).
BELOW = {
    "generation": set(),
    "sheet": {"generation"},
    "files": {"generation"},
    "formats/text": {"sheet", "files", "generation"},
    "formats/xlsx": {"sheet", "files", "generation"},
    "formats/pdf": {"sheet", "files", "generation"},
    "sets": {"formats/text", "formats/xlsx", "formats/pdf", "sheet", "files", "generation"},
    "cli": {"sets", "formats/text", "formats/xlsx", "formats/pdf", "sheet", "files", "generation"},
    "widgets": set(),
    "main_window": {"widgets", "sets", "formats/text", "formats/xlsx", "formats/pdf", "sheet", "files", "generation"},
    "about": {"widgets"},
    "app": {"about", "main_window", "widgets", "cli", "sets", "files", "generation"},
}
WINDOWS = {"widgets", "main_window", "about", "app"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)

faults = []
for source in sorted(SRC.rglob("*")):
    if source.suffix not in (".h", ".cpp"):
        continue
    relative = source.relative_to(SRC).parent.as_posix()
    # The kinds of problems are folders of the generation layer.
    if relative.startswith("generation/"):
        relative = "generation"
    layer = next((name for name in sorted(BELOW, key=len, reverse=True) if relative == name), None)
    if layer is None:
        faults.append(f"{source}: in no known layer")
        continue
    for kind, header in INCLUDE.findall(source.read_text(encoding="utf-8")):
        if kind == "<":
            if layer not in WINDOWS and re.match(r"Q[A-Z]|Qt", header):
                faults.append(f"{source}: includes Qt's <{header}> below the windows")
            continue
        folder = pathlib.PurePosixPath(header).parent.as_posix()
        if folder.startswith("generation/"):
            folder = "generation"
        if folder in (".", "") or folder == layer or folder in BELOW[layer]:
            continue
        faults.append(f"{source}: the {layer} layer includes \"{header}\" from above it")

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
