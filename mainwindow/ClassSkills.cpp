// The class and skills row of the "Character" group, and Maximize Skills and
// Maximize Attributes of the Edit menu.
//
// The file holds 30 skill bytes that do not depend on the class: byte i is the
// level of skill i of whatever class the character has. The class only decides
// which 30 names are shown for them, so a class change never touches a skill byte.

#include "BrennicorDlg.h"

#include "document/BulkEdits.h"
#include "document/Character.h"
#include "document/FieldLimits.h"
#include "document/GameNames.h"
#include "resources/MainDialogIds.h"

namespace {

constexpr quint32 kMaxSkillLevel = FieldLimits::SkillLevel;                // 20

bool IsSkill(const CDiablo2Doc &doc, int index)
{
    return index >= 0 && index < CharacterView(doc).SkillCount();
}

} // namespace

void CBrennicorDlg::MapClassSkills()
{
    MapSelChange(IDC_CLASS, &CBrennicorDlg::OnSelchangeClass);
    MapSelChange(IDC_SKILL, &CBrennicorDlg::OnSelchangeSkill);
    MapEditChange(IDC_SKILL_LEVEL, &CBrennicorDlg::OnChangeSkillLevel);
    MapCommand(ID_EDIT_MAXIMIZE_SKILLS, &CBrennicorDlg::OnMaximizeSkills);
    MapCommand(ID_EDIT_MAXIMIZE_ATTRIBUTES, &CBrennicorDlg::OnMaximizeAttributes);
}

void CBrennicorDlg::OnSelchangeClass()
{
    if (FormIsEmpty())
        return;
    // Writes the new class with the rest of the panel. Its result is not
    // tested: when a box does not parse nothing is written, and the list below
    // is refilled from the class m_nClass then holds.
    SyncWithDocument(true);

    m_cbSkill.ResetContent();
    const CharacterView character(m_doc);
    if (m_nClass >= 0 && m_nClass < character.ClassCount()) {
        for (int i = 0; i < character.SkillCount(); ++i)
            m_cbSkill.AddString(GameNames::SkillName(m_nClass, i));
        m_nSkill = 0;
    } else {
        // A class byte past the class list has no names: the list stays empty,
        // and no level is shown for a skill that is not listed.
        m_nSkill = -1;
        m_nSkillLevel = 0;
    }
    UpdateData(false);
    OnSelchangeSkill();
}

void CBrennicorDlg::OnSelchangeSkill()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (!IsSkill(m_doc, m_nSkill))
        return;
    m_nSkillLevel = CharacterView(m_doc).SkillLevel(m_nSkill);
    UpdateData(false);
}

void CBrennicorDlg::OnChangeSkillLevel()
{
    if (FormIsEmpty())
        return;
    if (!UpdateData(true))
        return;
    if (m_nSkillLevel > kMaxSkillLevel) {
        m_nSkillLevel = kMaxSkillLevel;
        UpdateData(false);
    }
    // Without a selected skill the level has no byte to go to.
    if (!IsSkill(m_doc, m_nSkill))
        return;
    if (!SyncWithDocument(true))
        return;
    Character(m_doc).SetSkillLevel(m_nSkill, m_nSkillLevel);
}

void CBrennicorDlg::OnMaximizeSkills()
{
    if (FormIsEmpty())
        return;
    MaximizeSkillLevels(m_doc);
    // The selection as the dialog last stored it; the controls are not read.
    if (IsSkill(m_doc, m_nSkill))
        m_nSkillLevel = CharacterView(m_doc).SkillLevel(m_nSkill);
    UpdateData(false);
}

void CBrennicorDlg::OnMaximizeAttributes()
{
    if (FormIsEmpty())
        return;
    const CharacterView character(m_doc);
    for (const PanelField &field : kPanelFields) {
        if (field.maximized != 0)
            PanelValue(field.id) = MaximizedValue(character, field.id);
    }
    // Shown only: the values reach the file at the next commit of the panel.
    UpdateData(false);
}
