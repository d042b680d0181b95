#pragma once

#include "ParsedCharacter.h"

// The Edit menu's commands that change many fields at once, on a character of
// any known version, over the acts the character has (five for an expansion
// character).
namespace Format {

// Nightmare and Hell open: the progression byte rises to Hell's count (it is
// never lowered); in version 71 the flag byte becomes 0x14, as it always has.
void OpenAllDifficulties(ParsedCharacter &c);

// Every act of every difficulty open.
void OpenAllActs(ParsedCharacter &c);

// Every waypoint of the character's acts active in every difficulty; the
// bits of acts the character does not have are left as they are, but in
// version 71, whose sets become FF FF FF 3F.
void ActivateAllWaypoints(ParsedCharacter &c);

} // namespace Format
