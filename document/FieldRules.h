#pragma once

#include <QtGlobal>

// How the small encoded fields of a character are read and written. Every
// caller (the main window, the command-line tool) uses these; a rule about
// what a byte means is written here once.

// The two bytes written for a quest state.
struct QuestWord
{
    quint8 byte0;
    quint8 byte1;
};

// Quest state 0..3 ("Not Started", "Started", "Reward", "Done") shown for a
// status word. The tests are made in order and a later one that holds wins:
// byte 0 bit 0x04 gives 1, bit 0x02 gives 2, bit 0x01 or byte 1 == 0x10 gives 3.
int QuestStateFromWord(quint8 byte0, quint8 byte1);

// The status word written for a state: 0 -> 00 00, 1 -> 04 00, 2 -> 06 00,
// 3 -> 07 10; any other index writes 00 00.
QuestWord QuestWordForState(int state);

// Bit number of a waypoint in its difficulty's 4-byte set: act * 9 + position.
int WaypointBit(int act, int position);
bool IsWaypointActive(quint32 set, int act, int position);
quint32 WithWaypoint(quint32 set, int act, int position, bool active);
// The value of a set with every waypoint (bits 0..29) active.
inline constexpr quint32 kAllWaypointsSet = 0x3FFFFFFFu;

// Act access byte of Acts 2 to 4: the act is open when its byte is nonzero.
// Act1 has no byte and is always open.
inline constexpr bool ActHasAccessByte(int act) { return act >= 1 && act <= 3; }
inline constexpr bool IsActOpen(quint8 accessByte) { return accessByte != 0; }
// The byte written when an act is opened (1) or closed (0).
inline constexpr quint8 ActAccessByte(bool open) { return open ? 1 : 0; }

// Difficulty flag byte: Normal has no bit (always open), Nightmare 0x04, Hell 0x10.
quint8 DifficultyMask(int difficulty);
bool IsDifficultyOpen(quint8 flags, int difficulty);
quint8 WithDifficulty(quint8 flags, int difficulty, bool open);
// The whole byte written when every difficulty is opened at once.
inline constexpr quint8 kAllDifficultiesOpen = 0x14;

// The level-list index (level - 1) that an experience has reached: the first
// table entry above it, minus one; 98 (level 99) when none is above it.
int LevelIndexFromExperience(quint32 experience);

// The experience at which a level 1..99 begins: what choosing it in the level
// list, or setting it on the command line, writes.
quint32 ExperienceOfLevel(int level);
