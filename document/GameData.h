#pragma once

#include <QtGlobal>

// The game's constant tables, exactly as the editor shows them (the names keep
// the spellings players know from this editor, misspellings included).

inline constexpr int ClassCount = 5;
inline constexpr int DifficultyCount = 3;
inline constexpr int ActCount = 4;
inline constexpr int QuestSlotsPerAct = 6;
inline constexpr int WaypointSlotsPerAct = 9;
inline constexpr int QuestStateCount = 4;
inline constexpr int LevelCount = 99;

// Index = CharClass value 0..4.
extern const char *const g_strClassNames[ClassCount];
// "Normal", "Nightmare", "Hell".
extern const char *const g_strDifficultyNames[DifficultyCount];
// "Act1" .. "Act4".
extern const char *const g_strActNames[ActCount];
// "Not Started", "Started", "Reward", "Done".
extern const char *const g_strQuestStateNames[QuestStateCount];

// Entry k is the experience at which level k + 1 begins; entry 99 is only the
// upper bound of level 99.
extern const quint32 LevelExperienceTable[100];

// Five blocks of 30 names in class order: skill i of class c is entry c * 30 + i.
inline constexpr int SkillsPerClass = 30;
extern const char *const SkillNames[ClassCount * SkillsPerClass];

// 6 slots per act, 9 waypoint slots per act; an empty name ends an act's list.
extern const char *const g_strQuestNames[ActCount * QuestSlotsPerAct];
extern const char *const g_strWaypointNames[ActCount * WaypointSlotsPerAct];

// Number of named entries of an act's list (up to the first empty name).
int QuestCountOfAct(int act);
int WaypointCountOfAct(int act);

// The name shown for a list position (no bounds beyond the tables' own).
[[nodiscard]] const char *SkillName(int charClass, int position);
[[nodiscard]] const char *QuestName(int act, int position);
[[nodiscard]] const char *WaypointName(int act, int position);
