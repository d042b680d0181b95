#pragma once

#include "ItemTables.h"
#include "Items.h"

#include <QByteArray>
#include <QString>

// One item read from its bits and written back to them, by the rules of the
// file version's item family: a row of a small table, the way the header's
// layout is a row per version family. Reading and writing walk the same list
// of fields, so whatever one reads the other writes.
namespace Format::Items {

enum class CodeRule {
    Ascii,   // four 8-bit characters (versions 87 to 96)
    Huffman, // four Huffman-coded characters (from version 97 on)
};

// Which widths the tables give a stat of an item in this family.
enum class StatWidths {
    Classic109, // the columns kept for items saved by 1.07 to 1.09, no parameter
    Current,    // save bits, save add and save parameter bits
};

struct ItemRules
{
    const char *versions;
    Release release;          // the game tables that give codes, widths and names
    bool itemMarker;          // each item starts with "JM"
    int versionBits;          // the item version field after the flags
    CodeRule code;
    StatWidths widths;
    int nameCharBits;         // a personal name's characters
    bool questDifficulty;     // quest items record their difficulty before the child count
    bool extraBit;            // one bit after the durability of every extended item
    bool stashCount;          // a bit, and 8 bits when it is set, at the end of every item
    // Tables given in place of the release's (a folder's, ItemTables::FromFolder).
    const ItemTables *tables = nullptr;
};

// The tables items of these rules are read with: those given, else the release's.
[[nodiscard]] inline const ItemTables &TablesOf(const ItemRules &rules)
{
    return rules.tables ? *rules.tables : ItemTables::Of(rules.release);
}

// Null for a version whose items are not read (71, and every unknown one).
[[nodiscard]] const ItemRules *ItemRulesOf(quint32 version);

// Reads the item that starts at a byte, without the items socketed into it.
// False with the reason when it cannot: the file ends, a code or a stat the
// tables do not know, a field this program does not read. Never throws.
[[nodiscard]] bool DecodeItem(const QByteArray &image, int offset, const ItemRules &rules, Item &item,
                              QString &reason);

// The bytes of an item alone, as DecodeItem read them.
[[nodiscard]] QByteArray EncodeItem(const Item &item, const ItemRules &rules);

// The item's name as a player reads it: the unique, set or runeword name, the
// magic affixes around the base name, the two rare names, an ear's owner.
[[nodiscard]] QString NameOf(const Item &item, const ItemRules &rules);

// A property as a line of the item's description ("+15 to Strength"); the
// stat's name when its description is not one this program writes.
[[nodiscard]] QString TextOf(const Property &property, const ItemRules &rules);

} // namespace Format::Items
