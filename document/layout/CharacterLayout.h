#pragma once

#include "document/FieldRules.h"
#include "document/GameData.h"
#include "document/PanelFields.h"

#include <QtGlobal>

#include <array>

class CDiablo2Doc;

// Where the values of a character stand in the image of one family of file
// versions, and the few rules of encoding that differ between families. The
// typed character (Character.h) reads and writes only through a layout; the
// front ends never see one. Every offset is after the load's expansion of the
// stat block.
//
// Today one layout exists, that of file version 71; a file of another version
// is shown through it after a notice. A later family adds a table of its own
// and an entry in LayoutOf, and no front end changes.

// An inclusive range first..last of one little-endian unsigned value.
struct ValueRange
{
    quint32 first;
    quint32 last;
};

// One optional value of the stat block and the bit of the presence mask the
// file keeps for it.
struct OptionalValueBit
{
    const char *key;     // the panel field's key
    quint32 maskOffset;  // the mask byte
    quint8 bit;
};

struct CharacterLayout
{
    quint32 version;          // the file version this table describes
    ValueRange fileVersion;
    ValueRange name;          // the name field, NUL-padded
    ValueRange charClass;
    ValueRange headerLevel;   // the level of the character-selection screen
    ValueRange statLevel;     // the level of the stat block
    quint32 difficultyFlags;  // the byte whose bits open Nightmare and Hell
    std::array<ValueRange, kPanelFieldCount> numbers; // in FieldId order
    quint32 firstSkill;       // one byte per skill position
    int skillCount;

    int difficultyCount;
    int actCount;
    // Offset of each quest's two-byte status word, [difficulty][act][list
    // position]; 0 for an empty slot.
    const quint32 (*questWords)[kActCount][kQuestSlotsPerAct];
    // Offset of each act's access byte, [difficulty][act]; 0 where the act
    // has none (Act1).
    const quint32 (*actBytes)[kActCount];
    // First offset of each difficulty's 4-byte waypoint set.
    const quint32 *waypointSets;

    // The optional values of the stat block in file order; the load sets
    // every bit once it has filled the values in.
    std::array<OptionalValueBit, 5> optionalValues;
    // The bytes of the file that tell which optional values it holds.
    quint32 presenceMaskEnd;  // one past the last mask byte

    // The codecs of the quest status word.
    int (*questStateFromWord)(quint8 byte0, quint8 byte1);
    QuestWord (*questWordForState)(int state);
};

// The layout of the character doc holds.
[[nodiscard]] const CharacterLayout &LayoutOf(const CDiablo2Doc &doc);
