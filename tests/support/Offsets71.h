#pragma once

#include <QtGlobal>

// Where a version-71 character keeps its values once the load has expanded its stat block: each
// value is the inclusive range First..Last of one little-endian number. The tests' own copy, so
// that a value the program reads from the wrong place fails against it.
namespace Offsets71 {

inline constexpr quint32 Version = 4, NameFirst = 8, NameLength = 15, DifficultyFlags = 25, Class = 34, Level = 36;
// The stat block's presence mask and the bits of the five values a file may leave out.
inline constexpr quint32 MaskLow = 562, MaskHigh = 563;
inline constexpr quint8 AttributePointsBit = 0x10, SkillPointsBit = 0x20;                   // low byte
inline constexpr quint8 ExperienceBit = 0x20, GoldBit = 0x40, GoldInStashBit = 0x80;         // high byte
inline constexpr quint32 Strength = 565, Energy = 569, Dexterity = 573, Vitality = 577, AttributePoints = 581,
                         SkillPoints = 585; // four bytes each
inline constexpr quint32 Health = 590, MaxHealth = 594, Mana = 598, MaxMana = 602, MaxStamina = 606,
                         Stamina = 610; // two bytes each; stamina's maximum stands first
inline constexpr quint32 StatLevel = 613, Experience = 617, Gold = 621, GoldInStash = 625; // four bytes each
inline constexpr quint32 Skills = 631, SkillCount = 30, MinimumSize = Skills + SkillCount;

// A quest's two-byte word, [act][list position] of Normal; each later difficulty 96 bytes on.
inline constexpr quint32 kNormalQuests[4][6] = {
    {142, 144, 148, 150, 146, 152}, {158, 160, 162, 164, 166, 168}, {174, 176, 178, 180, 182, 184}, {190, 194, 192}};
inline constexpr quint32 Quest(int difficulty, int act, int position)
{
    return kNormalQuests[act][position] + 96 * quint32(difficulty);
}
// The access byte of Act2 to Act4 (Act1 has none).
inline constexpr quint32 Act(int difficulty, int act) { return 138 + 16 * quint32(act) + 96 * quint32(difficulty); }
// The first byte of a difficulty's four-byte waypoint set.
inline constexpr quint32 Waypoints(int difficulty) { return 438 + 24 * quint32(difficulty); }

} // namespace Offsets71
