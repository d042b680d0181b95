#include "BulkEdits.h"

#include "Diablo2Doc.h"
#include "FieldLimits.h"
#include "FieldRules.h"
#include "GameData.h"
#include "Layout.h"
#include "PanelFields.h"

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
    for (const PanelField &field : kPanelFields) {
        if (field.maximized != 0)
            WriteField(doc, field.id, field.maximized);
    }
}

void OpenAll(CDiablo2Doc &doc, OpenStep upTo, const std::function<void(OpenStep)> &afterStep)
{
    const auto done = [&](OpenStep step) {
        if (afterStep)
            afterStep(step);
        return step == upTo;
    };
    OpenAllDifficulties(doc);
    if (done(OpenStep::Difficulties))
        return;
    OpenAllActs(doc);
    if (done(OpenStep::Acts))
        return;
    ActivateAllWaypoints(doc);
    done(OpenStep::Waypoints);
}

void AllQuestsDone(CDiablo2Doc &doc)
{
    OpenAll(doc, OpenStep::Acts);
    MarkAllQuestsDone(doc);
}

namespace {

quint32 WaypointSetFirst(int difficulty)
{
    return g_nWaypointOffsets[difficulty];
}

} // namespace

bool IsWaypointActiveIn(const CDiablo2Doc &doc, int difficulty, int act, int position)
{
    const quint32 first = WaypointSetFirst(difficulty);
    return IsWaypointActive(doc.GetUInt(first, first + 3), act, position);
}

bool IsActOpenIn(const CDiablo2Doc &doc, int difficulty, int act)
{
    if (!ActHasAccessByte(act))
        return true;
    return IsActOpen(quint8(doc.GetUInt(g_nActOffsets[difficulty][act])));
}

bool IsDifficultyOpenIn(const CDiablo2Doc &doc, int difficulty)
{
    return IsDifficultyOpen(quint8(doc.GetUInt(Layout::DifficultyFlags)), difficulty);
}

void SetWaypointActive(CDiablo2Doc &doc, int difficulty, int act, int position, bool active)
{
    const quint32 first = WaypointSetFirst(difficulty);
    doc.SetUInt(first, first + 3, WithWaypoint(doc.GetUInt(first, first + 3), act, position, active));
    if (active && !IsActOpenIn(doc, difficulty, act))
        SetActOpen(doc, difficulty, act, true);
}

void SetActOpen(CDiablo2Doc &doc, int difficulty, int act, bool open)
{
    if (!ActHasAccessByte(act))
        return;
    const quint32 offset = g_nActOffsets[difficulty][act];
    doc.SetUInt(offset, offset, ActAccessByte(open));
    if (open && !IsDifficultyOpenIn(doc, difficulty))
        SetDifficultyOpen(doc, difficulty, true);
}

void SetDifficultyOpen(CDiablo2Doc &doc, int difficulty, bool open)
{
    const quint8 flags = quint8(doc.GetUInt(Layout::DifficultyFlags));
    doc.SetUInt(Layout::DifficultyFlags, Layout::DifficultyFlags, WithDifficulty(flags, difficulty, open));
}
