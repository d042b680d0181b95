#include "FamilyLayout.h"

namespace Format {

namespace {

// Version 71's table keeps the editor's reading of Act 3: Blade of the Old
// Religion at word 18, Khalim's Will at 19. The later versions are read with
// Khalim's Will at 18 and the Blade at 19, the order the written accounts of
// the format give; no real file has shown which is right. Version 71 has no Act 5.
constexpr QuestWordTable kQuestWords71 = {
    {1, 2, 4, 5, 3, 6}, {9, 10, 11, 12, 13, 14}, {17, 18, 19, 20, 21, 22},
    {25, 27, 26, 0, 0, 0}, {0, 0, 0, 0, 0, 0}};
constexpr QuestWordTable kQuestWords = {
    {1, 2, 4, 5, 3, 6}, {9, 10, 11, 12, 13, 14}, {17, 19, 18, 20, 21, 22},
    {25, 27, 26, 0, 0, 0}, {35, 36, 37, 38, 39, 40}};

// The blocks between the header and the attributes have the same lengths in
// every family: where the quests begin places the rest.
constexpr FamilyLayout WithQuestsAt(FamilyLayout l, int questsOffset)
{
    l.questsOffset = questsOffset;
    l.waypointsOffset = questsOffset + QuestBlockLength;
    l.npcOffset = l.waypointsOffset + WaypointBlockLength;
    l.statsOffset = l.npcOffset + NpcBlockLength;
    return l;
}

constexpr FamilyLayout kFamilyA = WithQuestsAt({
    .family = Family::A, .versions = "87, 89",
    .statCodec = StatCodec::MaskReservedPlain, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Latin1,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = false, .nameOffset = 8, .nameLength = 16,
    .statusOffset = 24, .statusFlags = kHardcoreBit | kDiedBit, .progressionOffset = 25, .classOffset = 34,
    .levelOffset = 36, .gameModeOffset = -1, .mercenaryOffset = -1, .questsOffset = 0, .waypointsOffset = 0, .npcOffset = 0,
    .statsOffset = 0, .questWords = &kQuestWords}, 130);

// Each other family is told by what changed from one before it.

// Version 71 has the offsets of versions 87 and 89 and rules of its own.
constexpr FamilyLayout kVersion71 = [] {
    FamilyLayout l = kFamilyA;
    l.versions = "71";
    l.statCodec = StatCodec::Expanded;
    l.difficultyRule = DifficultyRule::FlagBits;
    l.questStateRule = QuestStateRule::WholeWord;
    l.nameRule = NameRule::Latin1Field;
    l.actRule = ActRule::LowByte;
    l.waypointRule = WaypointRule::Bits32;
    l.checksMarkers = false;
    l.nameLength = 15;
    l.questWords = &kQuestWords71;
    return l;
}();

// The file's size and checksum; the name 12 bytes on, the fields after it
// rearranged; the status byte marks expansion and ladder characters; the
// mercenary after the map seed.
constexpr FamilyLayout kVersion92 = [] {
    FamilyLayout l = WithQuestsAt(kFamilyA, 335);
    l.family = Family::B;
    l.versions = "92";
    l.statCodec = StatCodec::MaskPlain;
    l.sizeAndChecksum = true;
    l.nameOffset = 20;
    l.statusOffset = 36;
    l.statusFlags = kHardcoreBit | kDiedBit | kExpansionBit | kLadderBit;
    l.progressionOffset = 37;
    l.classOffset = 40;
    l.levelOffset = 43;
    l.mercenaryOffset = 177;
    return l;
}();

constexpr FamilyLayout kFamilyB = [] {
    FamilyLayout l = kVersion92;
    l.versions = "96, 97";
    l.statCodec = StatCodec::BitPacked;
    return l;
}();

// The name moved to 267, in UTF-8; the old field at 20 stays zero.
constexpr FamilyLayout kFamilyC = [] {
    FamilyLayout l = kFamilyB;
    l.family = Family::C;
    l.versions = "98, 99";
    l.nameRule = NameRule::Utf8;
    l.nameOffset = 267;
    l.nameLength = 48;
    return l;
}();

// The old name field is gone, the fields after it moved 16 bytes earlier and
// the reserved area grew: the quests start 68 bytes later than in family B.
constexpr FamilyLayout kFamilyD = [] {
    FamilyLayout l = WithQuestsAt(kFamilyC, 403);
    l.family = Family::D;
    l.versions = "105";
    l.nameOffset = 299;
    for (int FamilyLayout::*field : {&FamilyLayout::statusOffset, &FamilyLayout::progressionOffset,
                                     &FamilyLayout::classOffset, &FamilyLayout::levelOffset,
                                     &FamilyLayout::mercenaryOffset})
        l.*field -= 16;
    l.gameModeOffset = 248;
    return l;
}();

// Every field of the header lies before the quests.
constexpr bool HeaderFits(const FamilyLayout &l)
{
    return l.nameOffset + l.nameLength <= l.questsOffset && l.gameModeOffset < l.questsOffset
        && l.mercenaryOffset + MercenaryBlockLength <= l.questsOffset;
}
static_assert(HeaderFits(kVersion71) && HeaderFits(kFamilyA) && HeaderFits(kVersion92) && HeaderFits(kFamilyB)
              && HeaderFits(kFamilyC) && HeaderFits(kFamilyD));
static_assert(kFamilyA.statsOffset == 560 && kVersion92.statsOffset == 765 && kFamilyD.statsOffset == 833);
static_assert(kFamilyD.statusOffset == 20 && kFamilyD.levelOffset == 27 && kFamilyD.mercenaryOffset == 161);

} // namespace

int WaypointBytes(const FamilyLayout &layout)
{
    return layout.waypointRule == WaypointRule::Bits32 ? 4 : WaypointBitsLength;
}

int NameCapacity(const FamilyLayout &layout)
{
    return layout.nameRule == NameRule::Latin1Field ? layout.nameLength : layout.nameLength - 1;
}

const FamilyLayout *LayoutOf(quint32 version)
{
    switch (version) {
    case 71: return &kVersion71;
    case 87:
    case 89: return &kFamilyA;
    case 92: return &kVersion92;
    case 96:
    case 97: return &kFamilyB;
    case 98:
    case 99: return &kFamilyC;
    case 105: return &kFamilyD;
    default: return nullptr;
    }
}

const char *KnownVersionsText()
{
    return "71, 87, 89, 92, 96, 97, 98, 99 and 105";
}

} // namespace Format
