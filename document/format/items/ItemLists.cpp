#include "ItemLists.h"

#include "document/format/Parse.h"

#include <QtEndian>

namespace Format::Items {

namespace {

constexpr int kCorpseDataLength = 12;

bool MarkerAt(const QByteArray &image, int offset, const char *marker)
{
    return offset >= 0 && offset + 2 <= image.size() && image[offset] == marker[0] && image[offset + 1] == marker[1];
}

int U16At(const QByteArray &image, int offset)
{
    return qFromLittleEndian<quint16>(image.constData() + offset);
}

void AppendU16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

class ListReader
{
public:
    ListReader(const QByteArray &image, const ItemRules &rules) : m_image(image), m_rules(rules) {}

    // Reads count items from list.itemsOffset on; false with list.note set
    // when one cannot be read.
    bool Items(ItemList &list)
    {
        int at = list.itemsOffset;
        for (int n = 0; n < list.count; ++n) {
            Item item;
            if (!Read(list, at, item))
                return false;
            at = item.offset + item.bytes;
            for (quint32 c = 0; c < item.childCount; ++c) {
                Item child;
                // An item is kept with all its children or not at all: the
                // list then ends before it, so that it writes back to its bytes.
                if (!Read(list, at, child)) {
                    list.end = item.offset;
                    return false;
                }
                at = child.offset + child.bytes;
                item.children.push_back(std::move(child));
            }
            list.items.push_back(std::move(item));
            list.end = at;
        }
        list.end = at;
        return true;
    }

private:
    bool Read(ItemList &list, int at, Item &item)
    {
        QString reason;
        if (DecodeItem(m_image, at, m_rules, item, reason))
            return true;
        list.note = QStringLiteral("%1 list, item at byte %2: %3").arg(ListName(list.kind)).arg(at).arg(reason);
        list.end = at;
        return false;
    }

    const QByteArray &m_image;
    const ItemRules &m_rules;
};

// A list that starts with "JM" and its count.
bool CountedList(const QByteArray &image, int at, ListKind kind, ItemList &list, QString &note)
{
    list.kind = kind;
    list.offset = at;
    if (!MarkerAt(image, at, "JM") || at + 4 > image.size()) {
        note = QStringLiteral("%1 list: no \"JM\" and count at byte %2").arg(ListName(kind)).arg(at);
        return false;
    }
    list.count = U16At(image, at + 2);
    list.itemsOffset = at + 4;
    list.end = list.itemsOffset;
    return true;
}

} // namespace

QString ListName(ListKind kind)
{
    switch (kind) {
    case ListKind::Character: return QStringLiteral("character");
    case ListKind::Corpse: return QStringLiteral("corpse");
    case ListKind::Mercenary: return QStringLiteral("mercenary");
    case ListKind::Golem: return QStringLiteral("golem");
    }
    return {};
}

const ItemList *ItemLists::Find(ListKind kind) const
{
    for (const auto &list : lists)
        if (list.kind == kind)
            return &list;
    return nullptr;
}

ItemLists ReadItemLists(const QByteArray &image, quint32 version, int itemsOffset)
{
    if (const ItemRules *rules = ItemRulesOf(version))
        return ReadItemLists(image, itemsOffset, *rules);
    ItemLists result;
    result.end = itemsOffset;
    result.note = QStringLiteral("items of version %1 are not read").arg(version);
    return result;
}

ItemLists ReadItemLists(const QByteArray &image, int itemsOffset, const ItemRules &rules)
{
    ItemLists result;
    result.rules = rules;
    result.end = itemsOffset;
    ListReader reader(image, *result.rules);
    // Each step adds its list; a list not read to its end stops the walk,
    // since where the next one starts is not known.
    auto add = [&](ItemList &&list) {
        result.lists.push_back(std::move(list));
        const ItemList &added = result.lists.back();
        result.end = added.end;
        if (!added.note.isEmpty())
            result.note = added.note;
        return added.note.isEmpty();
    };
    // A list framed by "JM" and its count, at byte at.
    auto addCounted = [&](int at, ListKind kind) {
        ItemList list;
        if (!CountedList(image, at, kind, list, result.note))
            return false;
        reader.Items(list);
        return add(std::move(list));
    };

    if (!addCounted(itemsOffset, ListKind::Character))
        return result;

    // The corpse list: "JM", the number of corpses, then for each its 12
    // bytes and a list of its own.
    const int corpseAt = result.end;
    if (!MarkerAt(image, corpseAt, "JM") || corpseAt + 4 > image.size()) {
        result.note = QStringLiteral("corpse list: no \"JM\" and count at byte %1").arg(corpseAt);
        return result;
    }
    const int corpses = U16At(image, corpseAt + 2);
    if (corpses == 0) {
        ItemList none;
        none.kind = ListKind::Corpse;
        none.offset = corpseAt;
        none.itemsOffset = none.end = corpseAt + 4;
        none.corpses = 0;
        add(std::move(none));
    }
    for (int c = 0; c < corpses; ++c) {
        const int at = result.end;
        const int dataAt = at + (c == 0 ? 4 : 0);
        ItemList corpse;
        QString note;
        if (dataAt + kCorpseDataLength > image.size() ||
            !CountedList(image, dataAt + kCorpseDataLength, ListKind::Corpse, corpse, note)) {
            result.note = note.isEmpty() ? QStringLiteral("corpse list: the file ends at byte %1").arg(dataAt) : note;
            return result;
        }
        corpse.offset = at;
        corpse.corpses = c == 0 ? corpses : 0;
        corpse.corpseData = image.mid(dataAt, kCorpseDataLength);
        reader.Items(corpse);
        if (!add(std::move(corpse)))
            return result;
    }

    // Expansion characters: "jf", the mercenary's list once one was hired, "kf".
    if (!MarkerAt(image, result.end, "jf"))
        return result;
    int at = result.end + 2;
    if (MarkerAt(image, at, "JM")) {
        if (!addCounted(at, ListKind::Mercenary))
            return result;
        at = result.end;
    }
    if (!MarkerAt(image, at, "kf") || at + 3 > image.size()) {
        result.end = at;
        result.note = QStringLiteral("golem: no \"kf\" at byte %1").arg(at);
        return result;
    }
    ItemList golem;
    golem.kind = ListKind::Golem;
    golem.offset = at;
    golem.count = quint8(image[at + 2]);
    golem.itemsOffset = golem.end = at + 3;
    if (golem.count > 1)
        golem.note = QStringLiteral("golem list: a flag of %1 at byte %2, not 0 or 1").arg(golem.count).arg(at + 2);
    else
        reader.Items(golem);
    add(std::move(golem));
    return result;
}

ItemLists ReadItemLists(const QByteArray &image, const ItemTables *tables)
{
    ItemLists result;
    const quint32 version = image.size() >= 8 ? qFromLittleEndian<quint32>(image.constData() + 4) : 0;
    if (!ItemRulesOf(version)) {
        result.note = QStringLiteral("items of version %1 are not read").arg(version);
        return result;
    }
    const ParseResult parsed = Parse(image);
    if (!parsed.Opened()) {
        result.note = QStringLiteral("the items are not read: %1").arg(parsed.reason);
        return result;
    }
    ItemRules rules = *ItemRulesOf(version);
    if (tables)
        rules.tables = tables;
    return ReadItemLists(image, parsed.character.sections.items, rules);
}

QByteArray EncodeList(const ItemList &list, const ItemRules &rules)
{
    QByteArray out;
    if (list.kind == ListKind::Golem) {
        out.append("kf");
        out.append(char(list.count));
    } else {
        // The corpses' header travels with the first corpse (or stands alone
        // when there is none); each corpse's 12 bytes come before its list.
        if (list.kind == ListKind::Corpse) {
            if (list.corpses > 0 || list.corpseData.isEmpty()) {
                out.append("JM");
                AppendU16(out, list.corpses);
            }
            if (list.corpseData.isEmpty())
                return out;
            out.append(list.corpseData);
        }
        out.append("JM");
        AppendU16(out, list.count);
    }
    for (const Item &item : list.items) {
        out.append(EncodeItem(item, rules));
        for (const Item &child : item.children)
            out.append(EncodeItem(child, rules));
    }
    return out;
}

} // namespace Format::Items
