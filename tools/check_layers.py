#!/usr/bin/env python3
"""Fails when a source folder includes from a folder above it in the layer
order, or from a folder outside the order. Reads the #include lines only."""
import pathlib
import re
import sys

# Lowest first; a folder may include only from its own layer and those below.
# Folders in one layer (chess and settings) know nothing of each other.
LAYERS = [["platform"], ["base"], ["chess", "settings"], ["engine"], ["search"], ["uci"], ["core"]]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/[^"]+"', re.M)


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent
    level = {folder: i for i, layer in enumerate(LAYERS) for folder in layer}
    faults = []
    for folder, own in level.items():
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                if target == folder:
                    continue
                if target not in level:
                    faults.append(f"{path.relative_to(root)}: includes from {target}/, outside the layers")
                elif level[target] >= own:
                    faults.append(f"{path.relative_to(root)}: {folder}/ includes from {target}/")
    for fault in faults:
        print(fault)
    if faults:
        print("layer order, lowest first: " + " -> ".join(", ".join(l) for l in LAYERS))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
