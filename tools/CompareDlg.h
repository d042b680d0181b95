#pragma once

#include "document/Diablo2Doc.h"
#include "widgets/Dialog.h"

#include <QString>

// Loads a second character file and steps through the offsets at which its
// bytes differ from the character being edited, one difference per click, then
// tells by how many bytes the two differ in length. The edited character is
// compared as it stands in memory, unsaved edits included. Neither document is
// changed.
class CCompareDlg : public CDialog
{
    Q_OBJECT

public:
    // pDoc is the edited character's document; it is not owned.
    explicit CCompareDlg(CDiablo2Doc *pDoc, QWidget *parent = nullptr);

    QString m_strFile;     // full path of the compare file (edit 1009)
    qint32 m_nOffset = -1; // the difference shown last, or -1 (edit 1010)
    CDiablo2Doc *m_pDoc;

protected:
    void DoDataExchange(CDataExchange *pDX) override;

    void OnLoad();
    // Walks from offset 0.
    void OnFind();
    // Walks on from one byte after the difference shown; after the last one it
    // shows -1, and the next walk starts over at offset 0.
    void OnFindNext();

private:
    // The compare file, released with the dialog.
    CDiablo2Doc m_compareDoc;
};
