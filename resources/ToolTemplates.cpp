// The raw byte tools: Find value (134), Edit value (135) and Compare (136).
//
// The three share one shape: the fields in a group box on the left, a column of
// buttons on the right with Close at its foot. A label stands right before the
// control it names; the ".." between the two offsets follows them, so it names
// neither.

#include "Resources.h"
#include "ToolDialogIds.h"

namespace {

constexpr const char *kDialogFont = "MS Sans Serif";

using K = ControlKind;

// The column of buttons and the two rows of fields, in dialog units.
constexpr int kButtonWidth = 55;
constexpr int kButtonHeight = 14;
constexpr int kButtonRows[4] = {7, 24, 41, 59};
constexpr int kFieldRow1 = 26;
constexpr int kFieldRow2 = 48;
constexpr int kLabelDrop = 2; // a label's text sits level with the text of its edit
constexpr int kEditHeight = 13;

const DialogTemplate g_findValueDialog{
    IDD_FIND_VALUE,
    "Find value",
    236,
    80,
    kDialogFont,
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::GroupBox, "Find value:", 7, 7, 160, 66},
        {IDC_STATIC, K::Static, "Value:", 13, kFieldRow1 + kLabelDrop, 30, 8, StyleRightAlign},
        {IDC_VALUE, K::Edit, "", 47, kFieldRow1, 50, kEditHeight},
        {IDC_STATIC, K::Static, "Offset:", 13, kFieldRow2 + kLabelDrop, 30, 8, StyleRightAlign},
        {IDC_FIRST_OFFSET, K::Edit, "", 47, kFieldRow2, 50, kEditHeight, StyleReadOnly},
        {IDC_LAST_OFFSET, K::Edit, "", 109, kFieldRow2, 50, kEditHeight, StyleReadOnly,
         "Last offset"},
        {IDC_STATIC, K::Static, "..", 97, kFieldRow2 + kLabelDrop, 12, 8, StyleCenter},
        {IDC_FIND, K::PushButton, "Find", 174, kButtonRows[0], kButtonWidth, kButtonHeight},
        {IDC_FIND_NEXT, K::PushButton, "Find Next", 174, kButtonRows[1], kButtonWidth,
         kButtonHeight},
        {IDC_COMPARE, K::PushButton, "Compare...", 174, kButtonRows[2], kButtonWidth,
         kButtonHeight},
        {IDCANCEL, K::PushButton, "Close", 174, kButtonRows[3], kButtonWidth, kButtonHeight},
    }};

const DialogTemplate g_editValueDialog{
    IDD_EDIT_VALUE,
    "Edit value",
    236,
    80,
    kDialogFont,
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::GroupBox, "Edit value:", 7, 7, 160, 66},
        {IDC_STATIC, K::Static, "Value:", 13, kFieldRow1 + kLabelDrop, 30, 8, StyleRightAlign},
        {IDC_VALUE, K::Edit, "", 47, kFieldRow1, 50, kEditHeight},
        {IDC_STATIC, K::Static, "Offset:", 13, kFieldRow2 + kLabelDrop, 30, 8, StyleRightAlign},
        {IDC_FIRST_OFFSET, K::Edit, "", 47, kFieldRow2, 50, kEditHeight},
        {IDC_LAST_OFFSET, K::Edit, "", 109, kFieldRow2, 50, kEditHeight, StyleNone,
         "Last offset"},
        {IDC_STATIC, K::Static, "..", 97, kFieldRow2 + kLabelDrop, 12, 8, StyleCenter},
        {IDC_GET_VALUE, K::PushButton, "Get value", 174, kButtonRows[0], kButtonWidth,
         kButtonHeight},
        {IDC_SET_VALUE, K::PushButton, "Set value", 174, kButtonRows[1], kButtonWidth,
         kButtonHeight},
        {IDC_FIND_A_VALUE, K::PushButton, "Find a value...", 174, kButtonRows[2], kButtonWidth,
         kButtonHeight},
        {IDCANCEL, K::PushButton, "Close", 174, kButtonRows[3], kButtonWidth, kButtonHeight},
    }};

const DialogTemplate g_compareDialog{
    IDD_COMPARE,
    "Compare To",
    276,
    80,
    kDialogFont,
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::GroupBox, "Find differences from another file:", 7, 7, 200, 66},
        {IDC_STATIC, K::Static, "File:", 13, kFieldRow1 + kLabelDrop, 28, 8, StyleRightAlign},
        {IDC_COMPARE_FILE, K::Edit, "", 45, kFieldRow1, 155, kEditHeight, StyleReadOnly},
        {IDC_STATIC, K::Static, "Offset:", 13, kFieldRow2 + kLabelDrop, 28, 8, StyleRightAlign},
        {IDC_COMPARE_OFFSET, K::Edit, "", 45, kFieldRow2, 50, kEditHeight, StyleReadOnly},
        {IDC_LOAD, K::PushButton, "Load...", 214, kButtonRows[0], kButtonWidth, kButtonHeight},
        {IDC_FIND, K::PushButton, "Find...", 214, kButtonRows[1], kButtonWidth, kButtonHeight},
        {IDC_FIND_NEXT, K::PushButton, "Find Next", 214, kButtonRows[2], kButtonWidth,
         kButtonHeight},
        {IDCANCEL, K::PushButton, "Close", 214, kButtonRows[3], kButtonWidth, kButtonHeight},
    }};

} // namespace

const DialogTemplate &FindValueDialogTemplate()
{
    return g_findValueDialog;
}

const DialogTemplate &EditValueDialogTemplate()
{
    return g_editValueDialog;
}

const DialogTemplate &CompareDialogTemplate()
{
    return g_compareDialog;
}
