#pragma once

#include "document/GameData.h"

#include <QtGlobal>

// Where every named value of a character lives in the image, after the load
// has expanded the stat block. Each field is an inclusive range First..Last of
// one little-endian unsigned value; one-byte fields have First == Last.
namespace Layout {

// Header
// The file version names the layout the file was saved in; these offsets are
// those of version 71 (game versions up to 1.03).
inline constexpr quint32 FileVersionFirst = 4, FileVersionLast = 7;
inline constexpr quint32 KnownFileVersion = 71;
inline constexpr quint32 CharNameFirst = 8;
inline constexpr quint32 CharNameLast = 22;
inline constexpr quint32 CharNameLength = CharNameLast - CharNameFirst + 1; // 15
inline constexpr quint32 DifficultyFlags = 25;
inline constexpr quint32 CharClass = 34;
inline constexpr quint32 CharLevel = 36;

// Stat block: presence mask
inline constexpr quint32 StatPresenceMaskLow = 562;
inline constexpr quint32 StatPresenceMaskHigh = 563;
inline constexpr quint8 AttributePointsPresentBit = 0x10; // in the low byte
inline constexpr quint8 SkillPointsPresentBit = 0x20;     // in the low byte
inline constexpr quint8 ExperiencePresentBit = 0x20;      // in the high byte
inline constexpr quint8 GoldPresentBit = 0x40;            // in the high byte
inline constexpr quint8 GoldInStashPresentBit = 0x80;     // in the high byte

// Stat block: values
inline constexpr quint32 StrengthFirst = 565, StrengthLast = 568;
inline constexpr quint32 EnergyFirst = 569, EnergyLast = 572;
inline constexpr quint32 DexterityFirst = 573, DexterityLast = 576;
inline constexpr quint32 VitalityFirst = 577, VitalityLast = 580;
inline constexpr quint32 AttributePointsToAddFirst = 581, AttributePointsToAddLast = 584;
inline constexpr quint32 SkillPointsToAddFirst = 585, SkillPointsToAddLast = 588;
inline constexpr quint32 HealthFirst = 590, HealthLast = 591;
inline constexpr quint32 MaxHealthFirst = 594, MaxHealthLast = 595;
inline constexpr quint32 ManaFirst = 598, ManaLast = 599;
inline constexpr quint32 MaxManaFirst = 602, MaxManaLast = 603;
// For stamina the lower offset holds the maximum, the reverse of health and mana.
inline constexpr quint32 MaxStaminaFirst = 606, MaxStaminaLast = 607;
inline constexpr quint32 StaminaFirst = 610, StaminaLast = 611;
inline constexpr quint32 StatLevel = 613;
inline constexpr quint32 ExperienceFirst = 617, ExperienceLast = 620;
inline constexpr quint32 GoldFirst = 621, GoldLast = 624;
inline constexpr quint32 GoldInStashFirst = 625, GoldInStashLast = 628;

// Skills: one byte per skill position 0..29 of the character's class.
inline constexpr quint32 SkillLevelFirst = 631;
inline constexpr quint32 SkillLevelLast = 660;
inline constexpr int SkillCount = 30;

// Quests, acts and waypoints (Normal copy; Nightmare +96, Hell +192 for quests
// and acts; waypoint sets 24 bytes apart). The full tables are below.
inline constexpr quint32 QuestAreaFirst = 142;
inline constexpr quint32 DifficultyCopyStride = 96;
inline constexpr quint32 WaypointBitsNormalFirst = 438;
inline constexpr quint32 WaypointSetStride = 24;
inline constexpr quint32 WaypointBitsHellLast = 489;

// The image after expansion must reach past the skill bytes for the main
// window to hold it: every named field then lies inside it.
inline constexpr quint32 MinimumCharacterSize = SkillLevelLast + 1; // 661

} // namespace Layout

// Offset of each quest's two-byte status word, [difficulty][act][list position];
// 0 for an empty slot.
extern const quint32 g_nQuestOffsets[kDifficultyCount][kActCount][kQuestSlotsPerAct];
// Offset of each act's access byte, [difficulty][act]; 0 for Act1, which has none.
extern const quint32 g_nActOffsets[kDifficultyCount][kActCount];
// First offset of each difficulty's 4-byte waypoint set.
extern const quint32 g_nWaypointOffsets[kDifficultyCount];
