#include "AboutDlg.h"

#include "Resources.h"

CAboutDlg::CAboutDlg(QWidget *parent)
    : CDialog(AboutDialogTemplate(), parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
}
