#include "widgets/ComboBox.h"

#include <QComboBox>

int CComboBox::GetCount() const
{
    return m_pControl->count();
}

void CComboBox::ResetContent()
{
    m_pControl->clear();
}

int CComboBox::AddString(const QString &text)
{
    const int selection = m_pControl->currentIndex();
    m_pControl->addItem(text);
    if (m_pControl->currentIndex() != selection)
        m_pControl->setCurrentIndex(selection);
    return m_pControl->count() - 1;
}

int CComboBox::GetCurSel() const
{
    return m_pControl->currentIndex();
}

void CComboBox::SetCurSel(int index)
{
    m_pControl->setCurrentIndex(index >= 0 && index < m_pControl->count() ? index : -1);
}

QString CComboBox::GetLBText(int index) const
{
    return m_pControl->itemText(index);
}
