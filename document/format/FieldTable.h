#pragma once

#include "FamilyLayout.h"

#include <QtGlobal>

// The attributes a character file stores, the bits each takes in each codec,
// and the largest value a user may give each one. A value read from a file is
// kept as it is even above a limit; the limits apply to what the user enters.
namespace Format {

enum Stat : int {
    Strength, Energy, Dexterity, Vitality, StatPoints, SkillPoints,
    Life, MaxLife, Mana, MaxMana, Stamina, MaxStamina,
    Level, Experience, Gold, GoldInStash,
};
inline constexpr int StatCount = 16;
inline constexpr int SkillCount = 30;
inline constexpr quint32 HighestLevel = 99;

struct StatField
{
    const char *name;  // as in messages: "gold in stash"
    int bits;          // the width of the value in the file
    bool fixedPoint;   // life, mana and stamina: 256 times the whole value
    quint32 cap;       // the game's own cap on the whole value; 0 when only the width limits it
};

// The row of stat id (0..15) in the field table of a codec.
[[nodiscard]] const StatField &FieldOf(StatCodec codec, int id);

// The largest value the file's field for stat id can hold, raw (fixed-point
// values with their fraction).
[[nodiscard]] quint64 RawMax(StatCodec codec, int id);

// The largest whole value a user may give stat id in a character of a level:
// the field's width, lowered by the game's cap where it has one. Carried gold
// is capped at 10,000 per level.
[[nodiscard]] quint32 StatLimit(const FamilyLayout &layout, int id, quint32 level);

// The largest skill level a user may give: the editor's one limit for every
// version (a file may hold up to 255, and such values are kept).
[[nodiscard]] quint32 SkillLimit();

} // namespace Format
