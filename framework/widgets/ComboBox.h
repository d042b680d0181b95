#pragma once

#include <QString>

class QComboBox;

// A handle on a drop-down list control, bound by the data exchange. Like the
// platform's list control, adding items never changes the selection: a list
// without a selection stays without one.
class CComboBox
{
public:
    void Attach(QComboBox *control) { m_pControl = control; }
    [[nodiscard]] QComboBox *Control() const { return m_pControl; }

    [[nodiscard]] int GetCount() const;
    void ResetContent();
    // Appends an item; returns its index.
    int AddString(const QString &text);
    [[nodiscard]] int GetCurSel() const;
    // Selects index, or nothing when index is -1 or past the last item.
    void SetCurSel(int index);
    [[nodiscard]] QString GetLBText(int index) const;

private:
    QComboBox *m_pControl = nullptr;
};
