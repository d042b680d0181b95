#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// The items of a character file as typed values: what the game stored for
// each item, every field kept as read so that an item can be written back to
// exactly the bits it came from. Names and sizes come from the game's tables
// (ItemTables.h); nothing here changes a file.
namespace Format::Items {

// Where an item is: the location field, and for stored items the panel.
enum class Storage { Equipped, Inventory, Belt, Stash, Cube, Socketed, Cursor, Other };

enum class Quality { None = 0, Low = 1, Normal = 2, Superior = 3, Magic = 4, Set = 5, Rare = 6, Unique = 7, Crafted = 8 };

// The 32 flag bits every item starts with (the bits of the flags word).
namespace Flags {
inline constexpr int Identified = 4;
inline constexpr int Socketed = 11;
inline constexpr int Ear = 16;
inline constexpr int Simple = 21;
inline constexpr int Ethereal = 22;
inline constexpr int Personalized = 24;
inline constexpr int Runeword = 26;
} // namespace Flags

// One property: a stat id, its parameter (a skill, a charge's level...) and
// its value with the table's "save add" taken off. A stat stored right after
// the one before it, with no id of its own (the maximum after a minimum), is
// a property of its own here too.
struct Property
{
    int id = 0;
    quint32 param = 0;
    qint64 value = 0;
};
using PropertyList = std::vector<Property>;

struct Item
{
    // Where it stood in the file: the first byte, and the bits up to the
    // padding that ends it on a byte.
    int offset = 0;
    int bits = 0;
    int bytes = 0;

    quint32 flags = 0;
    quint32 itemVersion = 0;
    quint32 location = 0;  // 0 stored, 1 equipped, 2 belt, 4 cursor, 6 socketed
    quint32 slot = 0;      // body slot of an equipped item
    quint32 x = 0;
    quint32 y = 0;
    quint32 panel = 0;     // 1 inventory, 4 cube, 5 stash
    QByteArray code;       // without the padding spaces; empty for an ear
    quint32 childCount = 0;  // items socketed into this one, which follow it
    quint32 questDifficulty = 0;

    // Ears
    quint32 earClass = 0;
    quint32 earLevel = 0;
    QByteArray earName;

    // Extended items
    quint32 uniqueId = 0;
    quint32 level = 0;
    Quality quality = Quality::None;
    bool hasPicture = false;
    quint32 picture = 0;
    bool classSpecific = false;
    quint32 autoAffix = 0;
    quint32 qualityValue = 0;  // low and superior: the kind; set and unique: the id
    quint32 prefix = 0;        // magic
    quint32 suffix = 0;
    quint32 rareName1 = 0;     // rare and crafted
    quint32 rareName2 = 0;
    quint32 rareAffixes[6] = {};  // present when bit i of rareAffixMask is set
    quint32 rareAffixMask = 0;
    quint32 runewordId = 0;
    quint32 runewordExtra = 0;
    QByteArray personalName;
    quint32 tomeBits = 0;
    quint32 realm = 0;
    bool hasDefense = false;
    qint64 defense = 0;
    bool hasDurability = false;
    quint32 maxDurability = 0;
    quint32 durability = 0;
    quint32 extraBit = 0;      // version 105: set on stackable items
    bool hasQuantity = false;
    quint32 quantity = 0;
    quint32 sockets = 0;
    quint32 setMask = 0;
    PropertyList properties;
    std::vector<PropertyList> setProperties;  // one per bit of setMask, lowest first
    PropertyList runewordProperties;
    bool hasStashCount = false;  // version 105: the trailer bit, and 8 bits when set
    quint32 stashCount = 0;
    quint32 padding = 0;       // the bits after the item up to its last byte

    std::vector<Item> children;  // the items socketed into this one, in file order

    [[nodiscard]] bool Flag(int bit) const { return (flags >> bit) & 1u; }
    [[nodiscard]] bool IsEar() const { return Flag(Flags::Ear); }
    [[nodiscard]] bool IsSimple() const { return Flag(Flags::Simple); }
    [[nodiscard]] bool IsIdentified() const { return Flag(Flags::Identified); }
    [[nodiscard]] bool IsEthereal() const { return Flag(Flags::Ethereal); }
    [[nodiscard]] bool IsSocketed() const { return Flag(Flags::Socketed); }
    [[nodiscard]] bool IsPersonalized() const { return Flag(Flags::Personalized); }
    [[nodiscard]] bool IsRuneword() const { return Flag(Flags::Runeword); }
    [[nodiscard]] Storage StorageOf() const;
};

} // namespace Format::Items
