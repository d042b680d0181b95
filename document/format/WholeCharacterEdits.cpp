#include "WholeCharacterEdits.h"

#include "document/FieldRules.h"
#include "document/GameData.h"

namespace Format {

void OpenAllDifficulties(ParsedCharacter &c)
{
    if (c.layout->difficultyRule == DifficultyRule::FlagBits)
        c.progression = kAllDifficultiesOpen;
    else
        SetDifficultyOpen(c, Difficulties - 1, true);
}

void OpenAllActs(ParsedCharacter &c)
{
    for (int d = 0; d < Difficulties; ++d) {
        for (int act = 1; act < ActCountOf(c); ++act)
            SetActOpen(c, d, act, true);
    }
}

void ActivateAllWaypoints(ParsedCharacter &c)
{
    for (int d = 0; d < Difficulties; ++d) {
        if (c.layout->waypointRule == WaypointRule::Bits32) {
            c.waypoints[std::size_t(d)] = kAllWaypointsSet;
            continue;
        }
        for (int act = 0; act < ActCountOf(c); ++act) {
            for (int position = 0; position < WaypointCountOf(act); ++position)
                SetWaypointActive(c, d, act, position, true);
        }
    }
}

} // namespace Format
