#include "RenameDlg.h"

#include "Resources.h"
#include "core/Prompts.h"
#include "widgets/DataExchange.h"

namespace {

constexpr int kMaxNameLength = 14;

} // namespace

CRenameDlg::CRenameDlg(QWidget *parent)
    : CDialog(RenameDialogTemplate(), parent)
{
    setObjectName(QStringLiteral("CRenameDlg"));
}

void CRenameDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NEW_NAME, m_strNewName);
    DDV_MaxChars(pDX, m_strNewName, kMaxNameLength);
}

bool CRenameDlg::IsValidCharacterName(const QString &name)
{
    // An empty name would move the files to ".d2s", ".map" and ".key".
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        if (!letter)
            return false;
    }
    return true;
}

void CRenameDlg::OnOK()
{
    UpdateData(true);
    if (IsValidCharacterName(m_strNewName)) {
        CDialog::OnOK();
        return;
    }
    Prompts().MessageBox(this,
                         QStringLiteral("This is not a valid Diablo2 character name. Try to use only a-z, A-Z.\n"),
                         QStringLiteral("Rename Character"), MessageIcon::None);
}
