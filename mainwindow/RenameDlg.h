#pragma once

#include "document/CharacterNames.h"
#include "widgets/Dialog.h"

#include <QString>

// Asks for a character's new name under the rule of the character's file
// version (CharacterNames.h): the box holds at most as many characters as the
// rule allows, and OK refuses any other name the rule refuses.
class CRenameDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CRenameDlg(CharacterNameRule rule = kWrittenNameRule, QWidget *parent = nullptr);

    QString m_strNewName;

protected:
    void DoDataExchange(CDataExchange *pDX) override;
    void OnOK() override;

private:
    CharacterNameRule m_rule;
};
