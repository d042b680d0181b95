#pragma once

#include "ParsedCharacter.h"

// The one-byte fields of the header that the parse reads, the build writes
// and its check reads back: a new field of the header is one row here (and
// its offset a column of FamilyLayout).
namespace Format {

struct HeaderField
{
    const char *name;                  // as the check names it: "the class"
    int FamilyLayout::*offset;         // -1 where a version has no such byte
    quint8 ParsedCharacter::*value;
};

inline constexpr HeaderField kHeaderFields[] = {
    {"the status", &FamilyLayout::statusOffset, &ParsedCharacter::status},
    {"the progression", &FamilyLayout::progressionOffset, &ParsedCharacter::progression},
    {"the class", &FamilyLayout::classOffset, &ParsedCharacter::classId},
    {"the header's level", &FamilyLayout::levelOffset, &ParsedCharacter::headerLevel},
    {"the game mode", &FamilyLayout::gameModeOffset, &ParsedCharacter::gameMode},
};

} // namespace Format
