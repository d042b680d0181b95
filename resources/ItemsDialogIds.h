#pragma once

#include "widgets/DialogTemplate.h"

// The Items dialog (142) and its controls.
inline constexpr int IDD_ITEMS = 142;
const DialogTemplate &ItemsDialogTemplate();

inline constexpr int IDC_ITEM_LISTS = 1201;      // the tabs: one list of items each
inline constexpr int IDC_ITEMS_NOTE = 1202;      // why a list was not read to its end
inline constexpr int IDC_EQUIPPED = 1203;        // the body slots
inline constexpr int IDC_INVENTORY = 1204;
inline constexpr int IDC_BELT = 1205;
inline constexpr int IDC_STASH = 1206;
inline constexpr int IDC_CUBE = 1207;
inline constexpr int IDC_OTHER_ITEMS = 1208;     // items in none of the grids
inline constexpr int IDC_ITEM_DETAILS = 1209;
inline constexpr int IDC_ITEM_TABLES = 1210;     // the game's tables the items are read with
inline constexpr int IDC_GAME_DATA_FOLDER = 1211;
inline constexpr int IDC_BUILT_IN_TABLES = 1212;

// The labels above the grids, hidden with their grid.
inline constexpr int IDC_EQUIPPED_LABEL = 1213;
inline constexpr int IDC_INVENTORY_LABEL = 1214;
inline constexpr int IDC_BELT_LABEL = 1215;
inline constexpr int IDC_STASH_LABEL = 1216;
inline constexpr int IDC_CUBE_LABEL = 1217;
