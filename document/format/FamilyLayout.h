#pragma once

#include <QtGlobal>

// Where things stand in a character file of each known file version: one small
// table per version family, chosen by the version at offset 4. The codecs
// that differ between families (the attributes section, the checksum) are
// named here and live in StatCodec.h and Checksum.h.
namespace Format {

enum class Family { A, B, C, D };

// How the attributes section ("gf") holds its values.
enum class StatCodec {
    // Version 71 as the load leaves it: the mask, one reserved byte and all
    // sixteen 32-bit values at fixed places, whatever the mask says (the load
    // fills in those the file left out); maximum stamina before stamina.
    Expanded,
    MaskReservedPlain, // 16-bit presence mask, one reserved byte, a 32-bit value per stat
    MaskPlain,         // the same without the reserved byte
    BitPacked,         // 9-bit ids and values of fixed widths, ended by id 0x1FF
};

// How a difficulty is told open.
enum class DifficultyRule {
    FlagBits,    // Nightmare and Hell each have a bit in the byte (version 71)
    Progression, // the byte counts acts beaten; a difficulty opens at a count
};

// What writing a quest state does to the rest of the quest's word.
enum class QuestStateRule {
    WholeWord, // the state's word replaces the whole word (version 71)
    StateBits, // only the state's bits change; what else the game recorded stays
};

// How the name field holds the name.
enum class NameRule {
    // Version 71: 15 single-byte characters with no ending zero of its own;
    // a name is written whole and zero-filled (an empty one too) whenever it
    // is set, so no trace of a longer earlier name stays behind it.
    Latin1Field,
    // Single-byte characters, then at least one zero; the bytes stay as read
    // unless the name shown changes.
    Latin1,
    // The same in UTF-8, cut at a whole character (versions 98 on).
    Utf8,
};

// How the word that marks an act finished tells the next act open.
enum class ActRule {
    LowByte,   // its low byte, written 1 or 0 whatever it held (version 71)
    WholeWord, // the whole word, written only when the act's state changes
};

// How a difficulty's waypoints are stored and Activate All Waypoints writes them.
enum class WaypointRule {
    Bits32, // 4 bytes; the command writes FF FF FF 3F (version 71)
    Bits40, // 5 bytes; the command sets the bits of the character's acts
};

// Fixed block lengths, the same in every family.
inline constexpr int QuestBlockLength = 298;    // "Woo!", u32, u16, 3 records of 96 bytes
inline constexpr int QuestRecordStart = 10;     // from "Woo!" to Normal's record
inline constexpr int QuestRecordLength = 96;    // 48 words per difficulty
inline constexpr int WaypointBlockLength = 80;  // "WS", u32, u16, 3 records of 24 bytes
inline constexpr int WaypointBitsStart = 10;    // from "WS" to Normal's 5 bytes of bits
inline constexpr int WaypointRecordLength = 24;
inline constexpr int WaypointBitsLength = 5;
inline constexpr int NpcBlockLength = 52;
inline constexpr int SkillBlockLength = 32;     // "if" and one byte per skill
inline constexpr int MercenaryBlockLength = 14; // dead, id, name index, type, experience

// The bits of the status byte.
inline constexpr quint8 kHardcoreBit = 0x04;
inline constexpr quint8 kDiedBit = 0x08;      // set when a character dies, never cleared by the game
inline constexpr quint8 kExpansionBit = 0x20;
inline constexpr quint8 kLadderBit = 0x40;

inline constexpr int QuestActs = 5;
inline constexpr int QuestSlotsPerList = 6;
// The word of each quest in a difficulty's record, by act and position in the
// act's list; 0 for an empty slot.
using QuestWordTable = quint8[QuestActs][QuestSlotsPerList];

struct FamilyLayout
{
    Family family;
    const char *versions;      // as the user reads them: "87, 89"
    StatCodec statCodec;
    DifficultyRule difficultyRule;
    QuestStateRule questStateRule;
    NameRule nameRule;
    ActRule actRule;
    WaypointRule waypointRule;
    // The markers of the sections are checked and the sections found by
    // them; false where every section stands at a fixed place (version 71).
    bool checksMarkers;
    bool sizeAndChecksum;      // file size at 8 and checksum at 12
    int nameOffset;
    int nameLength;            // the field, its ending zero (if any) included
    int statusOffset;
    quint8 statusFlags;        // the bits of the status byte the family gives a meaning (Status.h)
    int progressionOffset;
    int classOffset;
    int levelOffset;
    int gameModeOffset;        // -1: the version has no game mode byte
    // The mercenary's fields, in this order from here: dead (u16), id (u32,
    // 0 = never hired), name index (u16), type (u16), experience (u32). -1
    // where no written account or real file places them (versions 71 to 89).
    int mercenaryOffset;
    int questsOffset;          // "Woo!"; the header ends here
    int waypointsOffset;       // "WS"
    int npcOffset;             // 01 77 34 00
    int statsOffset;           // "gf"
    const QuestWordTable *questWords;
};

// The bytes of a difficulty's waypoint set.
[[nodiscard]] int WaypointBytes(const FamilyLayout &layout);

// The longest name the field holds, in bytes.
[[nodiscard]] int NameCapacity(const FamilyLayout &layout);

// The layout of a file version, or nullptr for a version this program does
// not know (100 to 104, above 105, below 71, and those between).
[[nodiscard]] const FamilyLayout *LayoutOf(quint32 version);

// "71, 87, 89, 92, 96, 97, 98, 99 and 105", for messages.
[[nodiscard]] const char *KnownVersionsText();

} // namespace Format
