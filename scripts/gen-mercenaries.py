#!/usr/bin/env python3
"""Writes document/MercenaryTable.inc, the mercenary types and names.

Run by a maintainer when the game's tables change, never by the build:

    python3 scripts/gen-mercenaries.py [path/to/gamedata]

The default source is ../shared/gamedata beside the project: the game's
hireling table (hireling.json) and English strings of classic 1.14d (for
files of versions 92 and 96) and of the remastered game (2.4; the tables of
2.5 to 3.x hold the same rows), converted to JSON by the community data set
blizzhackers/d2data. A type in a save file is the table's "Id" (the 1.14d
copy leaves it out where it is 0). A type has a row per level bracket and
per edition ("Version" 0 classic, 100 expansion); each row gives the level
the bracket starts at and the experience rate. The names of a type are the
strings NameFirst to NameLast. Commit the written file; the program never
reads the tables.
"""

import json
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_SOURCE = ROOT.parent / "shared" / "gamedata"
TARGET = ROOT / "document" / "MercenaryTable.inc"
RELEASES = [("kClassicHirelings", "1.14d", "localestringsen.json"),
            ("kRemasteredHirelings", "2.4", "localestrings-eng.json")]


def fail(message):
    sys.exit(f"gen-mercenaries: {message}")


def load(path):
    try:
        return json.loads(path.read_text(encoding="utf-8"))
    except (OSError, ValueError) as error:
        fail(f"{path}: {error}")


def name_keys(first, last):
    """merc01..merc41: the keys between two string ids, same prefix."""
    a, b = re.fullmatch(r"(\D+)(\d+)", first), re.fullmatch(r"(\D+)(\d+)", last)
    if not a or not b or a.group(1) != b.group(1):
        fail(f"names {first}..{last} are not one run")
    width = len(a.group(2))
    return [f"{a.group(1)}{n:0{width}d}" for n in range(int(a.group(2)), int(b.group(2)) + 1)]


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main():
    source = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_SOURCE
    names, name_index, out = [], {}, []
    tables = []
    for variable, release, strings_file in RELEASES:
        strings = load(source / release / strings_file)
        table = load(source / release / "hireling.json")
        rows = [table[k] for k in sorted(table, key=int)]
        lines = []
        for row in rows:
            keys = tuple(name_keys(row["NameFirst"], row["NameLast"]))
            if keys not in name_index:
                missing = [k for k in keys if k not in strings]
                if missing:
                    fail(f"{release}: no English string for {missing[0]}")
                name_index[keys] = len(names)
                names.extend(strings[k] for k in keys)
            subtype = row.get("*SubType", row.get("SubType", ""))
            lines.append("    {%d, %s, %d, %d, %d, %d, %s, %s, %d, %d},"
                         % (row.get("Id") or 0, "true" if row.get("Version") == 100 else "false",
                            row["Act"], row["Difficulty"], row["Level"], row["Exp/Lvl"],
                            quoted(row["Hireling"]), quoted(subtype), name_index[keys], len(keys)))
        tables.append((variable, release, lines))
    out.append("// The game's hireling tables: a row per type, edition and level bracket, in the")
    out.append("// tables' order. Written by scripts/gen-mercenaries.py from hireling.json and the")
    out.append("// English strings of 1.14d and 2.4; do not edit, run it again.")
    out.append("inline constexpr const char *kMercenaryNames[] = {")
    out.extend("    %s," % quoted(n) for n in names)
    out.append("};")
    for variable, release, lines in tables:
        out.append("")
        out.append(f"// {release}: id, expansion, act, difficulty, first level, experience rate,")
        out.append("// hireling, kind, first name, names")
        out.append(f"inline constexpr HirelingRow {variable}[] = {{")
        out.extend(lines)
        out.append("};")
    TARGET.write_text("\n".join(out) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
