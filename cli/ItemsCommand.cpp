// items FILE... [--json]: the items of each character, read only, grouped by
// list and by where they are, as text or as one JSON object per file.
#include "ItemsCommand.h"

#include "Console.h"
#include "IndentedJson.h"
#include "Session.h"

#include "document/CharacterItems.h"
#include "document/Diablo2Doc.h"

namespace {

using CharacterItems::Item;
using CharacterItems::Items;
using CharacterItems::List;

// Where items are, in the order the text lists them.
const char *const kPlaces[] = {"equipped", "inventory", "belt", "cube", "stash", "cursor", "other"};

// An equipped item by its body slot, any other by "column,row".
QString PlaceText(const Item &item)
{
    const CharacterItems::Place place = CharacterItems::PlaceOf(item);
    return place.slot.isEmpty() ? QStringLiteral("%1,%2").arg(place.column).arg(place.row) : place.slot;
}

QString Numbers(const Item &item)
{
    const CharacterItems::Shown shown = CharacterItems::ShownOf(item);
    QStringList parts;
    if (shown.quality)
        parts << QStringLiteral("%1, level %2").arg(item.quality).arg(item.level);
    if (item.ethereal)
        parts << QStringLiteral("ethereal");
    if (!item.identified)
        parts << QStringLiteral("unidentified");
    if (shown.defense)
        parts << QStringLiteral("defense %1").arg(item.defense);
    if (shown.durability)
        parts << QStringLiteral("durability %1/%2").arg(item.durability).arg(item.maxDurability);
    if (shown.quantity)
        parts << QStringLiteral("quantity %1").arg(item.quantity);
    if (shown.sockets)
        parts << QStringLiteral("%1 sockets").arg(item.sockets);
    return parts.join(QStringLiteral(", "));
}

void AppendItemLines(QString &out, const Item &item, const QString &indent, const QString &place)
{
    const QString numbers = Numbers(item);
    out += QStringLiteral("%1%2  %3 (%4)%5\n")
               .arg(indent, place, item.name, item.code, numbers.isEmpty() ? QString() : QStringLiteral(": ") + numbers);
    for (const auto &p : item.properties)
        out += indent + QStringLiteral("    ") + p.text + QLatin1Char('\n');
    for (const Item &child : item.children)
        AppendItemLines(out, child, indent + QStringLiteral("    "), QStringLiteral("socketed"));
}

void AppendTextLines(QString &out, const Items &items, const QString &prefix)
{
    if (items.lists.empty())
        out += prefix + items.note + QLatin1Char('\n');
    for (const List &list : items.lists) {
        out += QStringLiteral("%1%2: %3 items").arg(prefix, list.list).arg(list.count);
        if (list.decoded < list.count || !list.note.isEmpty())
            out += QStringLiteral(", %1 read: %2").arg(list.decoded).arg(list.note);
        out += QLatin1Char('\n');
        for (const char *place : kPlaces) {
            QString lines;
            for (const Item &item : list.items)
                if (item.storage == QLatin1String(place))
                    AppendItemLines(lines, item, prefix + QStringLiteral("    "), PlaceText(item));
            if (!lines.isEmpty())
                out += QStringLiteral("%1  %2:\n").arg(prefix, QLatin1String(place)) + lines;
        }
    }
    if (const QString trailing = CharacterItems::TrailingText(items); !trailing.isEmpty())
        out += prefix + trailing + QLatin1Char('\n');
}

// The members are written in the order of their keys, the order the JSON
// layout puts them in, so that nothing has to be sorted. An item in a socket
// names the item it is in by its offset (parent); others have none (-1).
void WriteItem(IndentedJson &json, const Item &item, int parent)
{
    json.BeginObject();
    json.Key("bits").Number(item.bits);
    json.Key("code").String(item.code);
    json.Key("height").Number(item.height);
    json.Key("level").Number(item.level);
    json.Key("name").String(item.name);
    json.Key("offset").Number(item.offset);
    if (parent >= 0)
        json.Key("parent").Number(parent);
    json.Key("properties").BeginArray();
    for (const auto &p : item.properties) {
        json.BeginObject();
        json.Key("id").Number(p.id);
        json.Key("text").String(p.text);
        json.Key("value").Number(p.value);
        json.EndObject();
    }
    json.EndArray();
    json.Key("quality").String(item.quality);
    json.Key("slot").Number(item.slot);
    json.Key("storage").String(item.storage);
    json.Key("width").Number(item.width);
    json.Key("x").Number(item.x);
    json.Key("y").Number(item.y);
    json.EndObject();
}

// In the order of the keys, as WriteItem.
void WriteFileObject(IndentedJson &json, const Items &items, const QString &path)
{
    json.BeginObject();
    json.Key("file").String(path);
    json.Key("lists").BeginArray();
    for (const List &list : items.lists) {
        json.BeginObject();
        json.Key("count").Number(list.count);
        json.Key("decoded").Number(list.decoded);
        json.Key("items").BeginArray();
        // In file order: the items in an item's sockets right after it.
        for (const Item &item : list.items) {
            WriteItem(json, item, -1);
            for (const Item &child : item.children)
                WriteItem(json, child, item.offset);
        }
        json.EndArray();
        json.Key("list").String(list.list);
        if (!list.note.isEmpty())
            json.Key("note").String(list.note);
        json.EndObject();
    }
    json.EndArray();
    if (items.lists.empty())
        json.Key("note").String(items.note);
    if (!items.release.isEmpty())
        json.Key("release").String(items.release);
    if (items.trailingBytes > 0) {
        json.Key("trailing").BeginObject();
        json.Key("bytes").Number(items.trailingBytes);
        json.Key("offset").Number(items.trailingOffset);
        json.EndObject();
    }
    json.EndObject();
}

} // namespace

QString ItemsDetails()
{
    return QStringLiteral(R"(
Lists the items of every FILE, read only: the character's, the corpse's, the
mercenary's and the iron golem's, each list with how many items the file says
it holds, grouped by where they are (equipped by body slot; inventory, belt,
cube and stash by column and row), each with its name, quality, level,
defense, durability, quantity and sockets, the lines of its properties and
the items socketed into it. Files of versions 87 to 105 are read; items of
version 71 are not. Bytes after the last list that no list explains (the 57
after the corpse list of versions 87 and 89) are named, never read as items.

An item that cannot be read (an item code or a property the game's tables do
not know) ends its list with a note naming the list, the item's byte and why;
the items before it are shown. The exit status is then 1, as it is for a file
that cannot be loaded (the other files are still listed).

Each file is read with the game's tables of its version's release, built in,
or with --game-data DIR (before the command) with the tables of a folder of
the game's .txt tables for every version. Such a folder's names are its
tables' name columns (the base item's "name", the unique's "index", the
runeword's "Rune Name", the skill's "skill"), and its properties, which lack
the game's English wordings, show by their stat's name and value.

  --json    print a JSON array with one object per file: "file", "release"
            (the built-in tables' release, or the folder of --game-data),
            "note" (when no list was read), "lists", and
            for each list "list", "count", "decoded", "note" (when fewer were
            read) and "items" with "offset", "bits", "code", "name",
            "quality", "level", "storage", "x", "y", "slot", "width",
            "height", "properties" ("id", "value", "text"), in file order:
            the items in an item's sockets right after it, with storage
            "socketed" and "parent" (the offset of the item they are in);
            "trailing" with "offset" and "bytes" when bytes no list
            explains follow the lists
)");
}

int RunItems(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    // Each file is shown as soon as it is read. A file whose items could not
    // all be read is shown as far as they were, with why, and fails the command.
    const bool json = invocation.Has("json");
    std::string text;
    IndentedJson array(text);
    if (json)
        array.BeginArray();
    bool allRead = true;
    const bool ok = ForEachCharacter(files, [&](const QString &path, const CDiablo2Doc &doc) {
        const Items items = CharacterItems::ReadItems(doc.ImageCopy(), invocation.gameData.get());
        allRead = allRead && items.note.isEmpty() && !items.lists.empty();
        if (json) {
            WriteFileObject(array, items, path);
            PrintText(text);
            text.clear();
            return;
        }
        QString lines;
        AppendTextLines(lines, items, files.size() > 1 ? path + QStringLiteral(": ") : QString());
        PrintText(lines.toUtf8());
    });
    if (json) {
        array.EndArray();
        PrintText(text + '\n');
    }
    return ok && allRead ? ExitSuccess : ExitFailure;
}
