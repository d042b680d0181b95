#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>

// The game's tables an item decoder and the item names need, one set per game
// release: for each item code its kind, size and the flags that decide which
// fields follow; for each stat its saved widths and its description; the names
// a save file refers to by number. Generated from the game's own tables by
// scripts/gamedata/generate.py and built into the program (data/gamedata/),
// or read from a folder of the game's own tables (a mod's, a new patch's).
namespace Format::Items {

enum class Release { Classic114d, Remastered24, Remastered26, Remastered3 };

enum class ItemKind { Armor, Weapon, Misc };

struct ItemType
{
    ItemKind kind = ItemKind::Misc;
    int width = 0;
    int height = 0;
    bool stackable = false;
    bool questDifficulty = false;  // a quest item that records the difficulty it was found in
    QByteArray type;
    QString name;
};

struct StatRow
{
    QByteArray stat;
    int bits = 0;
    int add = 0;
    int paramBits = 0;
    int bits109 = 0;  // the widths of items saved by 1.07 to 1.09
    int add109 = 0;
    int encode = 0;
    int descFunc = 0;
    int descVal = 0;
    QString descPositive;
    QString descNegative;
    QString desc2;
};

// Rare names are one list: the suffixes counted from 1, then the prefixes.
enum class NameKind { Unique, Set, Runeword, Prefix, Suffix, RareName, Skill };

class ItemTables
{
public:
    // The tables of a release, read from the program's resources once.
    [[nodiscard]] static const ItemTables &Of(Release release);
    [[nodiscard]] static QString NameOf(Release release);

    // The tables of a folder of the game's tab-separated tables, as the game
    // and mods keep them in data/global/excel (Armor.txt, Weapons.txt,
    // Misc.txt, ItemStatCost.txt, UniqueItems.txt, SetItems.txt, Runes.txt,
    // MagicPrefix.txt, MagicSuffix.txt, RarePrefix.txt, RareSuffix.txt,
    // Skills.txt; names in any case), numbered as the game numbers their rows.
    // The names are the tables' own name columns; the stats have no
    // description wording, since the English strings live in the game's
    // string tables, which such a folder does not hold. Null, with why in
    // error (the file, and the column it lacks), when a table or a column the
    // decoder needs is missing: nothing is then read. Read once and held; the
    // pointer may be passed to every read of items (CharacterItems::ReadItems).
    [[nodiscard]] static std::shared_ptr<const ItemTables> FromFolder(const QString &dir, QString *error);

    // What the tables are, as messages name them: the release ("1.14d"), or
    // the folder they were read from.
    [[nodiscard]] const QString &Name() const { return m_name; }

    // Null for a code or stat id the release does not have.
    [[nodiscard]] const ItemType *Item(QByteArrayView code) const;
    [[nodiscard]] const StatRow *Stat(int id) const;
    // Empty for an id the release does not name.
    [[nodiscard]] QString Name(NameKind kind, int id) const;

    [[nodiscard]] int ItemCount() const { return int(m_items.size()); }
    [[nodiscard]] int StatCount() const { return int(m_stats.size()); }

private:
    ItemTables() = default;
    explicit ItemTables(Release release);
    void AddName(NameKind kind, int id, const QString &name);

    QString m_name;
    QHash<QByteArray, ItemType> m_items;
    QHash<int, StatRow> m_stats;
    QHash<quint32, QString> m_names;  // kind << 16 | id
};

} // namespace Format::Items
