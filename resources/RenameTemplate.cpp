// The rename dialog (140).

#include "Resources.h"

namespace {

using K = ControlKind;

const DialogTemplate g_renameDialog{
    IDD_RENAME,
    "Rename My Character",
    220,
    92,
    "MS Sans Serif",
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::Static,
         "If you click the \"Rename My Character\" button, then all the changes you have made so "
         "far to your character will first be saved. If you have a backup to do, it's a good idea "
         "to do it before you click the button.",
         7, 7, 206, 34},
        {IDC_STATIC, K::Static, "New Name:", 7, 50, 40, 8},
        {IDC_NEW_NAME, K::Edit, "", 50, 48, 100, 13},
        {IDOK, K::DefPushButton, "Rename My Character", 7, 71, 100, 14},
        {IDCANCEL, K::PushButton, "Cancel", 153, 71, 60, 14},
    }};

} // namespace

const DialogTemplate &RenameDialogTemplate()
{
    return g_renameDialog;
}
