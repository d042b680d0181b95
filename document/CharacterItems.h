#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace Format::Items {
class ItemTables;
}

// The items of a character as the front ends show them: each list with how
// many items it holds and how many were read, each item with its name, where
// it is, its numbers and the lines of its properties. Read from a file's
// bytes by the item decoders of document/format/items/; nothing here changes
// a file, and the save path writes the item bytes as they were read.
namespace CharacterItems {

struct Property
{
    int id = 0;
    quint32 param = 0;
    qint64 value = 0;
    QString text;  // as the item's description shows it
};

struct Item
{
    int offset = 0;  // its first byte in the file, and its length in bits
    int bits = 0;
    QString code;
    QString name;
    QString quality;  // "low" ... "crafted"; "simple" for an item with no quality
    QString storage;  // "equipped", "inventory", "belt", "stash", "cube", "socketed", "cursor", "other"
    int level = 0;
    int x = 0;
    int y = 0;
    int slot = 0;     // body slot of an equipped item, 0 otherwise
    QString slotName;
    int width = 0;
    int height = 0;
    bool identified = false;
    bool ethereal = false;
    bool socketed = false;
    bool personalized = false;
    bool runeword = false;
    bool hasDefense = false;
    qint64 defense = 0;
    bool hasDurability = false;
    int durability = 0;
    int maxDurability = 0;
    bool hasQuantity = false;
    int quantity = 0;
    int sockets = 0;
    std::vector<Property> properties;  // its own, its set bonuses', its runeword's
    std::vector<Item> children;        // the items socketed into it
};

struct List
{
    QString list;  // "character", "corpse", "mercenary", "golem"
    int count = 0;
    int decoded = 0;
    QString note;  // why fewer were read than the file holds
    std::vector<Item> items;
};

struct Items
{
    QString release;  // the game tables the file's version is read with, or the folder given
    std::vector<List> lists;
    QString note;     // the items are not read, or not to their end
    // The bytes after the last list that no list explains, when every list
    // was read to its end (the 57 after the corpse list of versions 87 and
    // 89, the 6 after the golem of a character made in "Reign of the
    // Warlock"): kept as they are, never read as items.
    int trailingOffset = 0;
    int trailingBytes = 0;
};

// Those bytes as a player is told of them; empty when there are none.
[[nodiscard]] QString TrailingText(const Items &items);

// Where an item is, as a player is told: an equipped item by its body slot
// (its name, or "slot N" for a number the game does not name), any other by
// its storage and its cell, column and row counted from 0. The belt's slot x
// is column x % 4 of row x / 4 (row 0 the one at hand); a held or otherwise
// placed item keeps the x and y the file gives it.
struct Place
{
    QString storage;
    QString slot;  // an equipped item's, empty otherwise
    int column = 0;
    int row = 0;
};
[[nodiscard]] Place PlaceOf(const Item &item);

// Which of an item's values a player is shown beside its name and place:
// its quality and item level unless it is a simple item, which has neither;
// its defense, quantity and sockets when it has them; its durability when it
// has one and can break (an item that cannot keeps a maximum of 0).
struct Shown
{
    bool quality = false;
    bool defense = false;
    bool durability = false;
    bool quantity = false;
    bool sockets = false;
};
[[nodiscard]] Shown ShownOf(const Item &item);

// The items of a character file's bytes, as far as they can be read, with the
// tables of its version's release or, when given, those tables (a folder's,
// Format::Items::ItemTables::FromFolder) for every version. Never throws.
[[nodiscard]] Items ReadItems(const QByteArray &image, const Format::Items::ItemTables *tables = nullptr);

// A grid of cells that items stand in, an item at its x and y over its width
// and height.
struct Grid
{
    int columns = 0;
    int rows = 0;
};

// The grids a list's items are stored in, as the game draws them. The
// inventory is 10 by 4 and the Horadric Cube 3 by 4 in every version; the
// stash is 6 by 4 for a classic character and 6 by 8 in the expansion up to
// version 96, one 10 by 10 grid from version 97 (the remastered game) on. The
// belt has 4 columns and the rows of the belt worn (PlaceOf gives each
// potion's cell); without a belt, one row.
struct Grids
{
    Grid inventory;
    Grid belt;
    Grid stash;
    Grid cube;
};
[[nodiscard]] Grids GridsOf(quint32 fileVersion, bool expansion, const List &list);

// The rows of potions a belt holds, by its code: two for a sash or a light
// belt, three for a belt or a heavy belt, four for a plated belt and every
// exceptional and elite one; 0 for a code that is no belt.
[[nodiscard]] int BeltRows(const QString &code);

} // namespace CharacterItems
