#pragma once

#include <QtGlobal>

// The game's constant tables, exactly as the editor shows them (the names keep
// the spellings players know from this editor, misspellings included).

inline constexpr int kClassCount = 5;
inline constexpr int kDifficultyCount = 3;
inline constexpr int kActCount = 4;
inline constexpr int kQuestSlotsPerAct = 6;
inline constexpr int kWaypointSlotsPerAct = 9;
inline constexpr int kQuestStateCount = 4;
inline constexpr int kLevelCount = 99;

// Index = CharClass value 0..4.
extern const char *const g_strClassNames[kClassCount];
// "Normal", "Nightmare", "Hell".
extern const char *const g_strDifficultyNames[kDifficultyCount];
// "Act1" .. "Act4".
extern const char *const g_strActNames[kActCount];
// "Not Started", "Started", "Reward", "Done".
extern const char *const g_strQuestStateNames[kQuestStateCount];

// Entry k is the experience at which level k + 1 begins; entry 99 is only the
// upper bound of level 99.
extern const quint32 LevelExperienceTable[100];

// Five blocks of 30 names in class order: skill i of class c is entry c * 30 + i.
inline constexpr int kSkillsPerClass = 30;
extern const char *const SkillNames[kClassCount * kSkillsPerClass];

// 6 slots per act, 9 waypoint slots per act; an empty name ends an act's list.
extern const char *const g_strQuestNames[kActCount * kQuestSlotsPerAct];
extern const char *const g_strWaypointNames[kActCount * kWaypointSlotsPerAct];

// Number of named entries of an act's list (up to the first empty name).
int QuestCountOfAct(int act);
int WaypointCountOfAct(int act);

