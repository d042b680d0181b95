#pragma once

#include "widgets/DialogTemplate.h"

#include <QString>

// Dialog templates, menus and strings by their resource identifiers.

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_BRENNICOR_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;      // the program's icon
inline constexpr int IDR_MENU_MAIN = 130;
inline constexpr int IDD_FIND_VALUE = 134;
inline constexpr int IDD_EDIT_VALUE = 135;
inline constexpr int IDD_COMPARE = 136;
inline constexpr int IDD_RENAME = 140;
inline constexpr int IDD_CHARACTER_STATUS = 141;
inline constexpr int IDB_BANNER = 145;

// The new name's edit in the rename dialog.
inline constexpr int IDC_NEW_NAME = 1051;

// The version the main window and About show; --version prints it beside the build's.
inline constexpr const char *kShownVersion = "Quarvinel version beta 0.015";

inline constexpr int IDP_OLE_INIT_FAILED = 100;
inline constexpr int IDS_ABOUTBOX = 101;

const DialogTemplate &AboutDialogTemplate();      // 100
const DialogTemplate &MainDialogTemplate();       // 102
const MenuTemplate &MainMenuTemplate();           // 130
const DialogTemplate &FindValueDialogTemplate();  // 134
const DialogTemplate &EditValueDialogTemplate();  // 135
const DialogTemplate &CompareDialogTemplate();    // 136
const DialogTemplate &RenameDialogTemplate();     // 140
const DialogTemplate &StatusDialogTemplate();     // 141

// A string of the string table, or an empty string.
QString LoadResourceString(int id);

// Qt resource paths of the artwork.
inline constexpr const char *kIconResource = ":/images/icon128.png";
inline constexpr const char *kBannerResource = ":/images/banner145.png";
