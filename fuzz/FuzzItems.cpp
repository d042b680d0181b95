// The item decoder over arbitrary bytes, in two ways chosen by the first byte:
//
//   - below 0x80: a real character file of tests/data (the byte picks which)
//     with its item lists changed by the input: bytes 1-2 are where the change
//     starts, counted from the first "JM" (modulo the bytes from there to the
//     end), byte 3 how (0 the rest of the input is XORed onto the file there,
//     1 written over it, 2 inserted there, 3 written over it and the file cut
//     after it). The file's size field and checksum, where its version keeps
//     them, are then made to match, so that the character still parses
//     (unless the change took its first "JM") and the decoder meets the change
//     deep in a list of real items;
//   - from 0x80 on: the rest of the input is the item lists alone, read from
//     its first byte by the rules of a file version (the low bits pick which).
//
// The decoder's promises, each checked on every list read (a broken one ends
// the process as a finding):
//   - no list holds more items than its count, and a list has a note exactly
//     when it holds fewer;
//   - the items of a list follow one another from its first item on, each
//     wholly inside the file, its bytes those of its bits;
//   - every item read, and every list, writes back to exactly the bytes it was
//     read from;
//   - the lists follow one another and end inside the file; a list's note is
//     the note of the whole read;
//   - the front ends' view (CharacterItems::ReadItems) shows the same lists,
//     counts, notes and items as the decoder read.

#include "FuzzSupport.h"

#include "document/CharacterItems.h"
#include "document/format/Checksum.h"
#include "document/format/Parse.h"
#include "document/format/items/ItemLists.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using namespace Format::Items;
using Fuzz::Fail;

constexpr quint32 kVersions[] = {87, 89, 92, 96, 97, 98, 99, 105};

QString Where(const ItemList &list, const Item &item)
{
    return QStringLiteral("%1 list, item at byte %2").arg(ListName(list.kind)).arg(item.offset);
}

// One item (and then its children) at the byte where the one before it ended.
// Items in a socket are read without children of their own, whatever their
// count says.
void CheckItem(const QByteArray &image, const ItemList &list, const Item &item, int &at, const ItemRules &rules,
               bool inSocket = false)
{
    if (item.offset != at)
        Fail("an item does not start where the one before it ends",
             QStringLiteral("%1, expected at %2").arg(Where(list, item)).arg(at));
    if (item.bits <= 0 || item.bytes != (item.bits + 7) / 8 || item.offset + item.bytes > image.size())
        Fail("an item's bits do not lie inside the file",
             QStringLiteral("%1: %2 bits, %3 bytes, file of %4").arg(Where(list, item)).arg(item.bits)
                 .arg(item.bytes).arg(image.size()));
    const QByteArray written = EncodeItem(item, rules);
    if (written != image.mid(item.offset, item.bytes))
        Fail("an item does not write back to the bytes it was read from",
             QStringLiteral("%1\nread    %2\nwritten %3").arg(Where(list, item),
                                                           QString::fromLatin1(image.mid(item.offset, item.bytes).toHex()),
                                                           QString::fromLatin1(written.toHex())));
    at = item.offset + item.bytes;
    if (item.children.size() != (inSocket ? 0 : item.childCount))
        Fail("an item holds another number of socketed items than it says", Where(list, item));
    // A damaged parent may claim items stored elsewhere as its children: they
    // are read as such, which keeps their bytes.
    for (const Item &child : item.children)
        CheckItem(image, list, child, at, rules, true);
}

void CheckLists(const QByteArray &image, const ItemLists &read, int itemsOffset)
{
    if (!read.rules) {
        if (!read.lists.empty() || read.note.isEmpty())
            Fail("lists read without rules, or no rules and no note");
        return;
    }
    int previousEnd = itemsOffset;
    QString lastNote;
    for (const ItemList &list : read.lists) {
        if (list.Decoded() > list.count)
            Fail("a list holds more items than its count",
                 QStringLiteral("%1: %2 of %3").arg(ListName(list.kind)).arg(list.Decoded()).arg(list.count));
        if (list.note.isEmpty() != (list.Decoded() == list.count))
            Fail("a list has a note and every item, or misses items and has no note",
                 QStringLiteral("%1: %2 of %3, note \"%4\"").arg(ListName(list.kind)).arg(list.Decoded())
                     .arg(list.count).arg(list.note));
        if (list.offset < previousEnd || list.itemsOffset < list.offset || list.end < list.itemsOffset
            || list.end > image.size())
            Fail("a list lies outside the file or before the one before it",
                 QStringLiteral("%1 from %2, items at %3, end %4, the one before ends at %5, file of %6")
                     .arg(ListName(list.kind)).arg(list.offset).arg(list.itemsOffset).arg(list.end)
                     .arg(previousEnd).arg(image.size()));
        int at = list.itemsOffset;
        for (const Item &item : list.items)
            CheckItem(image, list, item, at, *read.rules);
        if (list.Complete() && at != list.end)
            Fail("a list read to its end does not end after its last item",
                 QStringLiteral("%1: last item ends at %2, the list at %3").arg(ListName(list.kind)).arg(at).arg(list.end));
        const QByteArray written = EncodeList(list, *read.rules);
        if (written != image.mid(list.offset, list.end - list.offset))
            Fail("a list does not write back to the bytes it was read from",
                 QStringLiteral("%1 from %2 to %3\nread    %4\nwritten %5")
                     .arg(ListName(list.kind)).arg(list.offset).arg(list.end)
                     .arg(QString::fromLatin1(image.mid(list.offset, list.end - list.offset).toHex()),
                          QString::fromLatin1(written.toHex())));
        previousEnd = list.end;
        if (!list.note.isEmpty())
            lastNote = list.note;
    }
    if (!lastNote.isEmpty() && read.note != lastNote)
        Fail("the note of the read is not that of the list that stopped it", read.note + QStringLiteral(" / ") + lastNote);
    if (!read.lists.empty() && read.end < read.lists.back().end)
        Fail("the read ends before its last list");
    if (read.end > image.size())
        Fail("the read ends after the file");
}

void CheckView(const CharacterItems::Items &view, const ItemLists &read)
{
    if (view.note != read.note || view.lists.size() != read.lists.size())
        Fail("the front ends' view has another note or other lists than the decoder read", view.note);
    for (std::size_t k = 0; k < view.lists.size(); ++k) {
        const CharacterItems::List &shown = view.lists[k];
        const ItemList &list = read.lists[k];
        if (shown.list != ListName(list.kind) || shown.count != list.count || shown.decoded != list.Decoded()
            || shown.note != list.note || shown.items.size() != list.items.size())
            Fail("the front ends' view shows a list otherwise than the decoder read it", shown.list);
        for (std::size_t i = 0; i < shown.items.size(); ++i)
            if (shown.items[i].offset != list.items[i].offset || shown.items[i].bits != list.items[i].bits
                || shown.items[i].children.size() != list.items[i].children.size())
                Fail("the front ends' view shows an item otherwise than the decoder read it",
                     Where(list, list.items[i]));
    }
}

// The real file with the input's change made to it.
QByteArray Changed(const Fuzz::RealItemFile &base, const QByteArray &input)
{
    QByteArray image = base.image;
    const int span = int(image.size()) - base.itemsOffset;
    const int at = base.itemsOffset + int(Fuzz::LittleEndian(input, 1, 2) % quint32(span));
    const QByteArray bytes = input.mid(4);
    switch (quint8(input[3]) % 4) {
    case 0:
        for (qsizetype k = 0; k < bytes.size() && at + k < image.size(); ++k)
            image[at + k] = char(image[at + k] ^ bytes[k]);
        break;
    case 1:
        image.replace(at, std::min<qsizetype>(bytes.size(), image.size() - at), bytes);
        break;
    case 2:
        image.insert(at, bytes);
        break;
    default:
        image.replace(at, image.size() - at, bytes);
        break;
    }
    if (base.sizeAndChecksum)
        Format::WriteSizeAndChecksum(image);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The tables of every release are read once, before the first input.
    (void)Fuzz::RealItemFiles();
    for (quint32 version : kVersions)
        (void)TablesOf(*ItemRulesOf(version)).ItemCount();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 1 << 14)
        return -1;
    const QByteArray input = Fuzz::Bytes(data, size);
    const quint8 mode = quint8(input[0]);

    if (mode & 0x80) {
        const quint32 version = kVersions[(mode & 0x7F) % std::size(kVersions)];
        const QByteArray lists = input.mid(1);
        CheckLists(lists, ReadItemLists(lists, version, 0), 0);
        // The same bytes as a whole file: almost never a character, which
        // the read must say without reading items.
        const ItemLists whole = ReadItemLists(lists);
        CheckLists(lists, whole, whole.lists.empty() ? 0 : whole.lists.front().offset);
        return 0;
    }

    if (size < 4)
        return -1;
    const Fuzz::RealItemFile &base = Fuzz::RealItemFiles()[mode % Fuzz::RealItemFiles().size()];
    const QByteArray image = Changed(base, input);
    // Nothing before the items changed: the character parses as before,
    // unless the change took the "JM" that the items begin with.
    const bool marker = image.mid(base.itemsOffset, 2) == "JM";
    if (Format::Parse(image).Opened() != marker)
        Fail("a change inside the item lists decided whether the character opens", base.name);
    const ItemLists read = ReadItemLists(image);
    if (!marker) {
        CheckLists(image, read, base.itemsOffset);
        const ItemLists unmarked = ReadItemLists(image, Format::ReadU32(image, 4), base.itemsOffset);
        if (!unmarked.lists.empty() || unmarked.note.isEmpty())
            Fail("a list without its \"JM\" was read", base.name);
        return 0;
    }
    if (!read.rules)
        Fail("the items of a readable character were not read", base.name + QStringLiteral(": ") + read.note);
    if (read.lists.empty() ? read.note.isEmpty() : read.lists.front().offset != base.itemsOffset)
        Fail("the character's list is not where the items begin", base.name);
    CheckLists(image, read, base.itemsOffset);
    CheckView(CharacterItems::ReadItems(image), read);
    return 0;
}
