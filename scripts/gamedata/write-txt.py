#!/usr/bin/env python3
"""Writes a folder of the game's tab-separated .txt tables from its JSON.

Run by a maintainer, never by the build: it writes the tables that
`brennicor-cli --game-data DIR` reads (as the game and mods keep them in
data/global/excel) from one release's JSON conversion (blizzhackers/d2data,
MIT), with the columns the program reads and every row in its place. The tests
read the folder it wrote, tests/data/gamedata-1.14d.

    scripts/gamedata/write-txt.py /path/to/gamedata/1.14d [output folder]

The conversion keys most tables by their line and leaves out blank rows and
the "Expansion" separator of the unique and set items; they are written back
where they stood, so the rows are counted as in the game's own files. The
runewords are the rows of the 2.4 table beside it, as generate.py takes them.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from generate import load  # noqa: E402

# file, JSON table, columns, how rows are placed: 'line' (lineNumber), 'key'
# (the key is the line), and what a missing line was: blank or the separator.
TABLES = [
    ('Armor.txt', 'armor', ['name', 'code', 'invwidth', 'invheight', 'type', 'namestr'], 'line', ''),
    ('Weapons.txt', 'weapons', ['name', 'type', 'code', 'namestr', 'invwidth', 'invheight', 'stackable',
                                'questdiffcheck'], 'line', ''),
    ('Misc.txt', 'misc', ['name', 'code', 'namestr', 'invwidth', 'invheight', 'stackable', 'questdiffcheck',
                          'type'], 'line', ''),
    ('ItemStatCost.txt', 'itemstatcost', ['Stat', 'ID', 'Encode', 'Save Bits', 'Save Add', 'Save Param Bits',
                                          '1.09-Save Bits', '1.09-Save Add', 'descfunc', 'descval',
                                          'descstrpos', 'descstrneg', 'descstr2'], 'line', ''),
    ('UniqueItems.txt', 'uniqueitems', ['index', 'enabled', 'code'], 'key', 'Expansion'),
    ('SetItems.txt', 'setitems', ['index', 'set', 'item'], 'line', 'Expansion'),
    ('MagicPrefix.txt', 'magicprefix', ['Name', 'spawnable', 'rare'], 'key', ''),
    ('MagicSuffix.txt', 'magicsuffix', ['Name', 'spawnable', 'rare'], 'key', ''),
    ('RarePrefix.txt', 'rareprefix', ['name'], 'key', ''),
    ('RareSuffix.txt', 'raresuffix', ['name'], 'key', ''),
    ('Skills.txt', 'skills', ['skill', 'Id', 'skilldesc'], 'line', ''),
]


def text(value):
    return '' if value is None else str(value)


def placed(table, how, missing, first_column):
    """The rows at their lines, each missing line blank or the separator."""
    if how == 'key':
        at = {int(k): row for k, row in table.items()}
    else:
        at = {row['lineNumber']: row for row in table.values()}
    return [at.get(line, {first_column: missing} if missing else {}) for line in range(max(at) + 1)]


def write(path, columns, rows):
    with open(path, 'w', encoding='utf-8', newline='\r\n') as f:
        f.write('\t'.join(columns) + '\n')
        for row in rows:
            f.write('\t'.join(text(row.get(c)) for c in columns) + '\n')


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    source = sys.argv[1]
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, '..', '..', 'tests', 'data', 'gamedata-1.14d')
    os.makedirs(out, exist_ok=True)
    for name, table, columns, how, missing in TABLES:
        write(os.path.join(out, name), columns, placed(load(source, table), how, missing, columns[0]))
    # The classic conversion keys the runewords by name and loses rows (and
    # pairs names with the wrong rows); their rows are 2.4's, named by the
    # release's English strings, as the game's own Runes.txt names them.
    strings = load(source, 'localestringsen')
    rows = placed(load(os.path.join(os.path.dirname(os.path.abspath(source)), '2.4'), 'runes'), 'line', '', 'Name')
    write(os.path.join(out, 'Runes.txt'), ['Name', 'Rune Name'],
          [{'Name': r.get('Name'), 'Rune Name': strings.get(r.get('Name'), r.get('*Rune Name'))} for r in rows])


if __name__ == '__main__':
    main()
