#pragma once

#include "widgets/Dialog.h"

class CDiablo2Doc;

// Reads and writes one unsigned value stored little-endian over an inclusive
// offset range of at most four bytes of the open character, whatever field
// lives there. Set value changes the document at once; the file changes only
// when the user saves.
class CEditValueDlg : public CDialog
{
    Q_OBJECT

public:
    // pDoc is the document to work on; it is not owned.
    explicit CEditValueDlg(CDiablo2Doc *pDoc, QWidget *parent = nullptr);

    quint32 m_nFirst = 0; // first offset of the range (edit 1003)
    quint32 m_nLast = 0;  // last offset of the range (edit 1006)
    quint32 m_nValue = 0; // the value, decimal (edit 1002)
    CDiablo2Doc *m_pDoc;

protected:
    void DoDataExchange(CDataExchange *pDX) override;

    void OnGetValue();
    void OnSetValue();
    // Opens Find value and takes the range it found.
    void OnFindAValue();
    // A new first offset makes the range the single byte there.
    void OnChangeFirstOffset();
    void OnChangeLastOffset();
    void OnChangeValue();
};
