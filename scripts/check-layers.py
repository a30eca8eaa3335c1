#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a folder it does not rest on.

Each folder of src/ sees its own headers and those of the folders below it,
as the table says: a folder names the folders it rests on directly, and sees
everything those see. An include that goes up or sideways, or a folder the
table does not know, is reported with its file and line, and the status is 1.
The build runs this before it compiles anything (src/CMakeLists.txt).

    scripts/check-layers.py [SRC]        SRC defaults to the checkout's src/
"""

import pathlib
import re
import sys

# folder: the folders it rests on directly
LAYERS = {
    "platform": [],
    "platform/metabase": ["platform"],
    "platform/dryrun": ["platform/metabase"],
    "platform/image": ["platform/metabase"],
    "platform/image/metabase": ["platform/image"],
    "platform/odbc": ["platform"],
    "platform/windows": ["platform/metabase"],
    "settings": ["platform"],
    "runcontext": ["settings"],
    "database": ["runcontext"],
    "webserver": ["runcontext"],
    "run": ["database", "webserver"],
    "app/wiring": ["run"],
    "app/preview": ["app/wiring", "platform/dryrun"],
    "app/window": ["app/preview"],
    "app/answers": ["app/window"],
    "app/tools": ["app/answers"],
    "app/unattended": ["app/tools"],
    # the views: Qt's, and the Windows program's own controls
    "gui": ["app/unattended"],
    "gui/generator": ["app/window"],
    "winui": ["app/unattended"],
    # program start picks a backend and a view
    "main": ["gui", "winui", "platform/image", "platform/odbc", "platform/windows"],
    "main/windows": ["main"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
# Headers the build generates beside the including file's objects (uic).
GENERATED = re.compile(r"^ui_\w+\.h$")


def visible(folder, seen=None):
    """The folder and every folder below it."""
    seen = set() if seen is None else seen
    if folder not in seen:
        seen.add(folder)
        for lower in LAYERS[folder]:
            visible(lower, seen)
    return seen


def check(src):
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        relative = path.relative_to(src)
        folder = relative.parent.as_posix()
        if folder not in LAYERS:
            faults.append(f"src/{relative}: folder {folder} is not in the layer table of scripts/check-layers.py")
            continue
        sees = visible(folder)
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(1)
            if "/" not in header:
                if not (path.parent / header).is_file() and not GENERATED.match(header):
                    faults.append(f"src/{relative}:{number}: {header} is not beside it")
                continue
            target = header.rsplit("/", 1)[0]
            if target not in sees:
                below = ", ".join(sorted(sees - {folder})) or "nothing"
                faults.append(f"src/{relative}:{number}: {folder} may not include {header} "
                              f"(it rests on {below})")
    return faults


def main():
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src"
    faults = check(src)
    for fault in faults:
        print(f"check-layers.py: {fault}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
