// The "Character" group of the main window: SyncWithDocument, which moves the
// whole panel between the document and the window, the change handlers of its
// edits with their limits, and the level list with its ">>" button.
//
// While a file is open the panel is the authority for its fields: every
// accepted edit writes the whole panel back at once, not only the field that
// changed.

#include "BrennicorDlg.h"

#include "document/Character.h"
#include "document/FieldRules.h"
#include "document/GameData.h"
#include "resources/MainDialogIds.h"
#include "document/PanelFields.h"
#include "document/GameNames.h"
#include "widgets/DataExchange.h"
#include "core/Prompts.h"

#include <QWidget>

namespace {

struct PanelBox
{
    FieldId field;
    int id;
};

// The number boxes in the order of the data exchange: the first thirteen come
// before the class row, the two point counters after it.
constexpr PanelBox kBoxes[] = {
    {FieldId::Experience, IDC_EXPERIENCE},
    {FieldId::Gold, IDC_GOLD},
    {FieldId::GoldInStash, IDC_GOLD_IN_STASH},
    {FieldId::Dexterity, IDC_DEXTERITY},
    {FieldId::Energy, IDC_ENERGY},
    {FieldId::Strength, IDC_STRENGTH},
    {FieldId::Vitality, IDC_VITALITY},
    {FieldId::MaxStamina, IDC_MAX_STAMINA},
    {FieldId::Stamina, IDC_STAMINA},
    {FieldId::MaxMana, IDC_MAX_MANA},
    {FieldId::Mana, IDC_MANA},
    {FieldId::MaxHealth, IDC_MAX_HEALTH},
    {FieldId::Health, IDC_HEALTH},
    {FieldId::SkillPointsToAdd, IDC_SKILL_POINTS_TO_ADD},
    {FieldId::AttributePointsToAdd, IDC_ATTRIBUTE_POINTS_TO_ADD},
};
constexpr int kBoxesBeforeClassRow = 13;

} // namespace

quint32 &CBrennicorDlg::PanelValue(FieldId field)
{
    switch (field) {
    case FieldId::Experience: return m_nExperience;
    case FieldId::Gold: return m_nGold;
    case FieldId::GoldInStash: return m_nGoldInStash;
    case FieldId::Strength: return m_nStrength;
    case FieldId::Dexterity: return m_nDexterity;
    case FieldId::Vitality: return m_nVitality;
    case FieldId::Energy: return m_nEnergy;
    case FieldId::AttributePointsToAdd: return m_nAttributePointsToAdd;
    case FieldId::SkillPointsToAdd: return m_nSkillPointsToAdd;
    case FieldId::Health: return m_nHealth;
    case FieldId::MaxHealth: return m_nMaxHealth;
    case FieldId::Mana: return m_nMana;
    case FieldId::MaxMana: return m_nMaxMana;
    case FieldId::Stamina: return m_nStamina;
    case FieldId::MaxStamina: return m_nMaxStamina;
    case FieldId::Level: break; // not a box of the panel
    }
    Q_UNREACHABLE();
}

void CBrennicorDlg::FitToCharacter(const CharacterView *character)
{
    const auto fit = [](CComboBox &list, int count, QString (*name)(int), int &selection) {
        if (list.GetCount() == count)
            return;
        list.ResetContent();
        for (int k = 0; k < count; ++k)
            list.AddString(name(k));
        if (selection >= count)
            selection = -1;
    };
    fit(m_cbClass, character ? character->ClassCount() : kClassCount, GameNames::ClassName, m_nClass);
    fit(m_cbAct, character ? character->ActCount() : kActCount, GameNames::ActName, m_nAct);
    for (const PanelBox &box : kBoxes) {
        const quint32 limit = character ? character->MostItHolds(box.field) : Field(box.field).limit;
        Explain(GetDlgItem(box.id), FieldExplanation(box.field, limit));
    }
}

void CBrennicorDlg::ExchangePanelBoxes(CDataExchange *pDX, bool beforeClassRow)
{
    const int from = beforeClassRow ? 0 : kBoxesBeforeClassRow;
    const int to = beforeClassRow ? kBoxesBeforeClassRow : int(std::size(kBoxes));
    for (int k = from; k < to; ++k)
        DDX_Text(pDX, kBoxes[k].id, PanelValue(kBoxes[k].field));
}

// A change in a number box: read the panel, hold the value to its limit (a
// current value above its maximum raises the maximum), show the panel again
// and write it whole. For a Revert box the read's result is not looked at: a
// text that does not parse has been reported by the exchange, and showing the
// members again puts the last accepted value back into that box (and every
// box after it) before the panel is written. For the other boxes a text that
// does not parse stays and nothing is written.
void CBrennicorDlg::ChangePanelBox(FieldId id)
{
    if (FormIsEmpty())
        return;
    const PanelField &field = Field(id);
    quint32 &value = PanelValue(id);
    if (!UpdateData(true) && field.rule != EntryRule::Revert)
        return;
    const quint32 limit = CharacterView(m_doc).MostItHolds(id);
    if (value > limit) {
        value = limit;
        UpdateData(false);
    }
    if (field.rule == EntryRule::RaiseMaximum && value > PanelValue(field.maximum))
        PanelValue(field.maximum) = value;
    UpdateData(false);
    SyncWithDocument(true);
}

void CBrennicorDlg::MapCharacterPanel()
{
    MapEditChange(IDC_EXPERIENCE, &CBrennicorDlg::OnChangeExperience);
    MapEditChange(IDC_GOLD, &CBrennicorDlg::OnChangeGold);
    MapEditChange(IDC_GOLD_IN_STASH, &CBrennicorDlg::OnChangeGoldInStash);
    MapEditChange(IDC_STRENGTH, &CBrennicorDlg::OnChangeStrength);
    MapEditChange(IDC_VITALITY, &CBrennicorDlg::OnChangeVitality);
    MapEditChange(IDC_DEXTERITY, &CBrennicorDlg::OnChangeDexterity);
    MapEditChange(IDC_ENERGY, &CBrennicorDlg::OnChangeEnergy);
    MapEditChange(IDC_MAX_STAMINA, &CBrennicorDlg::OnChangeMaxStamina);
    MapEditChange(IDC_STAMINA, &CBrennicorDlg::OnChangeStamina);
    MapEditChange(IDC_MAX_HEALTH, &CBrennicorDlg::OnChangeMaxHealth);
    MapEditChange(IDC_HEALTH, &CBrennicorDlg::OnChangeHealth);
    MapEditChange(IDC_MAX_MANA, &CBrennicorDlg::OnChangeMaxMana);
    MapEditChange(IDC_MANA, &CBrennicorDlg::OnChangeMana);
    MapEditChange(IDC_SKILL_POINTS_TO_ADD, &CBrennicorDlg::OnChangeSkillPointsToAdd);
    MapEditChange(IDC_ATTRIBUTE_POINTS_TO_ADD, &CBrennicorDlg::OnChangeAttributePointsToAdd);
    MapSelChange(IDC_LEVEL_LIST, &CBrennicorDlg::OnSelchangeLevel);
    MapClicked(IDC_LEVEL_FROM_EXPERIENCE, &CBrennicorDlg::OnLevelFromExperience);
}

bool CBrennicorDlg::SyncWithDocument(bool bSave)
{
    if (FormIsEmpty()) {
        m_strName.clear();
        for (const PanelField &field : kPanelFields)
            PanelValue(field.id) = 0;
        m_nLevelIndex = -1;
        m_nLevel = 0;
        m_nClass = -1;
        m_nSkillLevel = 0;
        m_nSkill = -1;
        m_nDifficulty = -1;
        m_nAct = -1;
        m_nQuestState = -1;
        m_bWaypointActive = 0;
        m_bActActive = 0;
        m_bDifficultyActive = 0;
        m_cbSkill.ResetContent();
        m_cbQuest.ResetContent();
        m_cbWaypoint.ResetContent();
        FitToCharacter(nullptr);
        UpdateData(false);
        return false;
    }

    if (!bSave) {
        const CharacterView character(m_doc);
        FitToCharacter(&character);
        m_strName = character.Name();
        for (const PanelField &field : kPanelFields)
            PanelValue(field.id) = character.Number(field.id);
        m_nLevel = character.HeaderLevel();

        // A stat level of 0 gives -1: no selection. Above 99 both boxes show 99.
        m_nLevelIndex = int(character.StatLevel()) - 1;
        if (m_nLevelIndex > kLevelCount - 1) {
            m_nLevelIndex = kLevelCount - 1;
            m_nLevel = kLevelCount;
        }

        // A class byte past the list has no item in it: no class is shown,
        // and the write-back leaves that byte as it is.
        m_nClass = character.HasClass() ? int(character.ClassByte()) : -1;
        UpdateData(false);
        return true;
    }

    if (!UpdateData(true))
        return false;
    // The panel goes into the character whole or not at all (the scope drops
    // its edits when one is refused): a value the character cannot take is
    // told, and the panel shows the character as it was, with the user's
    // earlier edits.
    try {
        // Only the values that changed are written, and built in once.
        EditScope scope(m_doc);
        Character character(m_doc);
        character.SetName(m_strName);
        for (const PanelField &field : kPanelFields)
            character.SetNumber(field.id, PanelValue(field.id));
        character.SetLevels(m_nLevel, quint32(m_nLevelIndex + 1));
        if (m_nClass >= 0 && m_nClass < character.ClassCount())
            character.SetClassByte(quint32(m_nClass));
        scope.Commit();
    } catch (const EditRefusal &refusal) {
        Prompts().MessageBox(this, refusal.text, AfxGetAppTitle(), MessageIcon::Exclamation);
        SyncWithDocument(false);
        return false;
    }
    return true;
}

void CBrennicorDlg::OnChangeExperience()
{
    ChangePanelBox(FieldId::Experience);
}

void CBrennicorDlg::OnChangeGold()
{
    ChangePanelBox(FieldId::Gold);
}

void CBrennicorDlg::OnChangeGoldInStash()
{
    ChangePanelBox(FieldId::GoldInStash);
}

void CBrennicorDlg::OnChangeStrength()
{
    ChangePanelBox(FieldId::Strength);
}

void CBrennicorDlg::OnChangeVitality()
{
    ChangePanelBox(FieldId::Vitality);
}

void CBrennicorDlg::OnChangeDexterity()
{
    ChangePanelBox(FieldId::Dexterity);
}

void CBrennicorDlg::OnChangeEnergy()
{
    ChangePanelBox(FieldId::Energy);
}

void CBrennicorDlg::OnChangeMaxStamina()
{
    ChangePanelBox(FieldId::MaxStamina);
}

void CBrennicorDlg::OnChangeStamina()
{
    ChangePanelBox(FieldId::Stamina);
}

void CBrennicorDlg::OnChangeMaxHealth()
{
    ChangePanelBox(FieldId::MaxHealth);
}

void CBrennicorDlg::OnChangeHealth()
{
    ChangePanelBox(FieldId::Health);
}

void CBrennicorDlg::OnChangeMaxMana()
{
    ChangePanelBox(FieldId::MaxMana);
}

void CBrennicorDlg::OnChangeMana()
{
    ChangePanelBox(FieldId::Mana);
}

void CBrennicorDlg::OnChangeSkillPointsToAdd()
{
    ChangePanelBox(FieldId::SkillPointsToAdd);
}

void CBrennicorDlg::OnChangeAttributePointsToAdd()
{
    ChangePanelBox(FieldId::AttributePointsToAdd);
}

void CBrennicorDlg::OnSelchangeLevel()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nLevelIndex < 0 || m_nLevelIndex >= kLevelCount)
        return;
    m_nExperience = ExperienceOfLevel(m_nLevelIndex + 1);
    m_nLevel = quint32(m_nLevelIndex + 1);
    UpdateData(false);
    if (!SyncWithDocument(true))
        return;
    // The tooltips follow the limits, which the level raises for gold.
    const CharacterView character(m_doc);
    FitToCharacter(&character);
}

void CBrennicorDlg::OnLevelFromExperience()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    // The walk over the level table ends in one step the user could see: the
    // list shows the level the experience has reached.
    m_nLevelIndex = LevelIndexFromExperience(m_nExperience);
    UpdateData(false);
    // Reads the panel again, so the list's new selection is used.
    OnSelchangeLevel();
    SyncWithDocument(true);
}
