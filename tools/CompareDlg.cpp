#include "CompareDlg.h"

#include "OpenCharacterFile.h"

#include "document/Compare.h"
#include "core/Prompts.h"
#include "document/Messages.h"
#include "resources/Resources.h"
#include "resources/ToolDialogIds.h"
#include "ToolTips.h"
#include "widgets/DataExchange.h"

namespace {

const char *const kCaption = Captions::Compare;

} // namespace

CCompareDlg::CCompareDlg(CDiablo2Doc *pDoc, QWidget *parent)
    : CDialog(CompareDialogTemplate(), parent), m_pDoc(pDoc)
{
    setObjectName(QStringLiteral("CCompareDlg"));
    ExplainCompare(*this);
    MapClicked(IDC_FIND, &CCompareDlg::OnFind);
    MapClicked(IDC_FIND_NEXT, &CCompareDlg::OnFindNext);
    MapClicked(IDC_LOAD, &CCompareDlg::OnLoad);
}

void CCompareDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_COMPARE_FILE, m_strFile);
    DDX_TextOffset(pDX, IDC_COMPARE_OFFSET, m_nOffset);
}

void CCompareDlg::OnLoad()
{
    bool bLoaded = false;
    try {
        bLoaded = OpenCharacterFile(m_compareDoc);
    } catch (const char *text) {
        // A file too short for its stat block stops the load part way. The tool
        // says so and goes on without a compare file; the error must not travel
        // on and end the window that opened the tool, with the character's
        // unsaved edits.
        m_compareDoc.Clear();
        Prompts().MessageBox(this, QString::fromLatin1(text), QString::fromLatin1(kCaption),
                             MessageIcon::Stop);
        return;
    }
    // Cancelled or unreadable: the compare document is empty, and the File
    // field still names the file loaded before, if any.
    if (!bLoaded)
        return;
    m_strFile = m_compareDoc.GetFileName();
    m_nOffset = -1;
    UpdateData(false);
}

void CCompareDlg::OnFind()
{
    m_nOffset = -1;
    UpdateData(false);
    OnFindNext();
}

void CCompareDlg::OnFindNext()
{
    if (!UpdateData(true))
        return;
    if (m_compareDoc.IsEmpty() || m_pDoc->IsEmpty()) {
        Prompts().MessageBox(this, QString::fromLatin1(Messages::OpenCharacterFirst),
                             QString::fromLatin1(kCaption), MessageIcon::Stop);
        return;
    }

    // Offsets are unsigned: -1 wraps to 0. Only offsets inside both images are
    // compared.
    const quint32 difference = FindDifference(*m_pDoc, m_compareDoc, quint32(m_nOffset) + 1);
    if (difference != NoDifference) {
        m_nOffset = qint32(difference);
        UpdateData(false);
        return;
    }

    m_nOffset = -1;
    const QString sizeDifference = SizeDifference(*m_pDoc, m_compareDoc);
    if (!sizeDifference.isEmpty())
        Prompts().MessageBox(this, sizeDifference, QString::fromLatin1(Captions::CompareResult), MessageIcon::None);
    UpdateData(false);
}
