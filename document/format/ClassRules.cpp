#include "ClassRules.h"

#include "document/GameData.h"

namespace Format {

bool ClassAllowed(const ParsedCharacter &c, int classId)
{
    if (classId >= 0 && classId < kClassCount)
        return true;
    if (classId == Druid || classId == Assassin)
        return c.expansion;
    return classId == Warlock && c.layout->gameModeOffset >= 0 && c.gameMode == quint32(GameMode::Warlock);
}

} // namespace Format
