// The Character and Mercenary dialog (141).

#include "Resources.h"
#include "StatusDialogIds.h"

namespace {

using K = ControlKind;

constexpr int kEditHeight = 13;
constexpr int kLabelDrop = 2; // a label's top below its field's
constexpr int kLabelX = 15;
constexpr int kFieldX = 62;

constexpr int kFlagsRow = 20;
constexpr int kModeRow = 36;
constexpr int kProgressRow = 53;
constexpr int kStateRow = 93;
constexpr int kDeadRow = 106;
constexpr int kTypeRow = 120;
constexpr int kNameRow = 137;
constexpr int kExperienceRow = 154;
constexpr int kButtonRow = 181;

const DialogTemplate g_statusDialog{
    IDD_CHARACTER_STATUS,
    "Character and Mercenary",
    250,
    202,
    "MS Sans Serif",
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::GroupBox, "Status:", 7, 7, 236, 66},
        {IDC_HARDCORE, K::CheckBox, "Hardcore", kLabelX, kFlagsRow, 52, 10},
        {IDC_DIED, K::CheckBox, "Died", 72, kFlagsRow, 52, 10},
        {IDC_LADDER, K::CheckBox, "Ladder", 129, kFlagsRow, 52, 10},
        {IDC_EXPANSION, K::CheckBox, "Expansion", 186, kFlagsRow, 52, 10},
        {IDC_STATIC, K::Static, "Game mode:", kLabelX, kModeRow + kLabelDrop, 45, 8},
        {IDC_GAME_MODE, K::ComboBox, "", kFieldX, kModeRow, 110, 60},
        {IDC_STATIC, K::Static, "Progression:", kLabelX, kProgressRow + kLabelDrop, 45, 8},
        {IDC_PROGRESSION, K::Edit, "", kFieldX, kProgressRow, 30, kEditHeight, StyleReadOnly},
        {IDC_STATIC, K::Static, "Title:", 102, kProgressRow + kLabelDrop, 22, 8, StyleRightAlign},
        {IDC_TITLE, K::Edit, "", 128, kProgressRow, 107, kEditHeight, StyleReadOnly},

        {IDC_STATIC, K::GroupBox, "Mercenary:", 7, 80, 236, 94},
        {IDC_MERCENARY_STATE, K::Static, "", kLabelX, kStateRow, 220, 8},
        {IDC_MERCENARY_DEAD, K::CheckBox, "Dead", kLabelX, kDeadRow, 60, 10},
        {IDC_STATIC, K::Static, "Type:", kLabelX, kTypeRow + kLabelDrop, 45, 8},
        {IDC_MERCENARY_TYPE, K::Edit, "", kFieldX, kTypeRow, 173, kEditHeight, StyleReadOnly},
        {IDC_STATIC, K::Static, "Name:", kLabelX, kNameRow + kLabelDrop, 45, 8},
        {IDC_MERCENARY_NAME, K::ComboBox, "", kFieldX, kNameRow, 110, 120, StyleVScroll},
        {IDC_STATIC, K::Static, "Experience:", kLabelX, kExperienceRow + kLabelDrop, 45, 8},
        {IDC_MERCENARY_EXPERIENCE, K::Edit, "", kFieldX, kExperienceRow, 60, kEditHeight},
        {IDC_STATIC, K::Static, "Level:", 130, kExperienceRow + kLabelDrop, 22, 8, StyleRightAlign},
        {IDC_MERCENARY_LEVEL, K::Edit, "", 156, kExperienceRow, 30, kEditHeight, StyleReadOnly},

        {IDOK, K::DefPushButton, "OK", 133, kButtonRow, 50, 14},
        {IDCANCEL, K::PushButton, "Cancel", 193, kButtonRow, 50, 14},
    }};

} // namespace

const DialogTemplate &StatusDialogTemplate()
{
    return g_statusDialog;
}
