#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

// The game's tables an item decoder and the item names need, one set per game
// release: for each item code its kind, size and the flags that decide which
// fields follow; for each stat its saved widths and its description; the names
// a save file refers to by number. Generated from the game's own tables by
// scripts/gamedata/generate.py and built into the program (data/gamedata/).
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
    bool stashStackable = false;
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

    // Null for a code or stat id the release does not have.
    [[nodiscard]] const ItemType *Item(QByteArrayView code) const;
    [[nodiscard]] const StatRow *Stat(int id) const;
    // Empty for an id the release does not name.
    [[nodiscard]] QString Name(NameKind kind, int id) const;

    [[nodiscard]] int ItemCount() const { return int(m_items.size()); }
    [[nodiscard]] int StatCount() const { return int(m_stats.size()); }

private:
    explicit ItemTables(Release release);

    QHash<QByteArray, ItemType> m_items;
    QHash<int, StatRow> m_stats;
    QHash<quint32, QString> m_names;  // kind << 16 | id
};

} // namespace Format::Items
