#pragma once

#include <QString>

// The names under which the window lists and the command line takes the
// classes, skills, acts, quests and waypoints of every file version: those
// version 71 knows, as the editor has always spelt them, and those the later
// versions add (the expansion's Druid and Assassin, the Warlock, Act5).
namespace GameNames {

// Class ids 0 to 7 (CharacterView::ClassCount tells which a character may
// have); ids 5, 6 and 7 are the Druid, the Assassin and the Warlock.
inline constexpr int Classes = 8;
inline constexpr int Acts = 5;
inline constexpr int SkillsPerClass = 30;

// "Amazon" .. "Warlock"; "Class 9" for an id past them.
[[nodiscard]] QString ClassName(int classId);

// The name of skill position 0..29 of a class; the Warlock's come from the
// game's skill table (WarlockSkills.inc, written by
// scripts/gen-warlock-skills.py). A class id past the classes has no skill
// names: "Skill 1" to "Skill 30".
[[nodiscard]] QString SkillName(int classId, int position);

// "Act1" .. "Act5", the length of each act's quest and waypoint lists, and
// the names in them; empty for a position past a list.
[[nodiscard]] QString ActName(int act);
[[nodiscard]] int QuestCount(int act);
[[nodiscard]] int WaypointCount(int act);
[[nodiscard]] QString QuestName(int act, int position);
[[nodiscard]] QString WaypointName(int act, int position);

} // namespace GameNames
