#include "RenameDlg.h"

#include "core/Prompts.h"
#include "document/Messages.h"
#include "resources/Resources.h"
#include "widgets/DataExchange.h"

CRenameDlg::CRenameDlg(CharacterNameRule rule, QWidget *parent) : CDialog(RenameDialogTemplate(), parent), m_rule(rule)
{
    setObjectName(QStringLiteral("CRenameDlg"));
}

void CRenameDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NEW_NAME, m_strNewName);
    DDV_MaxChars(pDX, m_strNewName, m_rule.longest);
}

void CRenameDlg::OnOK()
{
    // A text longer than the rule allows is refused by the exchange, with the
    // framework's message.
    if (!UpdateData(true))
        return;
    if (const QString refusal = NewNameRefusal(m_strNewName, m_rule); !refusal.isEmpty()) {
        Prompts().MessageBox(this, refusal, QString::fromLatin1(Captions::RenameCharacter), MessageIcon::None);
        return;
    }
    CDialog::OnOK();
}
