#pragma once

#include "widgets/Dialog.h"

class CDiablo2Doc;

// Searches the open character for an unsigned value stored little-endian in 1
// to 4 bytes and shows where it was found. m_nFirst..m_nLast is the last match,
// or -1..-1 when there is none: the tool's result for whoever opened it.
class CFindValueDlg : public CDialog
{
    Q_OBJECT

public:
    // pDoc is the document to search; it is not owned.
    explicit CFindValueDlg(CDiablo2Doc *pDoc, QWidget *parent = nullptr);

    quint32 m_nValue = 0; // the value to search for (edit 1002)
    qint32 m_nFirst = -1; // first offset of the last match (edit 1003)
    qint32 m_nLast = -1;  // last offset of the last match (edit 1006)
    CDiablo2Doc *m_pDoc;

protected:
    void DoDataExchange(CDataExchange *pDX) override;

    // Continues one byte after the start of the last match; after the last
    // match it shows -1..-1, and the next search starts over at offset 0.
    void OnFindNext();
    // Searches from offset 0.
    void OnFind();
    // Every change of the value starts a new search.
    void OnChangeValue();
    // Opens Compare and takes the difference it showed last, with the byte of
    // this document there as the value.
    void OnCompare();
};
