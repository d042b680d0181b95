#include "ItemDecoder.h"

#include "document/format/BitCodec.h"

#include <array>
#include <bit>

namespace Format::Items {

namespace {

constexpr ItemRules kRules09 = {
    .versions = "87, 89, 92", .release = Release::Classic114d, .itemMarker = true, .versionBits = 10,
    .code = CodeRule::Ascii, .widths = StatWidths::Classic109, .nameCharBits = 7, .questDifficulty = false,
    .extraBit = false, .stashCount = false, .tables = nullptr};

// Each other family is told by what changed from the one before it.

// 1.10 to 1.14d: the stat widths of the current tables.
constexpr ItemRules kRules96 = [] {
    ItemRules r = kRules09;
    r.versions = "96";
    r.widths = StatWidths::Current;
    return r;
}();

// The remastered game: no marker per item, a 3-bit version, Huffman-coded codes.
constexpr ItemRules kRules97 = [] {
    ItemRules r = kRules96;
    r.versions = "97";
    r.release = Release::Remastered24;
    r.itemMarker = false;
    r.versionBits = 3;
    r.code = CodeRule::Huffman;
    r.questDifficulty = true;
    return r;
}();

// Personal names in 8-bit characters.
constexpr ItemRules kRules98 = [] {
    ItemRules r = kRules97;
    r.versions = "98";
    r.nameCharBits = 8;
    return r;
}();

// Items of any patch from 2.5 on: the resistances' 9-bit widths and the stats
// added up to the last table before 3.0.
constexpr ItemRules kRules99 = [] {
    ItemRules r = kRules98;
    r.versions = "99";
    r.release = Release::Remastered26;
    return r;
}();

// "Reign of the Warlock": its tables, a bit after the durability and a
// stash count at the end of every item.
constexpr ItemRules kRules105 = [] {
    ItemRules r = kRules99;
    r.versions = "105";
    r.release = Release::Remastered3;
    r.extraBit = true;
    r.stashCount = true;
    return r;
}();

// The characters of item codes from version 97 on, each with its bits in the
// order they are read.
struct HuffmanCode
{
    char character;
    const char *bits;
};
constexpr std::array<HuffmanCode, 37> kHuffman = {{
    {' ', "10"},        {'b', "0101"},      {'s', "0010"},     {'7', "01111"},    {'9', "01110"},
    {'a', "11110"},     {'c', "01000"},     {'g', "11010"},    {'h', "00011"},    {'l', "11101"},
    {'m', "01101"},     {'p', "11001"},     {'r', "11100"},    {'t', "01100"},    {'u', "00001"},
    {'w', "00000"},     {'x', "00111"},     {'2', "001100"},   {'8', "000100"},   {'d', "110001"},
    {'e', "110000"},    {'f', "010011"},    {'k', "010010"},   {'n', "001101"},   {'1', "1111100"},
    {'3', "1101101"},   {'6', "1101111"},   {'i', "1111110"},  {'o', "1111111"},  {'v', "1101110"},
    {'y', "0001010"},   {'0', "11111011"},  {'4', "11111010"}, {'5', "00010110"}, {'q', "11011001"},
    {'z', "11011000"},  {'j', "000101110"},
}};
constexpr int kLongestHuffmanCode = 9;

// The characters by their codes: the bits read so far, the first the highest,
// under a leading 1 that marks how many there are; 0 where no code ends.
constexpr std::array<char, 2 << kLongestHuffmanCode> kHuffmanByBits = [] {
    std::array<char, 2 << kLongestHuffmanCode> table{};
    for (const auto &code : kHuffman) {
        std::size_t index = 1;
        for (const char *b = code.bits; *b; ++b)
            index = index * 2 + (*b == '1' ? 1 : 0);
        table[index] = code.character;
    }
    return table;
}();

constexpr quint32 kListEnd = 0x1FF;
constexpr quint32 kItemMarker = 0x4D4A; // "JM" read as a 16-bit value
constexpr int kLongestName = 20;        // characters; the game's names are shorter

constexpr int kStatDefense = 31;
constexpr int kStatDurability = 72;
constexpr int kStatMaxDurability = 73;

// Stats whose next ones follow with no id of their own (minimum, maximum, length).
int FollowersOf(int id)
{
    switch (id) {
    case 17: case 48: case 50: case 52: return 1;
    case 54: case 57: return 2;
    default: return 0;
    }
}

struct Widths
{
    int bits = 0;
    int add = 0;
    int paramBits = 0;
};

Widths WidthsOf(const StatRow &row, StatWidths widths)
{
    if (widths == StatWidths::Classic109)
        return {row.bits109, row.add109, 0};
    return {row.bits, row.add, row.paramBits};
}

// Reads the fields of an item from the image.
class ReadIo
{
public:
    static constexpr bool Reading = true;

    ReadIo(const QByteArray &image, int offset) : m_reader(image, offset) {}

    bool Bits(int count, quint32 &value)
    {
        if (count == 0) {
            value = 0;
            return true;
        }
        if (!m_reader.Read(count, value))
            return Fail(QStringLiteral("the file ends inside the item"));
        m_bits += count;
        return true;
    }
    bool Code(CodeRule rule, QByteArray &code)
    {
        code.clear();
        for (int c = 0; c < 4; ++c) {
            quint32 ch = 0;
            if (rule == CodeRule::Ascii) {
                if (!Bits(8, ch))
                    return false;
            } else if (!Huffman(ch)) {
                return false;
            }
            code.append(char(ch));
        }
        return true;
    }
    bool Chars(int width, QByteArray &text)
    {
        text.clear();
        for (;;) {
            quint32 ch = 0;
            if (!Bits(width, ch))
                return false;
            if (ch == 0)
                return true;
            if (text.size() == kLongestName)
                return Fail(QStringLiteral("a name longer than %1 characters").arg(kLongestName));
            text.append(char(ch));
        }
    }
    bool Pad(quint32 &padding) { return Bits((8 - m_bits % 8) % 8, padding); }
    bool Fail(const QString &reason)
    {
        if (m_reason.isEmpty())
            m_reason = reason;
        return false;
    }

    [[nodiscard]] int BitCount() const { return m_bits; }
    [[nodiscard]] const QString &Reason() const { return m_reason; }

private:
    bool Huffman(quint32 &ch)
    {
        char read[kLongestHuffmanCode + 1] = {};
        std::size_t index = 1;
        for (int n = 0; n < kLongestHuffmanCode; ++n) {
            quint32 bit = 0;
            if (!Bits(1, bit))
                return false;
            read[n] = bit ? '1' : '0';
            index = index * 2 + bit;
            if (const char character = kHuffmanByBits[index]) {
                ch = quint32(quint8(character));
                return true;
            }
        }
        return Fail(QStringLiteral("an item code character this program does not know (%1)")
                        .arg(QLatin1String(read)));
    }

    BitReader m_reader;
    int m_bits = 0;
    QString m_reason;
};

// Writes the fields of an item as they were read.
class WriteIo
{
public:
    static constexpr bool Reading = false;

    explicit WriteIo(QByteArray &out) : m_writer(out) {}

    bool Bits(int count, quint32 &value)
    {
        m_writer.Write(count, value);
        m_bits += count;
        return true;
    }
    bool Code(CodeRule rule, QByteArray &code)
    {
        for (int c = 0; c < 4; ++c) {
            const char ch = c < code.size() ? code[c] : ' ';
            if (rule == CodeRule::Ascii) {
                quint32 v = quint8(ch);
                Bits(8, v);
                continue;
            }
            for (const auto &h : kHuffman)
                if (h.character == ch)
                    for (const char *b = h.bits; *b; ++b) {
                        quint32 bit = *b == '1';
                        Bits(1, bit);
                    }
        }
        return true;
    }
    bool Chars(int width, QByteArray &text)
    {
        for (const char ch : text) {
            quint32 v = quint8(ch);
            Bits(width, v);
        }
        quint32 end = 0;
        return Bits(width, end);
    }
    bool Pad(quint32 &padding) { return Bits((8 - m_bits % 8) % 8, padding); }
    bool Fail(const QString &) { return false; }

private:
    BitWriter m_writer;
    int m_bits = 0;
};

// The fields of one item, read or written in the order the file keeps them.
template <class Io>
class ItemWalk
{
public:
    ItemWalk(Io &io, Item &item, const ItemRules &rules)
        : m_io(io), m_item(item), m_rules(rules), m_tables(TablesOf(rules))
    {
    }

    bool Walk()
    {
        Item &it = m_item;
        if (m_rules.itemMarker) {
            quint32 marker = kItemMarker;
            if (!m_io.Bits(16, marker))
                return false;
            if (marker != kItemMarker)
                return m_io.Fail(QStringLiteral("the item does not start with \"JM\""));
        }
        if (!m_io.Bits(32, it.flags) || !m_io.Bits(m_rules.versionBits, it.itemVersion) ||
            !m_io.Bits(3, it.location) || !m_io.Bits(4, it.slot) || !m_io.Bits(4, it.x) ||
            !m_io.Bits(4, it.y) || !m_io.Bits(3, it.panel))
            return false;
        if (it.location == 3 || it.location == 5)
            return m_io.Fail(QStringLiteral("an item on the ground, whose place this program does not read"));
        if (it.IsEar())
            return Ear() && End();
        if (!CodeAndChildren())
            return false;
        if (!it.IsSimple() && !Extended())
            return false;
        return End();
    }

private:
    bool Flag(bool &flag, int width, quint32 &value)
    {
        quint32 bit = flag;
        if (!m_io.Bits(1, bit))
            return false;
        flag = bit;
        return !flag || m_io.Bits(width, value);
    }

    bool Ear()
    {
        return m_io.Bits(3, m_item.earClass) && m_io.Bits(7, m_item.earLevel) && m_io.Chars(7, m_item.earName);
    }

    bool CodeAndChildren()
    {
        Item &it = m_item;
        QByteArray code = it.code;
        if (!m_io.Code(m_rules.code, code))
            return false;
        if constexpr (Io::Reading) {
            while (code.endsWith(' '))
                code.chop(1);
            it.code = code;
        }
        m_type = m_tables.Item(it.code);
        if (!m_type)
            return m_io.Fail(QStringLiteral("the item code \"%1\" is not in the %2 tables")
                                 .arg(QString::fromLatin1(it.code), m_tables.Name()));
        if (m_rules.questDifficulty && m_type->questDifficulty)
            return m_io.Bits(2, it.questDifficulty) && m_io.Bits(1, it.childCount);
        const bool oneBit = it.IsSimple() && m_rules.code == CodeRule::Huffman;
        return m_io.Bits(oneBit ? 1 : 3, it.childCount);
    }

    bool Extended()
    {
        Item &it = m_item;
        quint32 quality = quint32(it.quality);
        if (!m_io.Bits(32, it.uniqueId) || !m_io.Bits(7, it.level) || !m_io.Bits(4, quality))
            return false;
        it.quality = Quality(quality);
        if (!Flag(it.hasPicture, 3, it.picture) || !Flag(it.classSpecific, 11, it.autoAffix) || !QualityBlock())
            return false;
        if (it.IsRuneword() && (!m_io.Bits(12, it.runewordId) || !m_io.Bits(4, it.runewordExtra)))
            return false;
        if (it.IsPersonalized() && !m_io.Chars(m_rules.nameCharBits, it.personalName))
            return false;
        if ((it.code == "tbk" || it.code == "ibk") && !m_io.Bits(5, it.tomeBits))
            return false;
        if (!m_io.Bits(1, it.realm))
            return false;
        if (it.realm)
            return m_io.Fail(QStringLiteral("the item carries realm data, which this program does not read"));
        if (!DefenseAndDurability())
            return false;
        if (m_rules.extraBit && !m_io.Bits(1, it.extraBit))
            return false;
        it.hasQuantity = m_type->stackable;
        if (it.hasQuantity && !m_io.Bits(9, it.quantity))
            return false;
        if (it.IsSocketed() && !m_io.Bits(4, it.sockets))
            return false;
        if (it.quality == Quality::Set && !m_io.Bits(5, it.setMask))
            return false;
        if (!List(it.properties))
            return false;
        if constexpr (Io::Reading)
            it.setProperties.resize(std::size_t(std::popcount(it.setMask)));
        for (auto &list : it.setProperties)
            if (!List(list))
                return false;
        return !it.IsRuneword() || List(it.runewordProperties);
    }

    bool QualityBlock()
    {
        Item &it = m_item;
        switch (it.quality) {
        case Quality::Low:
        case Quality::Superior:
            return m_io.Bits(3, it.qualityValue);
        case Quality::Magic:
            return m_io.Bits(11, it.prefix) && m_io.Bits(11, it.suffix);
        case Quality::Set:
        case Quality::Unique:
            return m_io.Bits(12, it.qualityValue);
        case Quality::Rare:
        case Quality::Crafted:
            if (!m_io.Bits(8, it.rareName1) || !m_io.Bits(8, it.rareName2))
                return false;
            for (int k = 0; k < 6; ++k) {
                bool present = (it.rareAffixMask >> k) & 1;
                if (!Flag(present, 11, it.rareAffixes[k]))
                    return false;
                it.rareAffixMask = (it.rareAffixMask & ~(1u << k)) | (quint32(present) << k);
            }
            return true;
        case Quality::Normal:
            return true;
        default:
            return m_io.Fail(QStringLiteral("an item quality this program does not know (%1)").arg(int(it.quality)));
        }
    }

    bool Stat(int id, Widths &w)
    {
        const StatRow *row = m_tables.Stat(id);
        if (row)
            w = WidthsOf(*row, m_rules.widths);
        if (!row || w.bits == 0)
            return m_io.Fail(QStringLiteral("the stat %1 has no saved width in the %2 tables")
                                 .arg(id)
                                 .arg(m_tables.Name()));
        return true;
    }

    bool Value(int id, quint32 &raw)
    {
        Widths w;
        return Stat(id, w) && m_io.Bits(w.bits, raw);
    }

    bool DefenseAndDurability()
    {
        Item &it = m_item;
        it.hasDefense = m_type->kind == ItemKind::Armor;
        it.hasDurability = m_type->kind != ItemKind::Misc;
        if (it.hasDefense) {
            Widths w;
            if (!Stat(kStatDefense, w))
                return false;
            quint32 raw = quint32(it.defense + w.add);
            if (!m_io.Bits(w.bits, raw))
                return false;
            it.defense = qint64(raw) - w.add;
        }
        if (!it.hasDurability)
            return true;
        if (!Value(kStatMaxDurability, it.maxDurability))
            return false;
        return it.maxDurability == 0 || Value(kStatDurability, it.durability);
    }

    bool List(PropertyList &list)
    {
        std::size_t next = 0;
        for (;;) {
            quint32 id = next < list.size() ? quint32(list[next].id) : kListEnd;
            if (!m_io.Bits(9, id))
                return false;
            if (id == kListEnd)
                return true;
            for (int k = 0; k <= FollowersOf(int(id)); ++k) {
                Property p;
                if constexpr (Io::Reading)
                    p.id = int(id) + k;
                else if (next < list.size())
                    p = list[next];
                Widths w;
                if (!Stat(p.id, w))
                    return false;
                quint32 raw = quint32(p.value + w.add);
                if (!m_io.Bits(w.paramBits, p.param) || !m_io.Bits(w.bits, raw))
                    return false;
                if constexpr (Io::Reading) {
                    p.value = qint64(raw) - w.add;
                    list.push_back(p);
                }
                ++next;
            }
        }
    }

    bool End()
    {
        Item &it = m_item;
        if (m_rules.stashCount && !Flag(it.hasStashCount, 8, it.stashCount))
            return false;
        if constexpr (Io::Reading)
            it.bits = m_io.BitCount();
        return m_io.Pad(it.padding);
    }

    Io &m_io;
    Item &m_item;
    const ItemRules &m_rules;
    const ItemTables &m_tables;
    const ItemType *m_type = nullptr;
};

} // namespace

Storage Item::StorageOf() const
{
    switch (location) {
    case 0:
        return panel == 1 ? Storage::Inventory : panel == 4 ? Storage::Cube : panel == 5 ? Storage::Stash : Storage::Other;
    case 1: return Storage::Equipped;
    case 2: return Storage::Belt;
    case 4: return Storage::Cursor;
    case 6: return Storage::Socketed;
    default: return Storage::Other;
    }
}

const ItemRules *ItemRulesOf(quint32 version)
{
    switch (version) {
    case 87: case 89: case 92: return &kRules09;
    case 96: return &kRules96;
    case 97: return &kRules97;
    case 98: return &kRules98;
    case 99: return &kRules99;
    case 105: return &kRules105;
    default: return nullptr;
    }
}

bool DecodeItem(const QByteArray &image, int offset, const ItemRules &rules, Item &item, QString &reason)
{
    item = Item();
    item.offset = offset;
    if (offset < 0 || offset >= image.size()) {
        reason = QStringLiteral("the item would start outside the file");
        return false;
    }
    ReadIo io(image, offset);
    const bool read = ItemWalk<ReadIo>(io, item, rules).Walk();
    item.bytes = (io.BitCount() + 7) / 8;
    if (!read)
        reason = io.Reason();
    return read;
}

QByteArray EncodeItem(const Item &item, const ItemRules &rules)
{
    QByteArray out;
    WriteIo io(out);
    Item copy = item;
    ItemWalk<WriteIo>(io, copy, rules).Walk();
    return out;
}

} // namespace Format::Items
