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
// decided in the core: the character's values in Character.h, the cascade of
// the check boxes and the bulk commands' bytes in BulkEdits.h.

#include "BrennicorDlg.h"

#include "document/BulkEdits.h"
#include "document/Character.h"
#include "document/FileVersion.h"
#include "document/GameData.h"
#include "document/GameNames.h"
#include "resources/MainDialogIds.h"
#include "document/Messages.h"
#include "core/Prompts.h"

#include <QWidget>

#include <utility>

namespace {

// The index of "Done" in the quest-state list.
constexpr int QuestStateDone = kQuestStateCount - 1;

// The bulk commands say so when no character is open, or the file is held
// for the raw tools only; true when they must stop.
bool RefuseWithoutFile(QWidget *owner, const CDiablo2Doc &doc, const char *caption)
{
    if (FileVersion::ShowsValues(doc))
        return false;
    Prompts().MessageBox(owner, QString::fromLatin1(doc.IsEmpty() ? Messages::OpenFileFirst : Messages::RawToolsOnly),
                         QString::fromLatin1(caption), MessageIcon::None);
    return true;
}

// Fills a list with the names of an act's slots.
void FillActList(CComboBox &list, int count, QString (*name)(int act, int position), int act)
{
    list.ResetContent();
    for (int position = 0; position < count; ++position)
        list.AddString(name(act, position));
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
    if (FormIsEmpty())
        return;
    // A box of the panel that does not parse has been reported; the group goes
    // on with the selections as they stood.
    UpdateData(true);
    if (m_nDifficulty == -1)
        m_nDifficulty = 0;
    m_bDifficultyActive = CharacterView(m_doc).IsDifficultyOpen(m_nDifficulty) ? 1 : 0;
    if (m_nAct == -1)
        m_nAct = 0;
    UpdateData(false);
    OnSelchangeAct();
}

void CBrennicorDlg::OnSelchangeAct()
{
    if (FormIsEmpty())
        return;
    UpdateData(true);
    if (m_nDifficulty == -1)
        m_nDifficulty = 0;
    if (m_nAct == -1)
        return;
    m_bActActive = CharacterView(m_doc).IsActOpen(m_nDifficulty, m_nAct) ? 1 : 0;
    const CharacterView character(m_doc);
    FillActList(m_cbQuest, character.QuestCount(m_nAct), GameNames::QuestName, m_nAct);
    FillActList(m_cbWaypoint, character.WaypointCount(m_nAct), GameNames::WaypointName, m_nAct);
    m_nQuest = 0;
    m_nWaypoint = 0;
    UpdateData(false);
    OnSelchangeQuest();
    OnSelchangeWaypoint();
}

void CBrennicorDlg::OnSelchangeQuest()
{
    if (FormIsEmpty())
        return;
    UpdateData(true);
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nQuest == -1)
        return;
    m_nQuestState = CharacterView(m_doc).QuestState(m_nDifficulty, m_nAct, m_nQuest);
    UpdateData(false);
}

void CBrennicorDlg::OnSelchangeQuestState()
{
    if (FormIsEmpty())
        return;
    UpdateData(true);
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nQuest == -1)
        return;
    Character(m_doc).SetQuestState(m_nDifficulty, m_nAct, m_nQuest, m_nQuestState);
}

void CBrennicorDlg::OnSelchangeWaypoint()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nWaypoint == -1)
        return;
    m_bWaypointActive = CharacterView(m_doc).IsWaypointActive(m_nDifficulty, m_nAct, m_nWaypoint) ? 1 : 0;
    UpdateData(false);
}

void CBrennicorDlg::OnWaypointActive()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nAct == -1 || m_nDifficulty == -1 || m_nWaypoint == -1)
        return;
    Character(m_doc).SetWaypointActive(m_nDifficulty, m_nAct, m_nWaypoint, m_bWaypointActive != 0);
    // The boxes above show what the cascade opened.
    m_bActActive = CharacterView(m_doc).IsActOpen(m_nDifficulty, m_nAct) ? 1 : 0;
    m_bDifficultyActive = CharacterView(m_doc).IsDifficultyOpen(m_nDifficulty) ? 1 : 0;
    UpdateData(false);
}

void CBrennicorDlg::OnActActive()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nDifficulty == -1 || m_nAct == -1)
        return;
    // Act1 has no byte and is always open: its box springs back when cleared.
    Character(m_doc).SetActOpen(m_nDifficulty, m_nAct, m_bActActive != 0);
    m_bActActive = CharacterView(m_doc).IsActOpen(m_nDifficulty, m_nAct) ? 1 : 0;
    m_bDifficultyActive = CharacterView(m_doc).IsDifficultyOpen(m_nDifficulty) ? 1 : 0;
    UpdateData(false);
}

void CBrennicorDlg::OnDifficultyActive()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nDifficulty == -1)
        return;
    // Only the selected difficulty's bit changes; Normal has none, so its byte
    // is written back as it was and its box cannot be cleared.
    Character(m_doc).SetDifficultyOpen(m_nDifficulty, m_bDifficultyActive != 0);
    m_bDifficultyActive = CharacterView(m_doc).IsDifficultyOpen(m_nDifficulty) ? 1 : 0;
    UpdateData(false);
}

// The panel after each step of the opening commands: the difficulty's, the
// act's and the waypoint's part of the group.
void CBrennicorDlg::OpenAllAndShow(OpenStep upTo)
{
    OpenAll(m_doc, upTo, [this](OpenStep step) {
        switch (step) {
        case OpenStep::Difficulties: OnSelchangeDifficulty(); break;
        case OpenStep::Acts: OnSelchangeAct(); break;
        case OpenStep::Waypoints: OnSelchangeWaypoint(); break;
        }
    });
}

void CBrennicorDlg::OnActivateNightmareAndHell()
{
    if (RefuseWithoutFile(this, m_doc, "Activate Nightmare And Hell"))
        return;
    // The whole byte is replaced, unlike the check box, which changes one bit.
    OpenAllAndShow(OpenStep::Difficulties);
}

void CBrennicorDlg::OnActivateAllActs()
{
    if (RefuseWithoutFile(this, m_doc, "Activate Acts"))
        return;
    OpenAllAndShow(OpenStep::Acts);
}

void CBrennicorDlg::OnActivateAllWaypoints()
{
    if (RefuseWithoutFile(this, m_doc, "Activate Way Points"))
        return;
    OpenAllAndShow(OpenStep::Waypoints);
}

void CBrennicorDlg::OnAllQuestsDone()
{
    if (RefuseWithoutFile(this, m_doc, "All quest Done"))
        return;
    OpenAllAndShow(OpenStep::Acts);
    // Walks the panel through every quest as a user would, so that it ends on
    // the last one: Hell, Act4, "Terror's End" (Act5, "Eve of Destruction" for
    // an expansion character), "Done".
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
