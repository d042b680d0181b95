#pragma once

#include <QString>
#include <QtGlobal>

class CComboBox;
class CDialog;
class QWidget;

// The state of one UpdateData: its direction and the control last prepared,
// which gets the focus when a read fails.
class CDataExchange
{
public:
    // Thrown by Fail; UpdateData catches it and returns false.
    struct Failure
    {
    };

    CDataExchange(CDialog *dialog, bool bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(dialog) {}

    QWidget *PrepareCtrl(int id);
    QWidget *PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control, selects an edit's text and
    // stops the exchange.
    [[noreturn]] void Fail();
    [[nodiscard]] QWidget *LastControl() const { return m_pLastControl; }

    const bool m_bSaveAndValidate;
    CDialog *const m_pDlgWnd;

private:
    QWidget *m_pLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Binds a list control to its handle.
void DDX_Control(CDataExchange *pDX, int id, CComboBox &control);
// Unsigned decimal text ("Please enter a positive integer.").
void DDX_Text(CDataExchange *pDX, int id, quint32 &value);
// Signed decimal text ("Please enter an integer.").
void DDX_Text(CDataExchange *pDX, int id, qint32 &value);
// An offset held in a signed member, -1 meaning none: every other value is
// shown and read as the unsigned offset it stands for, so offsets from 2^31
// up never show as negative numbers.
void DDX_TextOffset(CDataExchange *pDX, int id, qint32 &value);
// Plain text.
void DDX_Text(CDataExchange *pDX, int id, QString &value);
// Limits the edit prepared last to nChars when filling it; refuses a longer text
// when reading ("Please enter no more than %1 characters.").
void DDV_MaxChars(CDataExchange *pDX, const QString &value, int nChars);
// Selection index of a list: -1 for none; an index past the items shows none.
void DDX_CBIndex(CDataExchange *pDX, int id, int &index);
// Check state 0, 1 or 2; a stored state outside 0..2 shows unchecked.
void DDX_Check(CDataExchange *pDX, int id, int &value);

// The framework's validation messages stand with the number reading.
#include "core/NumberParse.h"
