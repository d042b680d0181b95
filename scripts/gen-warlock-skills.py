#!/usr/bin/env python3
"""Writes document/WarlockSkills.inc, the names of the Warlock's 30 skills.

Run by a maintainer when the game's tables change, never by the build:

    python3 scripts/gen-warlock-skills.py [path/to/gamedata/3.x/skills.json]

The default source is ../shared/gamedata/3.x/skills.json beside the project
(the game's skills table of "Reign of the Warlock", converted to JSON by the
community data set blizzhackers/d2data). The rows whose charclass is "war"
are taken in the table's order, which is the order of the 30 skill bytes of a
Warlock's file (ids 373 to 402, each one after the last). The name is the
row's "skill" column: the game shows a skill under the string its skilldesc
row names, and the English strings copied with this table (the remastered
2.4 file) hold none for the Warlock, so the table's own name is the one
there is. Commit the written file; the program never reads the tables.
"""

import json
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_SOURCE = ROOT.parent / "shared" / "gamedata" / "3.x" / "skills.json"
TARGET = ROOT / "document" / "WarlockSkills.inc"
FIRST_ID, COUNT = 373, 30


def fail(message):
    sys.exit(f"gen-warlock-skills: {message}")


def main():
    source = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_SOURCE
    try:
        table = json.loads(source.read_text(encoding="utf-8"))
    except (OSError, ValueError) as error:
        fail(f"{source}: {error}")
    rows = [row for row in table.values() if row.get("charclass") == "war"]
    rows.sort(key=lambda row: row["lineNumber"])
    ids = [row.get("*Id", row["lineNumber"]) for row in rows]
    if ids != list(range(FIRST_ID, FIRST_ID + COUNT)):
        fail(f"{source}: the Warlock's skills are ids {ids}, not {FIRST_ID} to {FIRST_ID + COUNT - 1} in order")
    names = [row["skill"] for row in rows]
    for name in names:
        # The names are kept as Latin-1 C strings.
        if not name or not all(" " <= c <= "~" for c in name) or '"' in name or "\\" in name:
            fail(f"{source}: the skill name {name!r} is not plain printable text")
    lines = [
        "// The Warlock's 30 skills, in the order of the skill bytes of its file (ids 373 to 402).",
        "// Written by scripts/gen-warlock-skills.py from the game's skills table of",
        "// \"Reign of the Warlock\" (3.x/skills.json, column \"skill\"); do not edit, run it again.",
    ]
    lines += [f'"{name}",' for name in names]
    TARGET.write_text("\n".join(lines) + "\n", encoding="ascii")
    print(f"{TARGET.relative_to(ROOT)}: {len(names)} names, {names[0]} to {names[-1]}")


if __name__ == "__main__":
    main()
