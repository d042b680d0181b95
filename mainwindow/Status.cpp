// Edit, Character and Mercenary: the dialog of the status, the game mode and
// the mercenary, and the window shown again after it.

#include "BrennicorDlg.h"

#include "core/Prompts.h"
#include "document/FileVersion.h"
#include "document/Messages.h"
#include "resources/MainDialogIds.h"
#include "StatusDlg.h"

void CBrennicorDlg::MapStatus()
{
    MapCommand(ID_EDIT_CHARACTER_STATUS, &CBrennicorDlg::OnCharacterStatus);
}

void CBrennicorDlg::OnCharacterStatus()
{
    if (!FileVersion::ShowsValues(m_doc)) {
        Prompts().MessageBox(this,
                             QString::fromLatin1(m_doc.IsEmpty() ? Messages::OpenFileFirst : Messages::RawToolsOnly),
                             QStringLiteral("Character and Mercenary"), MessageIcon::None);
        return;
    }
    CStatusDlg dlg(&m_doc, this);
    if (dlg.DoModal() != IDOK)
        return;
    // The expansion gives the class and act lists more items.
    SyncWithDocument(false);
    OnSelchangeClass();
    OnSelchangeSkill();
    OnSelchangeDifficulty();
}
