#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

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
    QString release;  // the game tables the file's version is read with
    std::vector<List> lists;
    QString note;     // the items are not read, or not to their end
};

// The items of a character file's bytes, as far as they can be read. Never throws.
[[nodiscard]] Items ReadItems(const QByteArray &image);

} // namespace CharacterItems
