#include "BrennicorDlg.h"

#include "MainDialogIds.h"

void CBrennicorDlg::MapClassSkills()
{
}
