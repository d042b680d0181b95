#include "FindValueDlg.h"

#include "CompareDlg.h"
#include "document/Diablo2Doc.h"
#include "resources/Resources.h"
#include "resources/ToolDialogIds.h"
#include "ToolTips.h"
#include "widgets/DataExchange.h"

CFindValueDlg::CFindValueDlg(CDiablo2Doc *pDoc, QWidget *parent)
    : CDialog(FindValueDialogTemplate(), parent), m_pDoc(pDoc)
{
    setObjectName(QStringLiteral("CFindValueDlg"));
    ExplainFindValue(*this, *pDoc);
    MapClicked(IDC_FIND_NEXT, &CFindValueDlg::OnFindNext);
    MapClicked(IDC_FIND, &CFindValueDlg::OnFind);
    MapEditChange(IDC_VALUE, &CFindValueDlg::OnChangeValue);
    MapClicked(IDC_COMPARE, &CFindValueDlg::OnCompare);
}

void CFindValueDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_VALUE, m_nValue);
    DDX_TextOffset(pDX, IDC_FIRST_OFFSET, m_nFirst);
    DDX_TextOffset(pDX, IDC_LAST_OFFSET, m_nLast);
}

void CFindValueDlg::OnFindNext()
{
    if (!UpdateData(true))
        return;
    // The document counts offsets unsigned: -1 arrives as 0xFFFFFFFF, and the
    // search, starting one byte further on, starts at offset 0.
    quint32 first = quint32(m_nFirst);
    quint32 last = quint32(m_nLast);
    if (m_pDoc->FindValue(first, last, m_nValue)) {
        m_nFirst = qint32(first);
        m_nLast = qint32(last);
    } else {
        m_nFirst = -1;
        m_nLast = -1;
    }
    UpdateData(false);
}

void CFindValueDlg::OnFind()
{
    if (!UpdateData(true))
        return;
    m_nFirst = -1;
    m_nLast = -1;
    UpdateData(false);
    OnFindNext();
}

void CFindValueDlg::OnChangeValue()
{
    if (!UpdateData(true))
        return;
    UpdateData(false);
    OnFind();
}

void CFindValueDlg::OnCompare()
{
    CCompareDlg dlg(m_pDoc);
    dlg.DoModal();

    m_nFirst = dlg.m_nOffset;
    m_nLast = dlg.m_nOffset;
    // A Find Next then looks for the edited file's byte after the difference.
    // Compare only shows offsets inside this document's image.
    if (dlg.m_nOffset != -1)
        m_nValue = m_pDoc->GetUInt(quint32(dlg.m_nOffset));
    UpdateData(false);
}
