#pragma once

#include "ParsedCharacter.h"

// Which classes a character of a later version may be given.
namespace Format {

inline constexpr int Druid = 5;
inline constexpr int Assassin = 6;
inline constexpr int Warlock = 7;

// Whether a character may be of a class: the five original classes always,
// the Druid and the Assassin in expansion characters, the Warlock in version
// 105 characters of the Warlock's game mode only.
[[nodiscard]] bool ClassAllowed(const ParsedCharacter &c, int classId);

} // namespace Format
