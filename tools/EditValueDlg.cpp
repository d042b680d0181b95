#include "EditValueDlg.h"

#include "core/Prompts.h"
#include "document/Diablo2Doc.h"
#include "FindValueDlg.h"
#include "document/Messages.h"
#include "resources/Resources.h"
#include "resources/ToolDialogIds.h"
#include "ToolTips.h"
#include "widgets/DataExchange.h"

CEditValueDlg::CEditValueDlg(CDiablo2Doc *pDoc, QWidget *parent)
    : CDialog(EditValueDialogTemplate(), parent), m_pDoc(pDoc)
{
    setObjectName(QStringLiteral("CEditValueDlg"));
    ExplainEditValue(*this, *pDoc);
    MapClicked(IDC_SET_VALUE, &CEditValueDlg::OnSetValue);
    MapClicked(IDC_GET_VALUE, &CEditValueDlg::OnGetValue);
    MapClicked(IDC_FIND_A_VALUE, &CEditValueDlg::OnFindAValue);
    MapEditChange(IDC_FIRST_OFFSET, &CEditValueDlg::OnChangeFirstOffset);
    MapEditChange(IDC_LAST_OFFSET, &CEditValueDlg::OnChangeLastOffset);
    MapEditChange(IDC_VALUE, &CEditValueDlg::OnChangeValue);
}

void CEditValueDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FIRST_OFFSET, m_nFirst);
    DDX_Text(pDX, IDC_LAST_OFFSET, m_nLast);
    DDX_Text(pDX, IDC_VALUE, m_nValue);
}

void CEditValueDlg::OnGetValue()
{
    if (!UpdateData(true))
        return;
    // A range the document refuses (no file, past the end, reversed, wider than
    // four bytes) simply has no value: the field shows 0.
    try {
        m_nValue = m_pDoc->GetUInt(m_nFirst, m_nLast);
    } catch (const char *) {
        m_nValue = 0;
    }
    UpdateData(false);
}

void CEditValueDlg::OnSetValue()
{
    if (!UpdateData(true))
        return;
    try {
        m_pDoc->SetUInt(m_nFirst, m_nLast, m_nValue);
    } catch (const char *text) {
        Prompts().MessageBox(this, QString::fromLatin1(text), QString::fromLatin1(Captions::EditValue),
                             MessageIcon::Exclamation);
    }
    UpdateData(false);
}

void CEditValueDlg::OnFindAValue()
{
    CFindValueDlg dlg(m_pDoc);
    dlg.DoModal();

    // Each end is taken on its own; -1 means the search left it unset.
    if (dlg.m_nFirst != -1)
        m_nFirst = quint32(dlg.m_nFirst);
    if (dlg.m_nLast != -1)
        m_nLast = quint32(dlg.m_nLast);
    UpdateData(false);
    OnGetValue();
}

void CEditValueDlg::OnChangeFirstOffset()
{
    if (!UpdateData(true))
        return;
    m_nLast = m_nFirst;
    UpdateData(false);
    OnGetValue();
}

void CEditValueDlg::OnChangeLastOffset()
{
    if (!UpdateData(true))
        return;
    OnGetValue();
}

void CEditValueDlg::OnChangeValue()
{
    // Nothing reaches the document before Set value; the fields are only shown
    // again in plain decimal.
    if (!UpdateData(true))
        return;
    UpdateData(false);
}
