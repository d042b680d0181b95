#pragma once

#include "widgets/Dialog.h"

// The About box: the program's name, version and notices, and an OK button.
class CAboutDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};
