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

// Version 71 stands apart for the rules of its fields; its offsets are those
// of versions 87 and 89.
constexpr FamilyLayout kVersion71 = {
    .family = Family::A, .versions = "71",
    .statCodec = StatCodec::Expanded, .difficultyRule = DifficultyRule::FlagBits,
    .questStateRule = QuestStateRule::WholeWord, .nameRule = NameRule::Latin1Field,
    .actRule = ActRule::LowByte, .waypointRule = WaypointRule::Bits32, .checksMarkers = false,
    .sizeAndChecksum = false, .nameOffset = 8, .nameLength = 15,
    .statusOffset = 24, .progressionOffset = 25, .classOffset = 34, .levelOffset = 36,
    .gameModeOffset = -1, .questsOffset = 130, .waypointsOffset = 428, .npcOffset = 508,
    .statsOffset = 560, .questWords = &kQuestWords71};

constexpr FamilyLayout kFamilyA = {
    .family = Family::A, .versions = "87, 89",
    .statCodec = StatCodec::MaskReservedPlain, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Latin1,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = false, .nameOffset = 8, .nameLength = 16,
    .statusOffset = 24, .progressionOffset = 25, .classOffset = 34, .levelOffset = 36,
    .gameModeOffset = -1, .questsOffset = 130, .waypointsOffset = 428, .npcOffset = 508,
    .statsOffset = 560, .questWords = &kQuestWords};

constexpr FamilyLayout kVersion92 = {
    .family = Family::B, .versions = "92",
    .statCodec = StatCodec::MaskPlain, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Latin1,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = true, .nameOffset = 20, .nameLength = 16,
    .statusOffset = 36, .progressionOffset = 37, .classOffset = 40, .levelOffset = 43,
    .gameModeOffset = -1, .questsOffset = 335, .waypointsOffset = 633, .npcOffset = 713,
    .statsOffset = 765, .questWords = &kQuestWords};

constexpr FamilyLayout kFamilyB = {
    .family = Family::B, .versions = "96, 97",
    .statCodec = StatCodec::BitPacked, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Latin1,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = true, .nameOffset = 20, .nameLength = 16,
    .statusOffset = 36, .progressionOffset = 37, .classOffset = 40, .levelOffset = 43,
    .gameModeOffset = -1, .questsOffset = 335, .waypointsOffset = 633, .npcOffset = 713,
    .statsOffset = 765, .questWords = &kQuestWords};

// The name moved to 267; the old field at 20 stays zero.
constexpr FamilyLayout kFamilyC = {
    .family = Family::C, .versions = "98, 99",
    .statCodec = StatCodec::BitPacked, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Utf8,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = true, .nameOffset = 267, .nameLength = 48,
    .statusOffset = 36, .progressionOffset = 37, .classOffset = 40, .levelOffset = 43,
    .gameModeOffset = -1, .questsOffset = 335, .waypointsOffset = 633, .npcOffset = 713,
    .statsOffset = 765, .questWords = &kQuestWords};

// The old name field is gone, the fields after it moved 16 bytes earlier and
// the reserved area grew: the quests start 68 bytes later than in family B.
constexpr FamilyLayout kFamilyD = {
    .family = Family::D, .versions = "105",
    .statCodec = StatCodec::BitPacked, .difficultyRule = DifficultyRule::Progression,
    .questStateRule = QuestStateRule::StateBits, .nameRule = NameRule::Utf8,
    .actRule = ActRule::WholeWord, .waypointRule = WaypointRule::Bits40, .checksMarkers = true,
    .sizeAndChecksum = true, .nameOffset = 299, .nameLength = 48,
    .statusOffset = 20, .progressionOffset = 21, .classOffset = 24, .levelOffset = 27,
    .gameModeOffset = 248, .questsOffset = 403, .waypointsOffset = 701, .npcOffset = 781,
    .statsOffset = 833, .questWords = &kQuestWords};

// The blocks between the header and the attributes have the same lengths in
// every family.
constexpr bool BlocksFollowEachOther(const FamilyLayout &l)
{
    return l.waypointsOffset == l.questsOffset + QuestBlockLength
        && l.npcOffset == l.waypointsOffset + WaypointBlockLength
        && l.statsOffset == l.npcOffset + NpcBlockLength
        && l.nameOffset + l.nameLength <= l.questsOffset;
}
static_assert(BlocksFollowEachOther(kVersion71) && BlocksFollowEachOther(kFamilyA)
              && BlocksFollowEachOther(kVersion92) && BlocksFollowEachOther(kFamilyB)
              && BlocksFollowEachOther(kFamilyC) && BlocksFollowEachOther(kFamilyD));

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
