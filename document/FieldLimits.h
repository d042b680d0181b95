#pragma once

#include <QtGlobal>

// What the character panel accepts in its boxes, and the values the Maximize
// commands write. A value read from a file is shown as it is, even above a
// limit; the limits apply only to what the user enters. The main window and
// the command-line tool both take them from here.
namespace FieldLimits {

// Gold, gold in the stash, the four attributes and the two point counters.
inline constexpr quint32 Value = 2147483647;
// Health, mana and stamina: the current values and their maxima.
inline constexpr quint32 Pool = 8191;
// The level of one skill.
inline constexpr quint32 SkillLevel = 20;

// Maximize Attributes: each of Strength, Dexterity, Vitality and Energy ...
inline constexpr quint32 MaximizedAttribute = 10000;
// ... and each of the six health, mana and stamina values.
inline constexpr quint32 MaximizedPool = 8000;
// Maximize Skills: every one of the thirty skill bytes.
inline constexpr quint32 MaximizedSkillLevel = SkillLevel;

} // namespace FieldLimits

