// The raw byte tools of the Edit menu: Edit value, Find value and Compare. Each
// runs modally on the main window's document and lives only for its command.

#include "BrennicorDlg.h"

#include "tools/CompareDlg.h"
#include "tools/EditValueDlg.h"
#include "tools/FindValueDlg.h"
#include "resources/MainDialogIds.h"
#include "document/Messages.h"
#include "core/Prompts.h"

void CBrennicorDlg::MapRawTools()
{
    MapCommand(ID_EDIT_EDIT_VALUE, &CBrennicorDlg::OnEditValue);
    MapCommand(ID_EDIT_FIND_VALUE, &CBrennicorDlg::OnFindValue);
    MapCommand(ID_EDIT_COMPARE, &CBrennicorDlg::OnCompare);
}

void CBrennicorDlg::OnEditValue()
{
    CEditValueDlg dlg(&m_doc);
    dlg.DoModal();

    // Show what Set value changed. A refresh that fails on a short image has
    // nothing useful to say here.
    try {
        SyncWithDocument(false);
    } catch (const char *) {
    }
}

void CBrennicorDlg::OnFindValue()
{
    CFindValueDlg dlg(&m_doc);
    dlg.DoModal();
}

void CBrennicorDlg::OnCompare()
{
    try {
        CCompareDlg dlg(&m_doc);
        dlg.DoModal();
    } catch (const char *text) {
        Prompts().MessageBox(this, QString::fromLatin1(text), QString::fromLatin1(Captions::Compare),
                             MessageIcon::Stop);
    }
}
