// The layout of file version 71 (game versions up to 1.03): the table the
// typed character reads and writes through.

#include "CharacterLayout.h"
#include "Layout.h"

// The version-71 offsets of quests, acts and waypoints (Layout.h). Nightmare's
// copy of the quest and act data lies 96 bytes after Normal's,
// Hell's 192 bytes after it.
const quint32 g_nQuestOffsets[kDifficultyCount][kActCount][kQuestSlotsPerAct] = {
    {   // Normal
        {142, 144, 148, 150, 146, 152},
        {158, 160, 162, 164, 166, 168},
        {174, 176, 178, 180, 182, 184},
        {190, 194, 192, 0, 0, 0},
    },
    {   // Nightmare
        {238, 240, 244, 246, 242, 248},
        {254, 256, 258, 260, 262, 264},
        {270, 272, 274, 276, 278, 280},
        {286, 290, 288, 0, 0, 0},
    },
    {   // Hell
        {334, 336, 340, 342, 338, 344},
        {350, 352, 354, 356, 358, 360},
        {366, 368, 370, 372, 374, 376},
        {382, 386, 384, 0, 0, 0},
    },
};

const quint32 g_nActOffsets[kDifficultyCount][kActCount] = {
    {0, 154, 170, 186},
    {0, 250, 266, 282},
    {0, 346, 362, 378},
};

const quint32 g_nWaypointOffsets[kDifficultyCount] = {438, 462, 486};

namespace {

using namespace Layout;

const CharacterLayout kLayout71 = {
    KnownFileVersion,
    {FileVersionFirst, FileVersionLast},
    {CharNameFirst, CharNameLast},
    {CharClass, CharClass},
    {CharLevel, CharLevel},
    {StatLevel, StatLevel},
    DifficultyFlags,
    {{
        {ExperienceFirst, ExperienceLast},
        {GoldFirst, GoldLast},
        {GoldInStashFirst, GoldInStashLast},
        {StrengthFirst, StrengthLast},
        {DexterityFirst, DexterityLast},
        {VitalityFirst, VitalityLast},
        {EnergyFirst, EnergyLast},
        {AttributePointsToAddFirst, AttributePointsToAddLast},
        {SkillPointsToAddFirst, SkillPointsToAddLast},
        {HealthFirst, HealthLast},
        {MaxHealthFirst, MaxHealthLast},
        {ManaFirst, ManaLast},
        {MaxManaFirst, MaxManaLast},
        {StaminaFirst, StaminaLast},
        {MaxStaminaFirst, MaxStaminaLast},
    }},
    SkillLevelFirst,
    SkillCount,
    kDifficultyCount,
    kActCount,
    g_nQuestOffsets,
    g_nActOffsets,
    g_nWaypointOffsets,
    {{
        {"attributePointsToAdd", StatPresenceMaskLow, AttributePointsPresentBit},
        {"skillPointsToAdd", StatPresenceMaskLow, SkillPointsPresentBit},
        {"experience", StatPresenceMaskHigh, ExperiencePresentBit},
        {"gold", StatPresenceMaskHigh, GoldPresentBit},
        {"goldInStash", StatPresenceMaskHigh, GoldInStashPresentBit},
    }},
    StatPresenceMaskHigh + 1,
    QuestStateFromWord,
    QuestWordForState,
};

} // namespace

const CharacterLayout &LayoutOf(const CDiablo2Doc &)
{
    // Every file is read through version 71's table: a file of another
    // version is held as read and shown after a notice (FileVersion.h).
    return kLayout71;
}
