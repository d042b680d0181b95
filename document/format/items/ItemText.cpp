// What a player reads of an item: its name and the lines of its properties,
// from the English strings of the game's tables.
#include "ItemDecoder.h"

#include <QStringList>

#include <charconv>

namespace Format::Items {

namespace {

// How a stat's parameter and value are packed (the tables' "encode" column).
constexpr int kEncodeChanceToCast = 2; // parameter: level (6 bits), skill; value: chance
constexpr int kEncodeCharges = 3;      // parameter: level (6 bits), skill; value: charges (8 bits), maximum

// The description function of an aura: the parameter is its skill, the value its level.
constexpr int kDescAura = 16;

constexpr int kStatClassSkills = 83;  // parameter: the class
constexpr int kStatNonClassSkill = 97;
constexpr int kStatSingleSkill = 107; // parameter: the skill
constexpr int kStatSkillTab = 188;    // parameter: the class times 8 and its skill tab

QString Joined(const QStringList &parts)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.isEmpty())
            kept.append(p);
    return kept.join(QLatin1Char(' '));
}

QString Signed(qint64 value)
{
    char digits[24] = {'+'};
    const auto end = std::to_chars(digits + 1, digits + sizeof digits, value).ptr;
    const char *from = value < 0 ? digits + 1 : digits;
    return QString::fromLatin1(from, end - from);
}

QString ClassName(quint32 id)
{
    static const char *const names[] = {"Amazon", "Sorceress", "Necromancer", "Paladin",
                                        "Barbarian", "Druid", "Assassin", "Warlock"};
    return id < std::size(names) ? QLatin1String(names[id]) : QStringLiteral("class %1").arg(id);
}

// A skill tab by its stat parameter, the class times 8 and the tab, as the
// game names it on an item; the tabs in the order of the magic prefixes that
// give them (Burning: Fire, Sparking: Lightning, Chilling: Cold ...).
QString SkillTabName(quint32 param)
{
    static const char *const tabs[7][3] = {
        {"Bow and Crossbow Skills", "Passive and Magic Skills", "Javelin and Spear Skills"},
        {"Fire Skills", "Lightning Skills", "Cold Skills"},
        {"Curses", "Poison and Bone Skills", "Summoning Skills"},
        {"Combat Skills", "Offensive Auras", "Defensive Auras"},
        {"Combat Skills", "Masteries", "Warcries"},
        {"Summoning Skills", "Shape Shifting Skills", "Elemental Skills"},
        {"Traps", "Shadow Disciplines", "Martial Arts"},
    };
    const quint32 charClass = param / 8, tab = param % 8;
    if (charClass < std::size(tabs) && tab < 3)
        return QLatin1String(tabs[charClass][tab]);
    return QStringLiteral("skill tab %1").arg(tab + 1);
}

// Fills the game's printf-style placeholders in their order.
QString Filled(QString format, const QStringList &values)
{
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%') || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        qsizetype j = i + 1;
        if (format[j] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = j;
            continue;
        }
        const bool plus = format[j] == QLatin1Char('+');
        if (plus)
            ++j;
        if (j < format.size() && (format[j] == QLatin1Char('d') || format[j] == QLatin1Char('s'))) {
            QString v = next < values.size() ? values[next++] : QString();
            if (plus && !v.startsWith(QLatin1Char('-')))
                v.prepend(QLatin1Char('+'));
            out += v;
            i = j;
            continue;
        }
        out += format[i];
    }
    return out;
}

// A stat's line by the table's description function and value position, as
// the game lays them out: a sign or none, a percentage, a value a 128th of
// a whole (5, 10), a value shown negated (20, 21), no value at all at
// position 0. A stat the game describes by no function shows as its name or
// string with its signed value. Functions 6 to 10 are the stats that grow
// with the character's level, whose number the game works out from it: they
// show as the stat's name and the value stored.
QString Described(const StatRow &row, const QString &text, qint64 value)
{
    const int f = row.descFunc;
    if (f == 0)
        return Signed(value) + QLatin1Char(' ') + text;
    if (f >= 6 && f <= 10)
        return QString::fromLatin1(row.stat) + QLatin1Char(' ') + Signed(value);
    // The enhanced damage pair has no value in its row: the game writes the
    // pair itself, "+N% Enhanced Damage". Each shows its own percentage here.
    if (row.stat == "item_maxdamage_percent" || row.stat == "item_mindamage_percent")
        return Signed(value) + QStringLiteral("% ") + text;
    if (f == 5)
        value = value * 100 / 128;
    if (f == 20 || f == 21)
        value = -value;
    const bool sign = f == 1 || f == 4 || f == 12;
    const bool percent = f == 2 || f == 4 || f == 5 || f == 18 || f == 20;
    const QString shown = (sign ? Signed(value) : QString::number(value)) + (percent ? QStringLiteral("%") : QString());
    if (row.descVal == 0)
        return text;
    return row.descVal == 2 ? text + QLatin1Char(' ') + shown : shown + QLatin1Char(' ') + text;
}

} // namespace

QString NameOf(const Item &item, const ItemRules &rules)
{
    const ItemTables &tables = TablesOf(rules);
    if (item.IsEar())
        return QStringLiteral("%1's Ear").arg(QString::fromLatin1(item.earName));
    const ItemType *type = tables.Item(item.code);
    const QString base = type ? type->name : QString::fromLatin1(item.code);
    QString name;
    if (item.IsRuneword())
        name = tables.Name(NameKind::Runeword, int(item.runewordId));
    else if (item.quality == Quality::Unique)
        name = tables.Name(NameKind::Unique, int(item.qualityValue));
    else if (item.quality == Quality::Set)
        name = tables.Name(NameKind::Set, int(item.qualityValue));
    else if (item.quality == Quality::Magic)
        name = Joined({tables.Name(NameKind::Prefix, int(item.prefix)), base,
                       tables.Name(NameKind::Suffix, int(item.suffix))});
    else if (item.quality == Quality::Rare || item.quality == Quality::Crafted)
        name = Joined({tables.Name(NameKind::RareName, int(item.rareName1)),
                       tables.Name(NameKind::RareName, int(item.rareName2))});
    if (name.isEmpty())
        name = base;
    if (item.IsPersonalized())
        name = QStringLiteral("%1's %2").arg(QString::fromUtf8(item.personalName), name);
    return name;
}

QString TextOf(const Property &property, const ItemRules &rules)
{
    const ItemTables &tables = TablesOf(rules);
    const StatRow *row = tables.Stat(property.id);
    if (!row)
        return QStringLiteral("stat %1: %2").arg(property.id).arg(property.value);
    const QString skill = tables.Name(NameKind::Skill, int(property.param >> 6));
    const QString level = QString::number(property.param & 0x3F);
    // Without a wording (a folder's tables hold none) a skill's chance or
    // charges show as the stat's name and its numbers.
    if (row->descPositive.isEmpty() && row->encode == kEncodeChanceToCast)
        return QStringLiteral("%1 %2, level %3 %4").arg(QString::fromLatin1(row->stat)).arg(property.value).arg(level, skill);
    if (row->descPositive.isEmpty() && row->encode == kEncodeCharges)
        return QStringLiteral("%1 %2/%3, level %4 %5")
            .arg(QString::fromLatin1(row->stat))
            .arg(property.value & 0xFF)
            .arg(property.value >> 8)
            .arg(level, skill);
    if (row->encode == kEncodeChanceToCast)
        return Filled(row->descPositive, {QString::number(property.value), level, skill});
    if (row->encode == kEncodeCharges)
        return QStringLiteral("Level %1 %2 ").arg(level, skill) +
               Filled(row->descPositive, {QString::number(property.value & 0xFF), QString::number(property.value >> 8)});
    const QString value = Signed(property.value);
    switch (property.id) {
    case kStatClassSkills:
        return QStringLiteral("%1 to %2 Skill Levels").arg(value, ClassName(property.param));
    case kStatSingleSkill:
    case kStatNonClassSkill:
        return QStringLiteral("%1 to %2").arg(value, tables.Name(NameKind::Skill, int(property.param)));
    case kStatSkillTab:
        return QStringLiteral("%1 to %2 (%3 Only)").arg(value, SkillTabName(property.param), ClassName(property.param / 8));
    default:
        break;
    }
    QString text = property.value < 0 && !row->descNegative.isEmpty() ? row->descNegative : row->descPositive;
    if (text.isEmpty() || text.startsWith(QLatin1String("ModStr")) || text.startsWith(QLatin1String("ItemModifier")))
        text = QString::fromLatin1(row->stat);
    // An aura (function 16): the parameter is its skill, the value its level.
    const bool aura = row->descFunc == kDescAura;
    if (text.contains(QLatin1Char('%')))
        return Filled(text, {QString::number(property.value), aura ? tables.Name(NameKind::Skill, int(property.param))
                                                                   : QString::number(property.param)});
    if (aura)
        return QStringLiteral("%1 %2, level %3").arg(text, tables.Name(NameKind::Skill, int(property.param))).arg(property.value);
    return Described(*row, text, property.value);
}

} // namespace Format::Items
