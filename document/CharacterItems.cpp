#include "CharacterItems.h"

#include "format/items/ItemLists.h"

#include <algorithm>

namespace CharacterItems {

namespace {

using namespace Format::Items;

const char *QualityName(const Format::Items::Item &item)
{
    if (item.IsSimple() || item.IsEar())
        return "simple";
    static const char *const names[] = {"", "low", "normal", "superior", "magic", "set", "rare", "unique", "crafted"};
    const auto q = std::size_t(item.quality);
    return q < std::size(names) ? names[q] : "";
}

const char *StorageName(Storage storage)
{
    static const char *const names[] = {"equipped", "inventory", "belt", "stash", "cube", "socketed", "cursor", "other"};
    return names[int(storage)];
}

const char *SlotName(quint32 slot)
{
    static const char *const names[] = {"",           "head",       "neck",      "torso",      "right hand",
                                        "left hand",  "right ring", "left ring", "belt",       "feet",
                                        "gloves",     "right hand (swap)",       "left hand (swap)"};
    return slot < std::size(names) ? names[slot] : "";
}

CharacterItems::Item ViewOf(const Format::Items::Item &item, const ItemRules &rules)
{
    CharacterItems::Item v;
    v.offset = item.offset;
    v.bits = item.bits;
    v.code = QString::fromLatin1(item.code);
    v.name = NameOf(item, rules);
    v.quality = QLatin1String(QualityName(item));
    const Storage storage = item.StorageOf();
    v.storage = QLatin1String(StorageName(storage));
    v.level = int(item.level);
    v.x = int(item.x);
    v.y = int(item.y);
    if (storage == Storage::Equipped) {
        v.slot = int(item.slot);
        v.slotName = QLatin1String(SlotName(item.slot));
    }
    if (const ItemType *type = TablesOf(rules).Item(item.code)) {
        v.width = type->width;
        v.height = type->height;
    }
    v.identified = item.IsIdentified();
    v.ethereal = item.IsEthereal();
    v.socketed = item.IsSocketed();
    v.personalized = item.IsPersonalized();
    v.runeword = item.IsRuneword();
    v.hasDefense = item.hasDefense;
    v.defense = item.defense;
    v.hasDurability = item.hasDurability;
    v.durability = int(item.durability);
    v.maxDurability = int(item.maxDurability);
    v.hasQuantity = item.hasQuantity;
    v.quantity = int(item.quantity);
    v.sockets = int(item.sockets);
    auto add = [&](const PropertyList &list) {
        for (const Format::Items::Property &p : list)
            v.properties.push_back({p.id, p.param, p.value, TextOf(p, rules)});
    };
    add(item.properties);
    for (const PropertyList &list : item.setProperties)
        add(list);
    add(item.runewordProperties);
    for (const Format::Items::Item &child : item.children)
        v.children.push_back(ViewOf(child, rules));
    return v;
}

} // namespace

Items ReadItems(const QByteArray &image, const Format::Items::ItemTables *tables)
{
    const ItemLists read = ReadItemLists(image, tables);
    Items items;
    items.note = read.note;
    if (!read.rules)
        return items;
    items.release = TablesOf(*read.rules).Name();
    for (const ItemList &list : read.lists) {
        List v;
        v.list = ListName(list.kind);
        v.count = list.count;
        v.decoded = list.Decoded();
        v.note = list.note;
        for (const Format::Items::Item &item : list.items)
            v.items.push_back(ViewOf(item, *read.rules));
        items.lists.push_back(std::move(v));
    }
    if (read.note.isEmpty() && read.end < image.size()) {
        items.trailingOffset = read.end;
        items.trailingBytes = int(image.size()) - read.end;
    }
    return items;
}

QString TrailingText(const Items &items)
{
    if (items.trailingBytes == 0)
        return {};
    return QStringLiteral("%1 %2 after the lists, from byte %3, that no item list explains: kept as %4")
        .arg(items.trailingBytes)
        .arg(items.trailingBytes == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"))
        .arg(items.trailingOffset)
        .arg(items.trailingBytes == 1 ? QStringLiteral("it is") : QStringLiteral("they are"));
}

Place PlaceOf(const Item &item)
{
    Place place{item.storage, {}, item.x, item.y};
    if (item.storage == QLatin1String("equipped"))
        place.slot = item.slotName.isEmpty() ? QStringLiteral("slot %1").arg(item.slot) : item.slotName;
    else if (item.storage == QLatin1String("belt"))
        place = {item.storage, {}, item.x % 4, item.x / 4};
    return place;
}

Shown ShownOf(const Item &item)
{
    Shown shown;
    shown.quality = item.quality != QLatin1String("simple");
    shown.defense = item.hasDefense;
    shown.durability = item.hasDurability && item.maxDurability > 0;
    shown.quantity = item.hasQuantity;
    shown.sockets = item.socketed;
    return shown;
}

Grids GridsOf(quint32 fileVersion, bool expansion, const List &list)
{
    Grids grids;
    grids.inventory = {10, 4};
    grids.cube = {3, 4};
    grids.stash = fileVersion >= 97 ? Grid{10, 10} : expansion ? Grid{6, 8} : Grid{6, 4};
    int rows = 1;
    for (const Item &item : list.items) {
        if (item.storage == QLatin1String("equipped") && item.slot == 8 && BeltRows(item.code) > 0)
            rows = BeltRows(item.code);
    }
    grids.belt = {4, rows};
    return grids;
}

int BeltRows(const QString &code)
{
    static const char *const kTwo[] = {"lbl", "vbl"};
    static const char *const kThree[] = {"mbl", "tbl"};
    static const char *const kFour[] = {"hbl", "zlb", "zvb", "zmb", "ztb", "zhb", "ulc", "uvc", "umc", "utc", "uhc"};
    const auto among = [&](const auto &codes) {
        return std::any_of(std::begin(codes), std::end(codes), [&](const char *c) { return code == QLatin1String(c); });
    };
    return among(kTwo) ? 2 : among(kThree) ? 3 : among(kFour) ? 4 : 0;
}

} // namespace CharacterItems
