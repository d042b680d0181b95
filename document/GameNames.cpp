#include "GameNames.h"

#include "GameData.h"
#include "document/format/ClassRules.h"
#include "document/format/ParsedCharacter.h"

#include <iterator>

namespace GameNames {

namespace {

const char *const kExpansionClasses[] = {"Druid", "Assassin", "Warlock"};

const char *const kExpansionSkills[2][SkillsPerClass] = {
    {"Raven", "Plague Poppy", "Wearwolf", "Shape Shifting", "Firestorm", "Oak Sage",
     "Summon Spirit Wolf", "Wearbear", "Molten Boulder", "Arctic Blast", "Cycle of Life",
     "Feral Rage", "Maul", "Eruption", "Cyclone Armor", "Heart of Wolverine", "Summon Fenris",
     "Rabies", "Fire Claws", "Twister", "Vines", "Hunger", "Shock Wave", "Volcano", "Tornado",
     "Spirit of Barbs", "Summon Grizzly", "Fury", "Armageddon", "Hurricane"},
    {"Fire Trauma", "Claw Mastery", "Psychic Hammer", "Tiger Strike", "Dragon Talon",
     "Shock Field", "Blade Sentinel", "Quickness", "Fists of Fire", "Dragon Claw",
     "Charged Bolt Sentry", "Wake of Fire Sentry", "Weapon Block", "Cloak of Shadows",
     "Cobra Strike", "Blade Fury", "Fade", "Shadow Warrior", "Claws of Thunder", "Dragon Tail",
     "Lightning Sentry", "Inferno Sentry", "Mind Blast", "Blades of Ice", "Dragon Flight",
     "Death Sentry", "Blade Shield", "Venom", "Shadow Master", "Royal Strike"},
};

const char *const kWarlockSkills[] = {
#include "WarlockSkills.inc"
};
static_assert(std::size(kWarlockSkills) == SkillsPerClass);

const char *const kActFiveQuests[] = {
    "Siege on Harrogath", "Rescue on Mount Arreat", "Prison of Ice",
    "Betrayal of Harrogath", "Rite of Passage", "Eve of Destruction",
};

// In the order of the game's waypoint menu; no real file has confirmed the bits.
const char *const kActFiveWaypoints[] = {
    "Harrogath", "Frigid Highlands", "Arreat Plateau", "Crystalline Passage", "Halls of Pain",
    "Glacial Trail", "Frozen Tundra", "The Ancients' Way", "Worldstone Keep",
};

} // namespace

QString ClassName(int classId)
{
    if (classId >= 0 && classId < kClassCount)
        return QLatin1String(g_strClassNames[classId]);
    if (classId >= kClassCount && classId < Classes)
        return QLatin1String(kExpansionClasses[classId - kClassCount]);
    return QStringLiteral("Class %1").arg(classId);
}

QString SkillName(int classId, int position)
{
    if (position < 0 || position >= SkillsPerClass)
        return {};
    if (classId >= 0 && classId < kClassCount)
        return QLatin1String(SkillNames[classId * kSkillsPerClass + position]);
    if (classId == Format::Druid || classId == Format::Assassin)
        return QLatin1String(kExpansionSkills[classId - Format::Druid][position]);
    if (classId == Format::Warlock)
        return QLatin1String(kWarlockSkills[position]);
    return QStringLiteral("Skill %1").arg(position + 1);
}

int QuestCount(int act)
{
    return Format::QuestCountOf(act);
}

int WaypointCount(int act)
{
    return Format::WaypointCountOf(act);
}

QString ActName(int act)
{
    if (act < 0 || act >= Acts)
        return {};
    return act < kActCount ? QLatin1String(g_strActNames[act]) : QStringLiteral("Act%1").arg(act + 1);
}

QString QuestName(int act, int position)
{
    if (position < 0 || position >= QuestCount(act))
        return {};
    return QLatin1String(act < kActCount ? g_strQuestNames[act * kQuestSlotsPerAct + position]
                                        : kActFiveQuests[position]);
}

QString WaypointName(int act, int position)
{
    if (position < 0 || position >= WaypointCount(act))
        return {};
    return QLatin1String(act < kActCount ? g_strWaypointNames[act * kWaypointSlotsPerAct + position]
                                        : kActFiveWaypoints[position]);
}

} // namespace GameNames
