// The "Quests And Waypoints:" group and the four bulk commands of the Edit menu.
//
// The file keeps one copy of the quest, act and waypoint data per difficulty.
// The panel is a cascade of selections: the difficulty chooses the copy, the
// act chooses which quests and waypoints are listed, the quest chooses a status
// word shown as one of four states, the waypoint chooses one bit. Three check
// boxes tell whether the selected difficulty, act and waypoint are open;
// setting one also sets the ones above it (waypoint, then act, then difficulty),
// clearing one never touches another.
//
// What a byte means (status word, waypoint bit, act byte, difficulty bit) is
// decided in FieldRules.h; where it lives, in GameData.h and Layout.h.

#include "BrennicorDlg.h"

#include "BulkEdits.h"
#include "FieldRules.h"
#include "GameData.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "core/Prompts.h"

namespace {

// The index of "Done" in the quest-state list.
constexpr int QuestStateDone = QuestStateCount - 1;

// The bulk commands say so when no character is open; true when they must stop.
bool RefuseWithoutFile(CBrennicorDlg *dlg, const char *caption)
{
    if (!dlg->m_doc.IsEmpty())
        return false;
    Prompts().MessageBox(dlg, QStringLiteral("Open a file first!"), QString::fromLatin1(caption),
                         MessageIcon::None);
    return true;
}

// Fills a list with an act's slots, up to the first slot without a name.
void FillActList(CComboBox &list, const char *const *slots, int slotCount)
{
    list.ResetContent();
    for (int position = 0; position < slotCount; ++position) {
        if (slots[position][0] == '\0')
            break;
        list.AddString(QString::fromLatin1(slots[position]));
    }
}

quint8 ReadByte(const CDiablo2Doc &doc, quint32 offset)
{
    return quint8(doc.GetUInt(offset, offset));
}

void WriteByte(CDiablo2Doc &doc, quint32 offset, quint8 value)
{
    doc.SetUInt(offset, offset, value);
}

} // namespace

void CBrennicorDlg::MapQuestsWaypoints()
{
    MapSelChange(IDC_DIFFICULTY, &CBrennicorDlg::OnSelchangeDifficulty);
    MapSelChange(IDC_ACT, &CBrennicorDlg::OnSelchangeAct);
    MapSelChange(IDC_QUEST, &CBrennicorDlg::OnSelchangeQuest);
    MapSelChange(IDC_QUEST_STATE, &CBrennicorDlg::OnSelchangeQuestState);
    MapSelChange(IDC_WAYPOINT, &CBrennicorDlg::OnSelchangeWaypoint);
    MapClicked(IDC_WAYPOINT_ACTIVE, &CBrennicorDlg::OnWaypointActive);
    MapClicked(IDC_ACT_ACTIVE, &CBrennicorDlg::OnActActive);
    MapClicked(IDC_DIFFICULTY_ACTIVE, &CBrennicorDlg::OnDifficultyActive);
    MapCommand(ID_EDIT_ACTIVATE_ALL_WAYPOINTS, &CBrennicorDlg::OnActivateAllWaypoints);
    MapCommand(ID_EDIT_ACTIVATE_ALL_ACTS, &CBrennicorDlg::OnActivateAllActs);
    MapCommand(ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL, &CBrennicorDlg::OnActivateNightmareAndHell);
    MapCommand(ID_EDIT_ALL_QUESTS_DONE, &CBrennicorDlg::OnAllQuestsDone);
}

// Also the refresh of the whole group: Open and Reload select Normal and call it.
void CBrennicorDlg::OnSelchangeDifficulty()
{
    if (m_doc.IsEmpty())
        return;
    // A box of the panel that does not parse has been reported; the group goes
    // on with the selections as they stood.
    UpdateData(true);
    if (m_nDifficulty == -1)
        m_nDifficulty = 0;
    const quint8 flags = ReadByte(m_doc, Layout::DifficultyFlags);
    m_bDifficultyActive = IsDifficultyOpen(flags, m_nDifficulty) ? 1 : 0;
    if (m_nAct == -1)
        m_nAct = 0;
    UpdateData(false);
    OnSelchangeAct();
}

void CBrennicorDlg::OnSelchangeAct()
{
    if (m_doc.IsEmpty())
        return;
    UpdateData(true);
    if (m_nDifficulty == -1)
        m_nDifficulty = 0;
    if (m_nAct == -1)
        return;
    if (ActHasAccessByte(m_nAct)) {
        m_bActActive = IsActOpen(ReadByte(m_doc, g_nActOffsets[m_nDifficulty][m_nAct])) ? 1 : 0;
    } else {
        m_bActActive = 1;
    }
    FillActList(m_cbQuest, g_strQuestNames + m_nAct * QuestSlotsPerAct, QuestSlotsPerAct);
    FillActList(m_cbWaypoint, g_strWaypointNames + m_nAct * WaypointSlotsPerAct,
                WaypointSlotsPerAct);
    m_nQuest = 0;
    m_nWaypoint = 0;
    UpdateData(false);
    OnSelchangeQuest();
    OnSelchangeWaypoint();
}

void CBrennicorDlg::OnSelchangeQuest()
{
    if (m_doc.IsEmpty())
        return;
    UpdateData(true);
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nQuest == -1)
        return;
    const quint32 offset = g_nQuestOffsets[m_nDifficulty][m_nAct][m_nQuest];
    m_nQuestState = QuestStateFromWord(ReadByte(m_doc, offset), ReadByte(m_doc, offset + 1));
    UpdateData(false);
}

void CBrennicorDlg::OnSelchangeQuestState()
{
    if (m_doc.IsEmpty())
        return;
    UpdateData(true);
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nQuest == -1)
        return;
    WriteQuestState(m_doc, m_nDifficulty, m_nAct, m_nQuest, m_nQuestState);
}

void CBrennicorDlg::OnSelchangeWaypoint()
{
    if (m_doc.IsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nWaypoint == -1)
        return;
    const quint32 first = g_nWaypointOffsets[m_nDifficulty];
    const quint32 set = m_doc.GetUInt(first, first + 3);
    m_bWaypointActive = IsWaypointActive(set, m_nAct, m_nWaypoint) ? 1 : 0;
    UpdateData(false);
}

void CBrennicorDlg::OnWaypointActive()
{
    if (m_doc.IsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nWaypoint == -1)
        return;
    const quint32 first = g_nWaypointOffsets[m_nDifficulty];
    const quint32 set = m_doc.GetUInt(first, first + 3);
    m_doc.SetUInt(first, first + 3, WithWaypoint(set, m_nAct, m_nWaypoint, m_bWaypointActive != 0));
    // An active waypoint opens its act.
    if (m_bWaypointActive && !m_bActActive) {
        m_bActActive = 1;
        UpdateData(false);
        OnActActive();
    }
    UpdateData(false);
}

void CBrennicorDlg::OnActActive()
{
    if (m_doc.IsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nDifficulty == -1 || m_nAct == -1)
        return;
    // Only a box the user (or an opened waypoint) set opens the difficulty:
    // clearing Act1's box, which springs back, must not open anything.
    const bool opened = m_bActActive != 0;
    if (ActHasAccessByte(m_nAct)) {
        WriteByte(m_doc, g_nActOffsets[m_nDifficulty][m_nAct], ActAccessByte(opened));
    } else {
        // Act1 has no byte and is always open: its box cannot be cleared.
        m_bActActive = 1;
    }
    if (opened && !m_bDifficultyActive) {
        m_bDifficultyActive = 1;
        UpdateData(false);
        OnDifficultyActive();
    }
    UpdateData(false);
}

void CBrennicorDlg::OnDifficultyActive()
{
    if (m_doc.IsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nDifficulty == -1)
        return;
    // Only the selected difficulty's bit changes; Normal has none, so its byte
    // is written back as it was.
    const quint8 flags = WithDifficulty(ReadByte(m_doc, Layout::DifficultyFlags), m_nDifficulty,
                                        m_bDifficultyActive != 0);
    WriteByte(m_doc, Layout::DifficultyFlags, flags);
    // The box shows what the byte now says: Normal's cannot be cleared.
    m_bDifficultyActive = IsDifficultyOpen(flags, m_nDifficulty) ? 1 : 0;
    UpdateData(false);
}

void CBrennicorDlg::OnActivateNightmareAndHell()
{
    if (RefuseWithoutFile(this, "Activate Nightmare And Hell"))
        return;
    // The whole byte is replaced, unlike the check box, which changes one bit.
    OpenAllDifficulties(m_doc);
    OnSelchangeDifficulty();
}

void CBrennicorDlg::OnActivateAllActs()
{
    if (RefuseWithoutFile(this, "Activate Acts"))
        return;
    OnActivateNightmareAndHell();
    OpenAllActs(m_doc);
    OnSelchangeAct();
}

void CBrennicorDlg::OnActivateAllWaypoints()
{
    if (RefuseWithoutFile(this, "Activate Way Points"))
        return;
    OnActivateAllActs();
    ActivateAllWaypoints(m_doc);
    OnSelchangeWaypoint();
}

void CBrennicorDlg::OnAllQuestsDone()
{
    if (RefuseWithoutFile(this, "All quest Done"))
        return;
    OnActivateAllActs();
    // Walks the panel through every quest as a user would, so that it ends on
    // the last one: Hell, Act4, "Terror's End", "Done".
    for (int difficulty = 0; difficulty < m_cbDifficulty.GetCount(); ++difficulty) {
        m_nDifficulty = difficulty;
        UpdateData(false);
        OnSelchangeDifficulty();
        for (int act = 0; act < m_cbAct.GetCount(); ++act) {
            m_nAct = act;
            UpdateData(false);
            OnSelchangeAct();
            for (int quest = 0; quest < m_cbQuest.GetCount(); ++quest) {
                m_nQuest = quest;
                UpdateData(false);
                OnSelchangeQuest();
                m_nQuestState = QuestStateDone;
                UpdateData(false);
                OnSelchangeQuestState();
            }
        }
    }
}
