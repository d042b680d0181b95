#pragma once

#include "widgets/ComboBox.h"
#include "widgets/Dialog.h"

#include <QString>

class CDiablo2Doc;

// Edit, Character and Mercenary: the status byte's flags, the game mode of
// version 105, the progression and its title, and the mercenary, in a form.
// What the file version does not hold is shown disabled, with the reason in
// its tooltip. OK writes the values that changed into the document (the file
// changes when the user saves), all of them or, when the character refuses
// one, none: the refusal is told and the dialog stays open.
class CStatusDlg : public CDialog
{
    Q_OBJECT

public:
    // pDoc is the open character's document, with values to show; it is not owned.
    explicit CStatusDlg(CDiablo2Doc *pDoc, QWidget *parent = nullptr);

    int m_bHardcore = 0;
    int m_bDied = 0;
    int m_bLadder = 0;
    int m_bExpansion = 0;
    int m_nGameMode = -1;        // 0 classic, 1 expansion, 2 Reign of the Warlock
    QString m_strProgression;
    QString m_strTitle;
    int m_bMercenaryDead = 0;
    QString m_strMercenaryType;
    int m_nMercenaryName = -1;   // the index among the type's names
    quint32 m_nMercenaryExperience = 0;
    QString m_strMercenaryLevel;

protected:
    void DoDataExchange(CDataExchange *pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // The level the experience typed means, shown beside it.
    void OnChangeMercenaryExperience();
    // Reads the character into the members and the lists, and enables what it holds.
    void ShowCharacter();
    // Writes what changed; false when the character refused it (and the user was told).
    bool WriteCharacter();

    CDiablo2Doc *m_pDoc;
    CComboBox m_cbGameMode;
    CComboBox m_cbMercenaryName;
};
