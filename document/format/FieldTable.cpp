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

// Version 71's expanded block: life, mana and stamina are 16 bits from the
// second byte of their four, the level is the first byte of its four.
constexpr Table kExpanded = {{
    {"strength", 32, 0, 32, true, 0, 0},
    {"energy", 32, 0, 32, true, 0, 0},
    {"dexterity", 32, 0, 32, true, 0, 0},
    {"vitality", 32, 0, 32, true, 0, 0},
    {"stat points", 32, 0, 32, true, 0, 0},
    {"skill points", 32, 0, 32, true, 0, 0},
    {"life", 32, 8, 16, true, 0, 0},
    {"maximum life", 32, 8, 16, true, 0, 0},
    {"mana", 32, 8, 16, true, 0, 0},
    {"maximum mana", 32, 8, 16, true, 0, 0},
    {"stamina", 32, 8, 16, true, 0, 0},
    {"maximum stamina", 32, 8, 16, true, 0, 0},
    {"level", 32, 0, 8, true, HighestLevel, 0},
    {"experience", 32, 0, 32, true, 0, 0},
    {"gold", 32, 0, 32, true, 0, 0},
    {"gold in stash", 32, 0, 32, true, 0, 0},
}};

constexpr Table kPlain = {{
    {"strength", 32, 0, 32, false, kPlainWhole, 0},
    {"energy", 32, 0, 32, false, kPlainWhole, 0},
    {"dexterity", 32, 0, 32, false, kPlainWhole, 0},
    {"vitality", 32, 0, 32, false, kPlainWhole, 0},
    {"stat points", 32, 0, 32, false, kPlainWhole, 0},
    {"skill points", 32, 0, 32, false, kPlainWhole, 0},
    {"life", 32, 8, 24, false, kPlainPool, 0},
    {"maximum life", 32, 8, 24, false, kPlainPool, 0},
    {"mana", 32, 8, 24, false, kPlainPool, 0},
    {"maximum mana", 32, 8, 24, false, kPlainPool, 0},
    {"stamina", 32, 8, 24, false, kPlainPool, 0},
    {"maximum stamina", 32, 8, 24, false, kPlainPool, 0},
    {"level", 32, 0, 32, false, HighestLevel, 0},
    {"experience", 32, 0, 32, false, 0, 0},
    {"gold", 32, 0, 32, false, kPlainWhole, kGoldPerLevel},
    {"gold in stash", 32, 0, 32, false, kStashCap, 0},
}};

constexpr Table kBitPacked = {{
    {"strength", 10, 0, 10, false, 0, 0},
    {"energy", 10, 0, 10, false, 0, 0},
    {"dexterity", 10, 0, 10, false, 0, 0},
    {"vitality", 10, 0, 10, false, 0, 0},
    {"stat points", 10, 0, 10, false, 0, 0},
    {"skill points", 8, 0, 8, false, 0, 0},
    {"life", 21, 8, 13, false, 0, 0},
    {"maximum life", 21, 8, 13, false, 0, 0},
    {"mana", 21, 8, 13, false, 0, 0},
    {"maximum mana", 21, 8, 13, false, 0, 0},
    {"stamina", 21, 8, 13, false, 0, 0},
    {"maximum stamina", 21, 8, 13, false, 0, 0},
    {"level", 7, 0, 7, false, HighestLevel, 0},
    {"experience", 32, 0, 32, false, 0, 0},
    {"gold", 25, 0, 25, false, 0, kGoldPerLevel},
    {"gold in stash", 25, 0, 25, false, kStashCap, 0},
}};

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
