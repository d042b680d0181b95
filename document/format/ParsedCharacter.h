#pragma once

#include "FamilyLayout.h"
#include "FieldTable.h"

#include <QByteArray>
#include <QString>

#include <array>

// A character as read from a file of a known version: the values this program
// edits, decoded, and where each section stood. Everything else stays in the
// file's image, which Build() copies around these values.
namespace Format {

inline constexpr int Difficulties = 3;
inline constexpr int QuestWordsPerDifficulty = QuestRecordLength / 2;

// The attributes section: a value per stat id and which ids the file stored.
struct Stats
{
    std::array<quint32, StatCount> value{};
    quint16 stored = 0; // bit i: the file holds stat i (kept on save, even at 0)
    quint8 reserved = 0; // the byte after the mask in versions 71 to 89, kept as read

    [[nodiscard]] bool IsStored(int id) const { return (stored >> id) & 1; }
    [[nodiscard]] quint32 operator[](FieldId id) const { return value[std::size_t(id)]; }
    [[nodiscard]] quint32 &operator[](FieldId id) { return value[std::size_t(id)]; }
};

// Where the variable sections were found in the file read.
struct Sections
{
    int statsEnd = 0;  // the first byte after the attributes: "if"
    int items = 0;     // the first "JM", after the skill bytes
};

enum class ChecksumState {
    NotInVersion, // versions 71 to 89 carry none
    Valid,
    Damaged,      // the stored value differs from the one computed
};

// Version 105's game mode byte.
enum class GameMode : quint8 { Classic = 1, Expansion = 2, Warlock = 3 };

struct ParsedCharacter
{
    quint32 version = 0;
    const FamilyLayout *layout = nullptr;

    // Header
    QByteArray name;           // the bytes before the first zero of the name field
    bool nameSet = false;      // the name was given: its field is written whole
    // The fields of the header table (HeaderFields.h), each as wide as the file stores it.
    quint32 classId = 0;
    quint32 headerLevel = 0;   // the level the selection screen shows
    quint32 status = 0;        // FamilyLayout.h: kHardcoreBit, kDiedBit, kExpansionBit, kLadderBit
    quint32 progression = 0;   // acts beaten (the flag byte in version 71)
    quint32 gameMode = 0;      // version 105: a GameMode
    quint32 mercenaryDead = 0; // non-zero: dead
    quint32 mercenaryId = 0;   // 0: no mercenary was ever hired
    quint32 mercenaryName = 0; // an index into the names of the mercenary's type
    quint32 mercenaryType = 0; // a row of the game's hireling table
    quint32 mercenaryExperience = 0;
    // Told from the status byte and the game mode (Status.h: ReadsAsExpansion).
    bool expansion = false;

    Stats stats;
    std::array<quint8, SkillCount> skills{};
    std::array<std::array<quint16, QuestWordsPerDifficulty>, Difficulties> questWords{};
    std::array<quint64, Difficulties> waypoints{}; // 40 bits each

    Sections sections;
    quint32 sizeField = 0;     // versions 92 and later
    ChecksumState checksum = ChecksumState::NotInVersion;
    quint32 storedChecksum = 0;
    quint32 computedChecksum = 0;
};

// The character's name as text: UTF-8 in versions 98 and later, Latin-1 before.
[[nodiscard]] QString NameOf(const ParsedCharacter &c);
// Gives the character a name: as many of its characters as the field holds,
// in the field's encoding (a character it cannot hold becomes '?').
void SetName(ParsedCharacter &c, const QString &name);

// A field's whole value (FieldTable.h: WholeOf) and a new one.
[[nodiscard]] quint32 WholeValue(const ParsedCharacter &c, FieldId id);
void SetWholeValue(ParsedCharacter &c, FieldId id, quint32 whole);

// The acts of the character: five for an expansion character, four otherwise.
[[nodiscard]] int ActCountOf(const ParsedCharacter &c);

// Quests by difficulty, act and position in the act's list, as states 0..3
// ("Not Started" .. "Done"). Acts 1 to 4 keep the editor's list order.
[[nodiscard]] int QuestCountOf(int act);
[[nodiscard]] int QuestState(const ParsedCharacter &c, int difficulty, int act, int position);
// Writing a state follows the layout's QuestStateRule; Not Started (or any
// state outside 0..3) always clears the whole word.
void SetQuestState(ParsedCharacter &c, int difficulty, int act, int position, int state);

// Whether a word of a difficulty's quest record is one this program edits:
// a quest of the layout's lists or a word that marks an act finished.
[[nodiscard]] bool IsEditedQuestWord(const FamilyLayout &layout, int word);

// An act is open when the word that marks the act before it finished is set
// (its low byte in version 71). Act 1 is always open and cannot be closed.
// Act 5's word is believed, not documented.
[[nodiscard]] bool IsActOpen(const ParsedCharacter &c, int difficulty, int act);
void SetActOpen(ParsedCharacter &c, int difficulty, int act, bool open);

// Nightmare and Hell by the progression byte: open from 4 and 8 acts beaten
// (5 and 10 for expansion characters). Opening raises the byte to that count,
// closing lowers it just below; nothing else changes. Version 71 keeps its
// flag bits.
[[nodiscard]] bool IsDifficultyOpen(const ParsedCharacter &c, int difficulty);
void SetDifficultyOpen(ParsedCharacter &c, int difficulty, bool open);

// Waypoints by difficulty, act and position: nine per act, three in Act 4.
// A waypoint the character's set has no bit for is never active.
[[nodiscard]] int WaypointCountOf(int act);
[[nodiscard]] bool IsWaypointActive(const ParsedCharacter &c, int difficulty, int act, int position);
void SetWaypointActive(ParsedCharacter &c, int difficulty, int act, int position, bool active);

} // namespace Format
