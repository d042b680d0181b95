// Edit, Items: the dialog that shows the open character's items, read only.

#include "BrennicorDlg.h"

#include "core/Prompts.h"
#include "document/CharacterItems.h"
#include "document/FileVersion.h"
#include "document/Messages.h"
#include "resources/MainDialogIds.h"
#include "ItemsDlg.h"
#include "ItemsGameData.h"

void CBrennicorDlg::MapItems()
{
    MapCommand(ID_EDIT_ITEMS, &CBrennicorDlg::OnItems);
}

void CBrennicorDlg::OnItems()
{
    const QString caption = QStringLiteral("Items");
    if (!FileVersion::ShowsValues(m_doc)) {
        Prompts().MessageBox(this,
                             QString::fromLatin1(m_doc.IsEmpty() ? Messages::OpenFileFirst : Messages::RawToolsOnly),
                             caption, MessageIcon::None);
        return;
    }
    // A file whose items this program does not read (version 71) has no lists.
    QString tablesNote;
    const std::shared_ptr<const Format::Items::ItemTables> tables = WindowItemsGameData().Tables(tablesNote);
    CharacterItems::Items items = CharacterItems::ReadItems(m_doc.ImageCopy(), tables.get());
    if (items.lists.empty()) {
        QString why = items.note;
        if (!why.isEmpty())
            why[0] = why[0].toUpper();
        Prompts().MessageBox(this, QStringLiteral("The items cannot be shown: %1.").arg(why), caption,
                             MessageIcon::Exclamation);
        return;
    }
    CItemsDlg dlg(&m_doc, std::move(items), tablesNote, this);
    dlg.DoModal();
}
