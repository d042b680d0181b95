#pragma once

#include <QString>
#include <QtGlobal>

// The mercenary types of the game's hireling tables: what a type is, the
// names it may carry and the level its experience means. Files of versions
// 92 and 96 are read with the tables of classic 1.14d, later ones with those
// of the remastered game (which added types 30 to 38 and changed some).
// The rows of an expansion character's edition are used, else the classic ones.
namespace Mercenaries {

// The highest level a mercenary reaches.
inline constexpr int LevelCap = 98;

struct Type
{
    QString hireling; // "Rogue Scout"
    QString kind;     // "Fire - Normal"
    int act = 0;      // 1 to 5
    int difficulty = 0; // 1 Normal, 2 Nightmare, 3 Hell
    int nameCount = 0;
};

// The type a file's type field names, or one with act 0 when the tables have no such type.
[[nodiscard]] Type TypeOf(quint32 fileVersion, bool expansion, quint32 type);
// "Rogue Scout (Fire - Normal)", or an empty string for a type the tables do not hold.
[[nodiscard]] QString TypeName(quint32 fileVersion, bool expansion, quint32 type);
// The name at index among the type's names, or an empty string.
[[nodiscard]] QString Name(quint32 fileVersion, bool expansion, quint32 type, quint32 index);

// A level L begins at rate x L x L x (L + 1) experience, the rate being that
// of the type's row whose level bracket holds L. 0 for a type the tables do
// not hold.
[[nodiscard]] int LevelOf(quint32 fileVersion, bool expansion, quint32 type, quint32 experience);
// The experience at which a mercenary of the type reaches LevelCap (the most
// it may be given); the largest 32-bit value for a type the tables do not hold.
[[nodiscard]] quint32 ExperienceLimit(quint32 fileVersion, bool expansion, quint32 type);

} // namespace Mercenaries
