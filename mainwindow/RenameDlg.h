#pragma once

#include "widgets/Dialog.h"

#include <QString>

// Asks for a character's new name: at most 14 letters a-z and A-Z.
class CRenameDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CRenameDlg(QWidget *parent = nullptr);

    QString m_strNewName;

    // Whether name is one the game accepts: letters a-z and A-Z only, at least one.
    [[nodiscard]] static bool IsValidCharacterName(const QString &name);

protected:
    void DoDataExchange(CDataExchange *pDX) override;
    void OnOK() override;
};
