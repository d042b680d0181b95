#include "FieldTable.h"

#include "document/FieldLimits.h"

#include <array>

namespace Format {

namespace {

constexpr quint32 kGoldPerLevel = 10000;
constexpr quint32 kStashCap = 2500000;
// The plain 32-bit fields are read by the game as signed numbers.
constexpr quint32 kPlainWhole = FieldLimits::Value;
constexpr quint32 kPlainPool = FieldLimits::Value >> 8;

constexpr const char *kNames[StatCount] = {
    "strength", "energy", "dexterity", "vitality", "stat points", "skill points",
    "life", "maximum life", "mana", "maximum mana", "stamina", "maximum stamina",
    "level", "experience", "gold", "gold in stash",
};
// The widths of the bit-packed list (version 96 on).
constexpr int kPackedBits[StatCount] = {10, 10, 10, 10, 10, 8, 21, 21, 21, 21, 21, 21, 7, 32, 25, 25};

// The row of field id in a codec. Life, mana and stamina hold 256 times
// their whole value (version 71: 16 bits from the second byte of four, the
// level in the first byte of its four); the plain 32-bit fields are read by
// the game as signed numbers.
constexpr StatField RowOf(StatCodec codec, int id)
{
    const auto field = FieldId(id);
    const bool pool = id >= int(FieldId::Health) && id <= int(FieldId::MaxStamina);
    const int shift = pool ? 8 : 0;
    const quint32 perLevel = field == FieldId::Gold && codec != StatCodec::Expanded ? kGoldPerLevel : 0;
    quint32 cap = field == FieldId::Level ? HighestLevel : field == FieldId::GoldInStash ? kStashCap : 0;
    switch (codec) {
    case StatCodec::Expanded:
        return {kNames[id], 32, shift, pool ? 16 : field == FieldId::Level ? 8 : 32, true,
                field == FieldId::Level ? HighestLevel : 0, 0};
    case StatCodec::MaskReservedPlain:
    case StatCodec::MaskPlain:
        if (cap == 0 && field != FieldId::Experience)
            cap = pool ? kPlainPool : kPlainWhole;
        return {kNames[id], 32, shift, 32 - shift, false, cap, perLevel};
    case StatCodec::BitPacked: break;
    }
    return {kNames[id], kPackedBits[id], shift, kPackedBits[id] - shift, false, cap, perLevel};
}

using Table = std::array<StatField, StatCount>;

constexpr Table TableOf(StatCodec codec)
{
    Table table{};
    for (int id = 0; id < StatCount; ++id)
        table[std::size_t(id)] = RowOf(codec, id);
    return table;
}

constexpr Table kExpanded = TableOf(StatCodec::Expanded);
constexpr Table kPlain = TableOf(StatCodec::MaskPlain);
constexpr Table kBitPacked = TableOf(StatCodec::BitPacked);

quint64 WholeMask(const StatField &field)
{
    return (quint64(1) << field.wholeBits) - 1;
}

} // namespace

const StatField &FieldOf(StatCodec codec, int id)
{
    switch (codec) {
    case StatCodec::Expanded: return kExpanded.at(std::size_t(id));
    case StatCodec::MaskReservedPlain:
    case StatCodec::MaskPlain: return kPlain.at(std::size_t(id));
    case StatCodec::BitPacked: break;
    }
    return kBitPacked.at(std::size_t(id));
}

quint64 RawMax(StatCodec codec, int id)
{
    return (quint64(1) << FieldOf(codec, id).bits) - 1;
}

quint32 WholeOf(StatCodec codec, int id, quint32 raw)
{
    const StatField &field = FieldOf(codec, id);
    return quint32((raw >> field.shift) & WholeMask(field));
}

quint32 WithWhole(StatCodec codec, int id, quint32 raw, quint32 whole)
{
    const StatField &field = FieldOf(codec, id);
    if (WholeOf(codec, id, raw) == whole)
        return raw;
    const quint64 placed = (quint64(whole) & WholeMask(field)) << field.shift;
    if (!field.keepsRest)
        return quint32(placed);
    return quint32((raw & ~(WholeMask(field) << field.shift)) | placed);
}

bool StoresEveryValue(StatCodec codec)
{
    return codec == StatCodec::Expanded;
}

bool OptionalInFile(StatCodec codec, int id)
{
    if (!StoresEveryValue(codec))
        return true;
    // Version 71 leaves out only the unspent points, the experience and the gold.
    const auto field = FieldId(id);
    return field == FieldId::AttributePointsToAdd || field == FieldId::SkillPointsToAdd
        || field == FieldId::Experience || field == FieldId::Gold || field == FieldId::GoldInStash;
}

quint32 StatLimit(const FamilyLayout &layout, int id, quint32 level)
{
    const StatField &field = FieldOf(layout.statCodec, id);
    quint64 limit = qMin<quint64>(RawMax(layout.statCodec, id) >> field.shift, WholeMask(field));
    if (field.cap != 0)
        limit = qMin<quint64>(limit, field.cap);
    if (field.perLevel != 0)
        limit = qMin<quint64>(limit, quint64(field.perLevel) * level);
    return quint32(limit);
}

quint32 SkillLimit()
{
    return FieldLimits::SkillLevel;
}

} // namespace Format
