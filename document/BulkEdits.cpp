#include "BulkEdits.h"

#include "Diablo2Doc.h"
#include "FieldLimits.h"
#include "FieldRules.h"
#include "GameData.h"
#include "Layout.h"

void OpenAllDifficulties(CDiablo2Doc &doc)
{
    doc.SetByte(Layout::DifficultyFlags, AllDifficultiesOpen);
}

void OpenAllActs(CDiablo2Doc &doc)
{
    for (int difficulty = 0; difficulty < DifficultyCount; ++difficulty) {
        for (int act = 0; act < ActCount; ++act) {
            if (!ActHasAccessByte(act))
                continue;
            const quint32 offset = g_nActOffsets[difficulty][act];
            doc.SetUInt(offset, offset, ActAccessByte(true));
        }
    }
}

void ActivateAllWaypoints(CDiablo2Doc &doc)
{
    for (int difficulty = 0; difficulty < DifficultyCount; ++difficulty) {
        const quint32 first = g_nWaypointOffsets[difficulty];
        for (quint32 i = 0; i < 4; ++i)
            doc.SetByte(first + i, quint8(AllWaypointsSet >> (8 * i)));
    }
}

void WriteQuestState(CDiablo2Doc &doc, int difficulty, int act, int position, int state)
{
    const QuestWord word = QuestWordForState(state);
    const quint32 offset = g_nQuestOffsets[difficulty][act][position];
    doc.SetUInt(offset, offset, word.byte0);
    doc.SetUInt(offset + 1, offset + 1, word.byte1);
}

void MarkAllQuestsDone(CDiablo2Doc &doc)
{
    const int done = QuestStateCount - 1;
    for (int difficulty = 0; difficulty < DifficultyCount; ++difficulty) {
        for (int act = 0; act < ActCount; ++act) {
            for (int position = 0; position < QuestCountOfAct(act); ++position)
                WriteQuestState(doc, difficulty, act, position, done);
        }
    }
}

void MaximizeSkillLevels(CDiablo2Doc &doc)
{
    for (quint32 offset = Layout::SkillLevelFirst; offset <= Layout::SkillLevelLast; ++offset)
        doc.SetUInt(offset, offset, FieldLimits::MaximizedSkillLevel);
}

void WriteMaximizedAttributes(CDiablo2Doc &doc)
{
    using namespace Layout;
    const quint32 attribute = FieldLimits::MaximizedAttribute;
    const quint32 pool = FieldLimits::MaximizedPool;
    doc.SetUInt(StrengthFirst, StrengthLast, attribute);
    doc.SetUInt(EnergyFirst, EnergyLast, attribute);
    doc.SetUInt(VitalityFirst, VitalityLast, attribute);
    doc.SetUInt(DexterityFirst, DexterityLast, attribute);
    doc.SetUInt(MaxStaminaFirst, MaxStaminaLast, pool);
    doc.SetUInt(StaminaFirst, StaminaLast, pool);
    doc.SetUInt(MaxHealthFirst, MaxHealthLast, pool);
    doc.SetUInt(HealthFirst, HealthLast, pool);
    doc.SetUInt(MaxManaFirst, MaxManaLast, pool);
    doc.SetUInt(ManaFirst, ManaLast, pool);
}
