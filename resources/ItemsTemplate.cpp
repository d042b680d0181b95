// The Items dialog (142): the tabs of the item lists, the body slots and the
// grids of one list, the items in no grid, the chosen item's details, and the
// game's tables the items are read with.

#include "ItemsDialogIds.h"

namespace {

using K = ControlKind;

// The grids are laid out for cells of 21 by 22 units, about square: the body
// slots 12 by 8 cells, the inventory 10 by 4, the stash 10 by 10, the cube 3
// by 4 and the belt 4 by 4.
constexpr int kLabelRow = 40;
constexpr int kGridRow = 50;
constexpr int kMiddleX = 269;
constexpr int kRightX = 489;
constexpr int kLowerRow = 230;  // the inventory's and the other items' label
constexpr int kDetailsRow = 144;
constexpr int kBottom = 328;

const DialogTemplate g_itemsDialog{
    IDD_ITEMS,
    "Items",
    656,
    356,
    "MS Sans Serif",
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_ITEM_LISTS, K::TabControl, "", 7, 5, 642, 14, StyleNone, "Item lists"},
        {IDC_ITEMS_NOTE, K::Static, "", 7, 22, 642, 16},

        {IDC_EQUIPPED_LABEL, K::Static, "Equipped:", 7, kLabelRow, 100, 8},
        {IDC_EQUIPPED, K::Custom, "", 7, kGridRow, 252, 176, StyleNone, "Equipped"},
        {IDC_INVENTORY_LABEL, K::Static, "Inventory:", 7, kLowerRow, 100, 8},
        {IDC_INVENTORY, K::Custom, "", 7, kLowerRow + 10, 210, 88, StyleNone, "Inventory"},

        {IDC_STASH_LABEL, K::Static, "Stash:", kMiddleX, kLabelRow, 100, 8},
        {IDC_STASH, K::Custom, "", kMiddleX, kGridRow, 210, 220, StyleNone, "Stash"},
        {IDC_STATIC, K::Static, "Other items:", kMiddleX, 274, 100, 8},
        {IDC_OTHER_ITEMS, K::ListBox, "", kMiddleX, 284, 210, kBottom - 284, StyleVScroll},

        {IDC_CUBE_LABEL, K::Static, "Horadric Cube:", kRightX, kLabelRow, 70, 8},
        {IDC_CUBE, K::Custom, "", kRightX, kGridRow, 63, 88, StyleNone, "Horadric Cube"},
        {IDC_BELT_LABEL, K::Static, "Belt:", kRightX + 76, kLabelRow, 60, 8},
        {IDC_BELT, K::Custom, "", kRightX + 76, kGridRow, 84, 88, StyleNone, "Belt"},
        {IDC_STATIC, K::Static, "Details:", kRightX, kDetailsRow, 160, 8},
        {IDC_ITEM_DETAILS, K::ListBox, "", kRightX, kDetailsRow + 10, 160, kBottom - kDetailsRow - 10, StyleVScroll},

        {IDC_ITEM_TABLES, K::Static, "", 7, kBottom + 5, 414, 20},
        {IDC_GAME_DATA_FOLDER, K::PushButton, "Game Data Folder...", 427, 336, 84, 14},
        {IDC_BUILT_IN_TABLES, K::PushButton, "Built-in Tables", 515, 336, 78, 14},
        {IDCANCEL, K::DefPushButton, "Close", 599, 336, 50, 14},
    }};

} // namespace

const DialogTemplate &ItemsDialogTemplate()
{
    return g_itemsDialog;
}
