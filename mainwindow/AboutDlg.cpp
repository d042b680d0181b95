#include "AboutDlg.h"

#include "resources/Resources.h"

CAboutDlg::CAboutDlg(QWidget *parent)
    : CDialog(AboutDialogTemplate(), parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
}
