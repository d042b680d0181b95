#pragma once

#include "ParsedCharacter.h"

// The fields of the header that the parse reads, the build writes and its
// check reads back, little-endian: a new field of the header is one row here
// (and, where its place differs between families, a column of FamilyLayout).
namespace Format {

struct HeaderField
{
    const char *name;                  // as the check names it: "the class"
    int FamilyLayout::*offset;         // -1 where a version has no such field
    int at;                            // bytes on from the offset
    int bytes;                         // 1, 2 or 4
    quint32 ParsedCharacter::*value;
};

inline constexpr HeaderField kHeaderFields[] = {
    {"the status", &FamilyLayout::statusOffset, 0, 1, &ParsedCharacter::status},
    {"the progression", &FamilyLayout::progressionOffset, 0, 1, &ParsedCharacter::progression},
    {"the class", &FamilyLayout::classOffset, 0, 1, &ParsedCharacter::classId},
    {"the header's level", &FamilyLayout::levelOffset, 0, 1, &ParsedCharacter::headerLevel},
    {"the game mode", &FamilyLayout::gameModeOffset, 0, 1, &ParsedCharacter::gameMode},
    {"the mercenary's death", &FamilyLayout::mercenaryOffset, 0, 2, &ParsedCharacter::mercenaryDead},
    {"the mercenary's id", &FamilyLayout::mercenaryOffset, 2, 4, &ParsedCharacter::mercenaryId},
    {"the mercenary's name", &FamilyLayout::mercenaryOffset, 6, 2, &ParsedCharacter::mercenaryName},
    {"the mercenary's type", &FamilyLayout::mercenaryOffset, 8, 2, &ParsedCharacter::mercenaryType},
    {"the mercenary's experience", &FamilyLayout::mercenaryOffset, 10, 4, &ParsedCharacter::mercenaryExperience},
};

// Where a field stands in a file of the layout, or -1 where it has none.
[[nodiscard]] constexpr int OffsetOf(const HeaderField &field, const FamilyLayout &layout)
{
    return layout.*field.offset < 0 ? -1 : layout.*field.offset + field.at;
}

} // namespace Format
