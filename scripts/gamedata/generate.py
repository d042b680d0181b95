#!/usr/bin/env python3
"""Writes the program's compact game tables, data/gamedata/<release>/*.tsv.

Run by a maintainer, never by the build: it reads the game's tables as JSON
(one folder per release, the blizzhackers/d2data conversion, MIT) and keeps
only the columns the item decoder and the item names read. The program embeds
what this writes; it never reads the JSON.

    scripts/gamedata/generate.py /path/to/gamedata [output folder]

Files written per release (tab-separated, one header line):
  items.tsv  code, kind (armor/weapon/misc), width, height, stackable,
             quest difficulty bits, stash-stackable, item type, English name
  stats.tsv  property id, stat name, save bits, save add, save param bits,
             the 1.09 save bits and add, encode, description function, value
             position (a remastered function 19 whose string has no place for
             the value: the classic game's), English description strings
             (positive, negative, second)
  names.tsv  kind (unique/set/runeword/prefix/suffix/rarename/skill),
             the id a save file holds, English name
"""
import json
import os
import re
import sys

RELEASES = ['1.14d', '2.4', '2.6', '3.x']


def load(folder, table):
    with open(os.path.join(folder, table + '.json'), encoding='utf-8') as f:
        return json.load(f)


def clean(text):
    # Tabs and line breaks would break a row; the game's colour codes mean nothing here.
    return re.sub(r'[\t\r\n]+', ' ', re.sub(r'ÿc.', '', str(text))).strip()


def by_line(table):
    return sorted(table.values(), key=lambda row: row.get('lineNumber', 0))


def saved_ids(table, key_is_line):
    """(id, row) pairs with the id a save file holds.

    The remastered tables carry it in '*ID'. The classic copies have none:
    their rows are keyed by line numbers that still count the 'Expansion'
    separator row, which the game skips; counting the rows present gives the
    id the game uses (key_is_line=False). Affix tables keep their blank rows
    in the count, so there the key is the id (key_is_line=True)."""
    if key_is_line:
        return [(int(key), row) for key, row in table.items()]
    rows = by_line(table) if any('lineNumber' in r for r in table.values()) else \
        [table[k] for k in sorted(table, key=int)]
    if any('*ID' in r for r in rows):
        return [(int(r.get('*ID', 0)), r) for r in rows]
    return list(enumerate(rows))


def skill_name(row, english):
    """The name a player reads: the skill's description key names it (a
    monster's "DiabWall" is the "firestorm" items cast); the skill column
    serves the rows without one."""
    desc = row.get('skilldesc')
    if not desc:
        return english(row['skill'])
    small = {'of', 'the', 'to', 'a'}
    words = [w if i and w in small else w[:1].upper() + w[1:] for i, w in enumerate(desc.split())]
    return english(desc, ' '.join(words))


# A runeword's number in a save counts the rows of its table from 27 on.
RUNEWORD_BASE = 27


def runewords(source, english):
    """(id, English name) of each runeword, its rows in the table's order.

    The classic conversion keys the table by the runeword's name and so loses
    the rows that share one (and their order); its rows are those of 2.4,
    whose numbers the classic game used too, named by the classic strings."""
    rows_from = source
    if not os.path.exists(os.path.join(source, 'localestrings-eng.json')):
        rows_from = os.path.join(os.path.dirname(source), '2.4')
    rows = by_line(load(rows_from, 'runes'))
    return [(RUNEWORD_BASE + row['lineNumber'], english(row['Name'], row.get('*Rune Name', '')))
            for row in rows if row.get('Name', '').startswith('Runeword')]


def write(path, header, rows):
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write('\t'.join(header) + '\n')
        for row in rows:
            f.write('\t'.join(str(c) for c in row) + '\n')


def generate(source, out):
    strings = load(source, 'localestringsen' if os.path.exists(
        os.path.join(source, 'localestringsen.json')) else 'localestrings-eng')

    def english(key, fallback=''):
        if key in (None, ''):
            return clean(fallback)
        return clean(strings.get(key, fallback or key))

    items = []
    for kind, table in (('armor', 'armor'), ('weapon', 'weapons'), ('misc', 'misc')):
        for row in load(source, table).values():
            code = row.get('code')
            if not code or code == 'xxx':
                continue
            items.append((code, kind, row.get('invwidth', 0), row.get('invheight', 0),
                          row.get('stackable', 0), row.get('questdiffcheck', 0),
                          row.get('AdvancedStashStackable', 0), row.get('type', ''),
                          english(row.get('namestr'), row.get('name', code))))
    items.sort()
    write(os.path.join(out, 'items.tsv'),
          ['code', 'kind', 'width', 'height', 'stackable', 'questdiff', 'stashstack', 'type', 'name'],
          items)

    # The remastered tables describe most stats with function 19, "the string
    # with the value put in", but their English strings carry no place for the
    # value; the classic game words the same stat with the same string by its
    # own function and value position, which is how the remastered game shows it.
    classic = {}
    classic_folder = os.path.join(os.path.dirname(source), '1.14d')
    if os.path.abspath(classic_folder) != os.path.abspath(source):
        classic = {row['Stat']: row for row in load(classic_folder, 'itemstatcost').values()}

    def description(row):
        func, val = row.get('descfunc', 0), row.get('descval', 0)
        if func == 19 and '%' not in english(row.get('descstrpos')) and row['Stat'] in classic:
            old = classic[row['Stat']]
            func, val = old.get('descfunc', 0), old.get('descval', 0)
        return func or 0, val or 0

    stats = []
    for row in load(source, 'itemstatcost').values():
        sid = row.get('*ID', row.get('ID', row.get('lineNumber')))
        stats.append((int(sid), row['Stat'], row.get('Save Bits', 0), row.get('Save Add', 0),
                      row.get('Save Param Bits', 0), row.get('1.09-Save Bits', 0),
                      row.get('1.09-Save Add', 0), row.get('Encode', 0), *description(row),
                      english(row.get('descstrpos')),
                      english(row.get('descstrneg')), english(row.get('descstr2'))))
    stats.sort()
    write(os.path.join(out, 'stats.tsv'),
          ['id', 'stat', 'bits', 'add', 'parambits', 'bits109', 'add109', 'encode', 'descfunc',
           'descval', 'descpos', 'descneg', 'desc2'], stats)

    names = []
    for sid, row in saved_ids(load(source, 'uniqueitems'), False):
        if row.get('code'):  # rows without a code are headings the game still counts
            names.append(('unique', sid, english(row['index'])))
    for sid, row in saved_ids(load(source, 'setitems'), False):
        if row.get('item'):
            names.append(('set', sid, english(row.get('index'))))
    for sid, name in runewords(source, english):
        names.append(('runeword', sid, name))
    for kind, table in (('prefix', 'magicprefix'), ('suffix', 'magicsuffix')):
        for sid, row in saved_ids(load(source, table), True):
            if row.get('Name'):
                names.append((kind, sid, english(row['Name'])))
    # Rare names are one list counted from 1: the suffixes ("Bite"), then the
    # prefixes ("Beast"); an item stores a prefix's number, then a suffix's.
    rare = [r for r in by_line(load(source, 'raresuffix'))] + [r for r in by_line(load(source, 'rareprefix'))]
    for number, row in enumerate(rare, start=1):
        if row.get('name'):
            names.append(('rarename', number, english(row['name'])))
    for row in load(source, 'skills').values():
        sid = row.get('*Id', row.get('Id', row.get('lineNumber')))
        if row.get('skill') and sid is not None:
            names.append(('skill', int(sid), skill_name(row, english)))
    names.sort(key=lambda n: (n[0], n[1]))
    write(os.path.join(out, 'names.tsv'), ['kind', 'id', 'name'], names)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, '..', '..', 'data', 'gamedata')
    for release in RELEASES:
        out = os.path.join(target, release)
        os.makedirs(out, exist_ok=True)
        generate(os.path.join(sys.argv[1], release), out)


if __name__ == '__main__':
    main()
