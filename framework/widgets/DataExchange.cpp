#include "widgets/DataExchange.h"

#include "core/Prompts.h"
#include "widgets/ComboBox.h"
#include "widgets/Dialog.h"
#include "core/NumberParse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

// An edit's text is set only when it differs, so the caret and selection of a
// box the user is typing in stay where they are.
void setEditText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

[[noreturn]] void failWith(CDataExchange *pDX, const QString &message)
{
    AfxMessageBox(message, MessageIcon::Exclamation);
    pDX->Fail();
}

} // namespace

QWidget *CDataExchange::PrepareCtrl(int id)
{
    QWidget *control = m_pDlgWnd->GetDlgItem(id);
    Q_ASSERT_X(control, "CDataExchange::PrepareCtrl", "no control with this identifier");
    m_pLastControl = control;
    m_bEditLastControl = false;
    return control;
}

QWidget *CDataExchange::PrepareEditCtrl(int id)
{
    QWidget *control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_pLastControl) {
        m_pLastControl->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl) {
            if (auto *edit = qobject_cast<QLineEdit *>(m_pLastControl))
                edit->selectAll();
        }
    }
    throw Failure();
}

void DDX_Control(CDataExchange *pDX, int id, CComboBox &control)
{
    if (!control.Control())
        control.Attach(qobject_cast<QComboBox *>(pDX->PrepareCtrl(id)));
}

void DDX_Text(CDataExchange *pDX, int id, quint32 &value)
{
    auto *edit = qobject_cast<QLineEdit *>(pDX->PrepareEditCtrl(id));
    if (!pDX->m_bSaveAndValidate) {
        setEditText(edit, QString::number(value));
        return;
    }
    quint32 parsed = 0;
    if (!ParseUnsignedText(edit->text(), parsed))
        failWith(pDX, QString::fromLatin1(kParseUIntMessage));
    value = parsed;
}

void DDX_Text(CDataExchange *pDX, int id, qint32 &value)
{
    auto *edit = qobject_cast<QLineEdit *>(pDX->PrepareEditCtrl(id));
    if (!pDX->m_bSaveAndValidate) {
        setEditText(edit, QString::number(value));
        return;
    }
    qint32 parsed = 0;
    if (!ParseSignedText(edit->text(), parsed))
        failWith(pDX, QString::fromLatin1(kParseIntMessage));
    value = parsed;
}

void DDX_TextOffset(CDataExchange *pDX, int id, qint32 &value)
{
    auto *edit = qobject_cast<QLineEdit *>(pDX->PrepareEditCtrl(id));
    if (!pDX->m_bSaveAndValidate) {
        setEditText(edit, value < 0 && value != -1 ? QString::number(quint32(value)) : QString::number(value));
        return;
    }
    qint32 negative = 0;
    quint32 offset = 0;
    if (ParseSignedText(edit->text(), negative) && negative < 0)
        value = negative;
    else if (ParseUnsignedText(edit->text(), offset))
        value = qint32(offset);
    else
        failWith(pDX, QString::fromLatin1(kParseIntMessage));
}

void DDX_Text(CDataExchange *pDX, int id, QString &value)
{
    auto *edit = qobject_cast<QLineEdit *>(pDX->PrepareEditCtrl(id));
    if (!pDX->m_bSaveAndValidate)
        setEditText(edit, value);
    else
        value = edit->text();
}

void DDV_MaxChars(CDataExchange *pDX, const QString &value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // The edit prepared last is the one this limit belongs to.
        if (auto *edit = qobject_cast<QLineEdit *>(pDX->LastControl()))
            edit->setMaxLength(nChars);
        return;
    }
    if (value.size() > nChars)
        failWith(pDX, QString::fromLatin1(kMaxCharsMessage).arg(nChars));
}

void DDX_CBIndex(CDataExchange *pDX, int id, int &index)
{
    auto *combo = qobject_cast<QComboBox *>(pDX->PrepareCtrl(id));
    if (pDX->m_bSaveAndValidate) {
        index = combo->currentIndex();
        return;
    }
    CComboBox list;
    list.Attach(combo);
    list.SetCurSel(index);
}

void DDX_Check(CDataExchange *pDX, int id, int &value)
{
    auto *box = qobject_cast<QCheckBox *>(pDX->PrepareCtrl(id));
    if (pDX->m_bSaveAndValidate) {
        // The platform's states: 0 unchecked, 1 checked, 2 indeterminate.
        switch (box->checkState()) {
        case Qt::Checked:
            value = 1;
            break;
        case Qt::PartiallyChecked:
            value = 2;
            break;
        case Qt::Unchecked:
            value = 0;
            break;
        }
        return;
    }
    if (value == 2) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    } else {
        box->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
    }
}
