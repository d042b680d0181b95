#pragma once

#include "ParsedCharacter.h"

#include <QString>

// The names of the classes, skills, quests and waypoints that the later
// versions add to those of version 71: the expansion's Druid and Assassin, the
// Warlock of version 105, Act 5. The names version 71 already had are kept as
// the editor has always shown them.
namespace Versions {

inline constexpr int Druid = 5;
inline constexpr int Assassin = 6;
inline constexpr int Warlock = 7;
inline constexpr int ClassIds = 8;

[[nodiscard]] QString ClassName(int classId);

// Whether a character may be of a class: the five original classes always,
// the Druid and the Assassin in expansion characters, the Warlock in version
// 105 characters of the Warlock's game mode only.
[[nodiscard]] bool ClassAllowed(const ParsedCharacter &c, int classId);

// The name of skill position 0..29 of a class. The Warlock's skills are not
// known by name: they are given by position, "Skill 1" to "Skill 30".
[[nodiscard]] QString SkillName(int classId, int position);

// Act names "Act1" .. "Act5", and the quest and waypoint names of each act's list.
[[nodiscard]] QString ActName(int act);
[[nodiscard]] QString QuestName(int act, int position);
[[nodiscard]] QString WaypointName(int act, int position);

} // namespace Versions
