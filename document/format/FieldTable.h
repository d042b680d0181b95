#pragma once

#include "FamilyLayout.h"
#include "document/GameData.h"

#include <QtGlobal>

// The values of a character's attributes, under the ids its file gives them
// (0 to 15), the bits each takes in each codec, and the largest value a user
// may give each one. The panel's numbers (PanelFields.h) are these fields
// but the level. A value read from a file is kept as it is even above a
// limit; the limits apply to what the user enters.
enum class FieldId : int {
    Strength, Energy, Dexterity, Vitality, AttributePointsToAdd, SkillPointsToAdd,
    Health, MaxHealth, Mana, MaxMana, Stamina, MaxStamina,
    Level, Experience, Gold, GoldInStash,
};

namespace Format {

inline constexpr int StatCount = 16;
inline constexpr int SkillCount = kSkillsPerClass;
inline constexpr quint32 HighestLevel = 99;

struct StatField
{
    const char *name;  // as in messages: "gold in stash"
    int bits;          // the width of the value in the file
    int shift;         // where the whole value starts in it: 8 for life, mana and stamina
    int wholeBits;     // the width of the whole value
    bool keepsRest;    // a new whole value keeps the bits around it (version 71)
    quint32 cap;       // the game's own cap on the whole value; 0 when only the width limits it
    quint32 perLevel;  // a cap of this much per level of the character; 0 for none
};

// The row of a field in the table of a codec.
[[nodiscard]] const StatField &FieldOf(StatCodec codec, int id);

// The largest value the file's field for stat id can hold, raw (fixed-point
// values with their fraction).
[[nodiscard]] quint64 RawMax(StatCodec codec, int id);

// The whole value of a field as the user reads it, from its raw value, and
// the raw value that holds a new whole value. Setting the whole value a field
// has keeps its raw value; otherwise the fraction is dropped, but in version
// 71, which keeps every bit around the whole value.
[[nodiscard]] quint32 WholeOf(StatCodec codec, int id, quint32 raw);
[[nodiscard]] quint32 WithWhole(StatCodec codec, int id, quint32 raw, quint32 whole);

// Whether the codec holds every value whatever the presence mask says (the
// expanded block of version 71), and whether a field is one the file itself
// may leave out.
[[nodiscard]] bool StoresEveryValue(StatCodec codec);
[[nodiscard]] bool OptionalInFile(StatCodec codec, int id);

// The largest whole value a user may give stat id in a character of a level:
// the field's width, lowered by the game's cap where it has one. Carried gold
// is capped at 10,000 per level from version 87 on.
[[nodiscard]] quint32 StatLimit(const FamilyLayout &layout, int id, quint32 level);

// The largest skill level a user may give: the editor's one limit for every
// version (a file may hold up to 255, and such values are kept).
[[nodiscard]] quint32 SkillLimit();

} // namespace Format
