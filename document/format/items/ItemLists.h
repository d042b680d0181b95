#pragma once

#include "ItemDecoder.h"
#include "Items.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The item lists of a character file, found one after the other from the
// first "JM" after the skills: the character's items, the corpse's, the
// mercenary's (after "jf", once one was ever hired) and the iron golem's
// (after "kf"). An item that cannot be read ends its list with a note; the
// items before it are kept and the lists after it are not looked for.
namespace Format::Items {

enum class ListKind { Character, Corpse, Mercenary, Golem };

struct ItemList
{
    ListKind kind = ListKind::Character;
    int offset = 0;     // its first byte: "JM" (the golem: "kf")
    int itemsOffset = 0;  // the first item's
    int end = 0;        // the first byte after it, as far as it was read
    int count = 0;      // the items the file says it holds, socketed ones not counted
    std::vector<Item> items;  // those read, each with its socketed children
    QString note;       // why the items after the last read are missing
    // The corpse list: the number of corpses, and the 12 bytes of the corpse
    // before its items, which no one reads.
    int corpses = 0;
    QByteArray corpseData;

    [[nodiscard]] int Decoded() const { return int(items.size()); }
    [[nodiscard]] bool Complete() const { return note.isEmpty() && Decoded() == count; }
};

struct ItemLists
{
    std::optional<ItemRules> rules;  // those the lists were read by; none when not read
    std::vector<ItemList> lists;
    QString note;  // the file's items are not read at all, or not to their end
    int end = 0;   // the first byte after the last list read; what follows is kept as it is

    [[nodiscard]] const ItemList *Find(ListKind kind) const;
};

// The lists of an image of a version whose items this program reads, from
// the first "JM" on (ParsedCharacter::sections.items). Never throws.
[[nodiscard]] ItemLists ReadItemLists(const QByteArray &image, quint32 version, int itemsOffset);

// The same by rules chosen by the caller (another release's tables, say).
[[nodiscard]] ItemLists ReadItemLists(const QByteArray &image, int itemsOffset, const ItemRules &rules);

// The same for a whole character file: its parse finds the first "JM". Given
// tables (a folder's) serve every version in place of its release's.
[[nodiscard]] ItemLists ReadItemLists(const QByteArray &image, const ItemTables *tables = nullptr);

// The bytes of a list from its first byte to its end, as read.
[[nodiscard]] QByteArray EncodeList(const ItemList &list, const ItemRules &rules);

[[nodiscard]] QString ListName(ListKind kind);

} // namespace Format::Items
