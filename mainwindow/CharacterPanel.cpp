// The "Character" group of the main window: SyncWithDocument, which moves the
// whole panel between the document and the window, the change handlers of its
// edits with their limits, and the level list with its ">>" button.
//
// While a file is open the panel is the authority for its fields: every
// accepted edit writes the whole panel back at once, not only the field that
// changed.

#include "BrennicorDlg.h"

#include "FieldLimits.h"
#include "FieldRules.h"
#include "GameData.h"
#include "Layout.h"
#include "MainDialogIds.h"

namespace {

// Entry limits of the boxes (a value read from a file is shown as it is).
constexpr quint32 kValueLimit = FieldLimits::Value; // 2147483647
constexpr quint32 kPoolLimit = FieldLimits::Pool;   // 8191

using Member = quint32 CBrennicorDlg::*;

// Experience, gold, stash and the four attributes. The read's result is not
// looked at: a text that does not parse has been reported by the exchange, and
// showing the members again puts the last accepted value back into that box
// (and every box after it) before the panel is written. Experience has no limit.
void RevertAndWrite(CBrennicorDlg &dlg, Member member, bool limited)
{
    if (dlg.m_doc.IsEmpty())
        return;
    dlg.UpdateData(true);
    if (limited && dlg.*member > kValueLimit) {
        dlg.*member = kValueLimit;
        dlg.UpdateData(false);
    }
    dlg.UpdateData(false);
    dlg.SyncWithDocument(true);
}

// The maxima and the point counters: a text that does not parse stays in its
// box and nothing is written.
void LimitAndWrite(CBrennicorDlg &dlg, Member member, quint32 limit)
{
    if (dlg.m_doc.IsEmpty())
        return;
    if (!dlg.UpdateData(true))
        return;
    if (dlg.*member > limit) {
        dlg.*member = limit;
        dlg.UpdateData(false);
    }
    dlg.UpdateData(false);
    dlg.SyncWithDocument(true);
}

// The current values: like the maxima, and a current value above its row's
// maximum raises the maximum. Changing a maximum never lowers the current value.
void CurrentAndWrite(CBrennicorDlg &dlg, Member current, Member maximum)
{
    if (dlg.m_doc.IsEmpty())
        return;
    if (!dlg.UpdateData(true))
        return;
    if (dlg.*current > kPoolLimit) {
        dlg.*current = kPoolLimit;
        dlg.UpdateData(false);
    }
    if (dlg.*current > dlg.*maximum)
        dlg.*maximum = dlg.*current;
    dlg.UpdateData(false);
    dlg.SyncWithDocument(true);
}

} // namespace

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
    using namespace Layout;

    if (m_doc.IsEmpty()) {
        m_strName.clear();
        m_nExperience = 0;
        m_nGold = 0;
        m_nGoldInStash = 0;
        m_nDexterity = 0;
        m_nEnergy = 0;
        m_nStrength = 0;
        m_nVitality = 0;
        m_nMaxStamina = 0;
        m_nStamina = 0;
        m_nMaxMana = 0;
        m_nMana = 0;
        m_nMaxHealth = 0;
        m_nHealth = 0;
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
        m_nSkillPointsToAdd = 0;
        m_nAttributePointsToAdd = 0;
        m_cbSkill.ResetContent();
        m_cbQuest.ResetContent();
        m_cbWaypoint.ResetContent();
        UpdateData(false);
        return false;
    }

    if (!bSave) {
        m_strName = m_doc.GetCharName();
        m_nExperience = m_doc.GetUInt(ExperienceFirst, ExperienceLast);
        m_nGold = m_doc.GetUInt(GoldFirst, GoldLast);
        m_nGoldInStash = m_doc.GetUInt(GoldInStashFirst, GoldInStashLast);
        m_nStrength = m_doc.GetUInt(StrengthFirst, StrengthLast);
        m_nEnergy = m_doc.GetUInt(EnergyFirst, EnergyLast);
        m_nVitality = m_doc.GetUInt(VitalityFirst, VitalityLast);
        m_nDexterity = m_doc.GetUInt(DexterityFirst, DexterityLast);
        m_nMaxStamina = m_doc.GetUInt(MaxStaminaFirst, MaxStaminaLast);
        m_nStamina = m_doc.GetUInt(StaminaFirst, StaminaLast);
        m_nMaxHealth = m_doc.GetUInt(MaxHealthFirst, MaxHealthLast);
        m_nHealth = m_doc.GetUInt(HealthFirst, HealthLast);
        m_nMaxMana = m_doc.GetUInt(MaxManaFirst, MaxManaLast);
        m_nMana = m_doc.GetUInt(ManaFirst, ManaLast);
        m_nLevel = m_doc.GetUInt(CharLevel, CharLevel);

        // A stat level of 0 gives -1: no selection. Above 99 both boxes show 99.
        m_nLevelIndex = int(m_doc.GetUInt(StatLevel, StatLevel)) - 1;
        if (m_nLevelIndex > LevelCount - 1) {
            m_nLevelIndex = LevelCount - 1;
            m_nLevel = LevelCount;
        }

        // A class byte outside 0..4 has no item in the list: no class is shown,
        // and the write-back leaves that byte as it is.
        const quint32 charClass = m_doc.GetUInt(CharClass, CharClass);
        m_nClass = charClass < quint32(ClassCount) ? int(charClass) : -1;
        m_nAttributePointsToAdd = m_doc.GetUInt(AttributePointsToAddFirst, AttributePointsToAddLast);
        m_nSkillPointsToAdd = m_doc.GetUInt(SkillPointsToAddFirst, SkillPointsToAddLast);
        UpdateData(false);
        return true;
    }

    if (!UpdateData(true))
        return false;
    m_doc.SetCharName(m_strName);
    m_doc.SetUInt(ExperienceFirst, ExperienceLast, m_nExperience);
    m_doc.SetUInt(GoldFirst, GoldLast, m_nGold);
    m_doc.SetUInt(GoldInStashFirst, GoldInStashLast, m_nGoldInStash);
    m_doc.SetUInt(StrengthFirst, StrengthLast, m_nStrength);
    m_doc.SetUInt(EnergyFirst, EnergyLast, m_nEnergy);
    m_doc.SetUInt(VitalityFirst, VitalityLast, m_nVitality);
    m_doc.SetUInt(DexterityFirst, DexterityLast, m_nDexterity);
    m_doc.SetUInt(MaxStaminaFirst, MaxStaminaLast, m_nMaxStamina);
    m_doc.SetUInt(StaminaFirst, StaminaLast, m_nStamina);
    m_doc.SetUInt(MaxHealthFirst, MaxHealthLast, m_nMaxHealth);
    m_doc.SetUInt(HealthFirst, HealthLast, m_nHealth);
    m_doc.SetUInt(MaxManaFirst, MaxManaLast, m_nMaxMana);
    m_doc.SetUInt(ManaFirst, ManaLast, m_nMana);
    m_doc.SetUInt(CharLevel, CharLevel, m_nLevel);
    m_doc.SetUInt(StatLevel, StatLevel, quint32(m_nLevelIndex + 1));
    if (m_nClass >= 0 && m_nClass < ClassCount)
        m_doc.SetUInt(CharClass, CharClass, quint32(m_nClass));
    m_doc.SetUInt(AttributePointsToAddFirst, AttributePointsToAddLast, m_nAttributePointsToAdd);
    m_doc.SetUInt(SkillPointsToAddFirst, SkillPointsToAddLast, m_nSkillPointsToAdd);
    return true;
}

void CBrennicorDlg::OnChangeExperience()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nExperience, false);
}

void CBrennicorDlg::OnChangeGold()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nGold, true);
}

void CBrennicorDlg::OnChangeGoldInStash()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nGoldInStash, true);
}

void CBrennicorDlg::OnChangeStrength()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nStrength, true);
}

void CBrennicorDlg::OnChangeVitality()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nVitality, true);
}

void CBrennicorDlg::OnChangeDexterity()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nDexterity, true);
}

void CBrennicorDlg::OnChangeEnergy()
{
    RevertAndWrite(*this, &CBrennicorDlg::m_nEnergy, true);
}

void CBrennicorDlg::OnChangeMaxStamina()
{
    LimitAndWrite(*this, &CBrennicorDlg::m_nMaxStamina, kPoolLimit);
}

void CBrennicorDlg::OnChangeStamina()
{
    CurrentAndWrite(*this, &CBrennicorDlg::m_nStamina, &CBrennicorDlg::m_nMaxStamina);
}

void CBrennicorDlg::OnChangeMaxHealth()
{
    LimitAndWrite(*this, &CBrennicorDlg::m_nMaxHealth, kPoolLimit);
}

void CBrennicorDlg::OnChangeHealth()
{
    CurrentAndWrite(*this, &CBrennicorDlg::m_nHealth, &CBrennicorDlg::m_nMaxHealth);
}

void CBrennicorDlg::OnChangeMaxMana()
{
    LimitAndWrite(*this, &CBrennicorDlg::m_nMaxMana, kPoolLimit);
}

void CBrennicorDlg::OnChangeMana()
{
    CurrentAndWrite(*this, &CBrennicorDlg::m_nMana, &CBrennicorDlg::m_nMaxMana);
}

void CBrennicorDlg::OnChangeSkillPointsToAdd()
{
    LimitAndWrite(*this, &CBrennicorDlg::m_nSkillPointsToAdd, kValueLimit);
}

void CBrennicorDlg::OnChangeAttributePointsToAdd()
{
    LimitAndWrite(*this, &CBrennicorDlg::m_nAttributePointsToAdd, kValueLimit);
}

void CBrennicorDlg::OnSelchangeLevel()
{
    if (m_doc.IsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nLevelIndex < 0 || m_nLevelIndex >= LevelCount)
        return;
    m_nExperience = LevelExperienceTable[m_nLevelIndex];
    m_nLevel = quint32(m_nLevelIndex + 1);
    UpdateData(false);
    SyncWithDocument(true);
}

void CBrennicorDlg::OnLevelFromExperience()
{
    if (m_doc.IsEmpty())
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
