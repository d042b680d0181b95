#include "ClassRules.h"

#include "document/GameData.h"

namespace Format {

namespace {

constexpr int kWarlockGameMode = 3;

} // namespace

bool ClassAllowed(const ParsedCharacter &c, int classId)
{
    if (classId >= 0 && classId < kClassCount)
        return true;
    if (classId == Druid || classId == Assassin)
        return c.expansion;
    return classId == Warlock && c.layout->gameModeOffset >= 0 && c.gameMode == kWarlockGameMode;
}

} // namespace Format
