#include "RenameDlg.h"

#include "document/CharacterNames.h"
#include "core/Prompts.h"
#include "document/Messages.h"
#include "resources/Resources.h"
#include "widgets/DataExchange.h"

CRenameDlg::CRenameDlg(QWidget *parent)
    : CDialog(RenameDialogTemplate(), parent)
{
    setObjectName(QStringLiteral("CRenameDlg"));
}

void CRenameDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NEW_NAME, m_strNewName);
    DDV_MaxChars(pDX, m_strNewName, kCharacterNameLength);
}

bool CRenameDlg::IsValidCharacterName(const QString &name)
{
    return ::IsValidCharacterName(name);
}

void CRenameDlg::OnOK()
{
    UpdateData(true);
    if (IsValidCharacterName(m_strNewName)) {
        CDialog::OnOK();
        return;
    }
    Prompts().MessageBox(this, QString::fromLatin1(Messages::InvalidName),
                         QString::fromLatin1(Captions::RenameCharacter), MessageIcon::None);
}
