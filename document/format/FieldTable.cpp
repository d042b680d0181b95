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

using Table = std::array<StatField, StatCount>;

constexpr Table kPlain = {{
    {"strength", 32, false, kPlainWhole},
    {"energy", 32, false, kPlainWhole},
    {"dexterity", 32, false, kPlainWhole},
    {"vitality", 32, false, kPlainWhole},
    {"stat points", 32, false, kPlainWhole},
    {"skill points", 32, false, kPlainWhole},
    {"life", 32, true, kPlainPool},
    {"maximum life", 32, true, kPlainPool},
    {"mana", 32, true, kPlainPool},
    {"maximum mana", 32, true, kPlainPool},
    {"stamina", 32, true, kPlainPool},
    {"maximum stamina", 32, true, kPlainPool},
    {"level", 32, false, HighestLevel},
    {"experience", 32, false, 0},
    {"gold", 32, false, kPlainWhole},
    {"gold in stash", 32, false, kStashCap},
}};

constexpr Table kBitPacked = {{
    {"strength", 10, false, 0},
    {"energy", 10, false, 0},
    {"dexterity", 10, false, 0},
    {"vitality", 10, false, 0},
    {"stat points", 10, false, 0},
    {"skill points", 8, false, 0},
    {"life", 21, true, 0},
    {"maximum life", 21, true, 0},
    {"mana", 21, true, 0},
    {"maximum mana", 21, true, 0},
    {"stamina", 21, true, 0},
    {"maximum stamina", 21, true, 0},
    {"level", 7, false, HighestLevel},
    {"experience", 32, false, 0},
    {"gold", 25, false, 0},
    {"gold in stash", 25, false, kStashCap},
}};

} // namespace

const StatField &FieldOf(StatCodec codec, int id)
{
    const Table &table = codec == StatCodec::BitPacked ? kBitPacked : kPlain;
    return table.at(std::size_t(id));
}

quint64 RawMax(StatCodec codec, int id)
{
    return (quint64(1) << FieldOf(codec, id).bits) - 1;
}

quint32 StatLimit(const FamilyLayout &layout, int id, quint32 level)
{
    const StatField &field = FieldOf(layout.statCodec, id);
    quint64 limit = RawMax(layout.statCodec, id) >> (field.fixedPoint ? 8 : 0);
    if (field.cap != 0)
        limit = qMin<quint64>(limit, field.cap);
    if (id == Gold)
        limit = qMin<quint64>(limit, quint64(kGoldPerLevel) * level);
    return quint32(limit);
}

quint32 SkillLimit()
{
    return FieldLimits::SkillLevel;
}

} // namespace Format
