// The main window (102), its menu (130), the About box (100) and the string table.

#include "MainDialogIds.h"
#include "Resources.h"

#include <QKeySequence>

namespace {

constexpr const char *kDialogFont = "MS Sans Serif";

using K = ControlKind;

const MenuTemplate g_mainMenu{
    IDR_MENU_MAIN,
    {
        {"&File",
         0,
         {
             {"&Open...", ID_FILE_OPEN, {}, QKeySequence::Open},
             {"Reload", ID_FILE_RELOAD, {}, QKeySequence::Refresh},
             {"&Save", ID_FILE_SAVE, {}, QKeySequence::Save},
             {"&Close", ID_FILE_CLOSE, {}, QKeySequence::Close},
             {nullptr, 0, {}},
             {"&Backup", ID_FILE_BACKUP, {}},
             {"&Restore", ID_FILE_RESTORE, {}},
             {nullptr, 0, {}},
             {"E&xit", ID_FILE_EXIT, {}, QKeySequence::Quit},
         }},
        {"&Edit",
         0,
         {
             {"&Edit Value...", ID_EDIT_EDIT_VALUE, {}},
             {"&Find Value...", ID_EDIT_FIND_VALUE, {}, QKeySequence::Find},
             {"&Compare...", ID_EDIT_COMPARE, {}},
             {nullptr, 0, {}},
             {"Maximize Skills", ID_EDIT_MAXIMIZE_SKILLS, {}},
             {"Maximize Attributes", ID_EDIT_MAXIMIZE_ATTRIBUTES, {}},
             {nullptr, 0, {}},
             {"Rename Character...", ID_EDIT_RENAME_CHARACTER, {}},
             {"Character and &Mercenary...", ID_EDIT_CHARACTER_STATUS, {}, 0, "Ctrl+M"},
             {"&Items...", ID_EDIT_ITEMS, {}, 0, "Ctrl+I"},
             {nullptr, 0, {}},
             {"&Activate All Way Points", ID_EDIT_ACTIVATE_ALL_WAYPOINTS, {}},
             {"&Activate All Acts", ID_EDIT_ACTIVATE_ALL_ACTS, {}},
             {"Activate Nightmare and Hell", ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL, {}},
             {nullptr, 0, {}},
             {"All Quests Done", ID_EDIT_ALL_QUESTS_DONE, {}},
         }},
        {"&Help",
         0,
         {
             {"&Help", ID_HELP_HELP, {}},
             {"&About", ID_HELP_ABOUT, {}},
         }},
    }};

// Controls in the order of the window, row by row, so that the tab order follows
// what the user sees. A label stands right before the control it names.
const DialogTemplate g_mainDialog{
    IDD_BRENNICOR_DIALOG,
    "QUARVINEL",
    299,
    264,
    kDialogFont,
    8,
    DialogMinimizeBox | DialogAppWindow,
    &g_mainMenu,
    {
        {IDC_STATIC, K::Bitmap, kBannerResource, 3, 3, 293, 68, StyleBorder},
        {IDC_STATIC, K::Static, "Compatible with Diablo 2 up to version 1.03", 3, 47, 173, 8},
        {IDC_STATIC, K::Static, kShownVersion, 206, 47, 90, 8, StyleRightAlign},

        {IDC_STATIC, K::GroupBox, "Quests And Waypoints:", 3, 57, 293, 44},
        {IDC_DIFFICULTY, K::ComboBox, "", 15, 67, 51, 62, StyleVScroll, "Difficulty"},
        {IDC_ACT, K::ComboBox, "", 72, 67, 39, 64, StyleVScroll, "Act"},
        {IDC_QUEST, K::ComboBox, "", 117, 67, 113, 163, StyleVScroll, "Quest"},
        {IDC_QUEST_STATE, K::ComboBox, "", 235, 67, 57, 62, StyleVScroll, "Quest state"},
        {IDC_DIFFICULTY_ACTIVE, K::CheckBox, "Diff. Activ.", 15, 85, 49, 10, StyleNone,
         "Diff. Activ. (difficulty open)"},
        {IDC_ACT_ACTIVE, K::CheckBox, "Act Activ.", 72, 85, 43, 10, StyleNone, "Act Activ. (act open)"},
        {IDC_WAYPOINT, K::ComboBox, "", 117, 84, 113, 167, StyleVScroll, "Waypoint"},
        {IDC_WAYPOINT_ACTIVE, K::CheckBox, "WP Activ.", 236, 86, 53, 10, StyleNone,
         "WP Activ. (waypoint active)"},

        {IDC_STATIC, K::GroupBox, "Character", 3, 105, 293, 153},
        {IDC_STATIC, K::Static, "Name:", 10, 121, 58, 8, StyleRightAlign},
        {IDC_NAME, K::Edit, "", 72, 119, 45, 13, StyleReadOnly},
        {IDC_STATIC, K::Static, "Class:", 135, 122, 32, 8, StyleRightAlign},
        {IDC_CLASS, K::ComboBox, "", 170, 120, 124, 131},

        {IDC_STATIC, K::Static, "Experience:", 10, 139, 58, 8, StyleRightAlign},
        {IDC_EXPERIENCE, K::Edit, "", 72, 137, 45, 13},
        {IDC_LEVEL_FROM_EXPERIENCE, K::PushButton, ">>", 120, 139, 10, 10, StyleNone,
         "Level from experience"},
        {IDC_STATIC, K::Static, "Level:", 135, 139, 32, 8, StyleRightAlign},
        {IDC_LEVEL_LIST, K::ComboBox, "", 170, 137, 70, 121, StyleVScroll},
        {IDC_LEVEL, K::Edit, "", 243, 137, 50, 13, StyleDisabled, "Level number"},

        {IDC_STATIC, K::Static, "Gold:", 10, 156, 58, 8, StyleRightAlign},
        {IDC_GOLD, K::Edit, "", 72, 154, 45, 13},
        {IDC_STATIC, K::Static, "Skills:", 135, 156, 32, 8, StyleRightAlign},
        {IDC_SKILL, K::ComboBox, "", 170, 154, 70, 106, StyleVScroll},
        {IDC_SKILL_LEVEL, K::Edit, "", 243, 154, 50, 13, StyleNone, "Skill level"},

        {IDC_STATIC, K::Static, "Gold in stash:", 10, 174, 58, 8, StyleRightAlign},
        {IDC_GOLD_IN_STASH, K::Edit, "", 72, 172, 45, 13},
        {IDC_STATIC, K::Static, "Skill Points to add:", 135, 174, 105, 8, StyleRightAlign},
        {IDC_SKILL_POINTS_TO_ADD, K::Edit, "", 243, 172, 50, 13},

        {IDC_STATIC, K::Static, "Strength:", 10, 190, 58, 8, StyleRightAlign},
        {IDC_STRENGTH, K::Edit, "", 72, 188, 45, 13},
        {IDC_STATIC, K::Static, "Attribute Points to add:", 135, 190, 105, 8, StyleRightAlign},
        {IDC_ATTRIBUTE_POINTS_TO_ADD, K::Edit, "", 243, 188, 50, 13},

        {IDC_STATIC, K::Static, "Dexterity:", 10, 207, 58, 8, StyleRightAlign},
        {IDC_DEXTERITY, K::Edit, "", 72, 205, 45, 13},
        {IDC_STATIC, K::Static, "Stamina:", 135, 207, 32, 8, StyleRightAlign},
        {IDC_STATIC, K::Static, "Max:", 168, 207, 18, 8, StyleRightAlign},
        {IDC_MAX_STAMINA, K::Edit, "", 188, 206, 50, 13, StyleNone, "Maximum stamina"},
        {IDC_STAMINA, K::Edit, "", 243, 205, 50, 13, StyleNone, "Stamina"},

        {IDC_STATIC, K::Static, "Vitality:", 10, 224, 58, 8, StyleRightAlign},
        {IDC_VITALITY, K::Edit, "", 72, 222, 45, 13},
        {IDC_STATIC, K::Static, "Health:", 135, 224, 32, 8, StyleRightAlign},
        {IDC_STATIC, K::Static, "Max:", 168, 224, 18, 8, StyleRightAlign},
        {IDC_MAX_HEALTH, K::Edit, "", 188, 222, 50, 13, StyleNone, "Maximum health"},
        {IDC_HEALTH, K::Edit, "", 243, 222, 50, 13, StyleNone, "Health"},

        {IDC_STATIC, K::Static, "Energy:", 10, 241, 58, 8, StyleRightAlign},
        {IDC_ENERGY, K::Edit, "", 72, 239, 45, 13},
        {IDC_STATIC, K::Static, "Mana:", 135, 241, 32, 8, StyleRightAlign},
        {IDC_STATIC, K::Static, "Max:", 168, 241, 18, 8, StyleRightAlign},
        {IDC_MAX_MANA, K::Edit, "", 188, 239, 50, 13, StyleNone, "Maximum mana"},
        {IDC_MANA, K::Edit, "", 243, 239, 50, 13, StyleNone, "Mana"},
    }};

const DialogTemplate g_aboutDialog{
    IDD_ABOUTBOX,
    "About QUARVINEL",
    235,
    226,
    kDialogFont,
    8,
    DialogModalFrame,
    nullptr,
    {
        {IDC_STATIC, K::Bitmap, kIconResource, 11, 10, 24, 24},
        {IDC_STATIC, K::Static, "QUARVINEL", 44, 9, 120, 9},
        {IDC_STATIC, K::Static, kShownVersion, 44, 20, 120, 8},
        {IDC_STATIC, K::Static,
         "A character editor for Diablo 2 save files (*.d2s) of game versions up to 1.03.",
         44, 31, 126, 26},
        {IDC_STATIC, K::Static, "Knows file versions 71, 87, 89, 92, 96 to 99 and 105.", 44, 59, 184, 8},
        {IDOK, K::DefPushButton, "OK", 178, 7, 50, 14},
        {IDC_STATIC, K::GroupBox, "Notice", 7, 72, 221, 54},
        {IDC_STATIC, K::Static,
         "Keep a backup of every character before you edit it: File, Backup writes one "
         "beside the character file and File, Restore brings it back. The editor never "
         "touches a running game.",
         14, 84, 207, 38},
        {IDC_STATIC, K::GroupBox, "Credits", 7, 130, 221, 40},
        {IDC_STATIC, K::Static,
         "Written by the QUARVINEL developers with Qt. Diablo is a trademark of its owner; "
         "this program is not made or endorsed by it.",
         14, 142, 207, 26},
        {IDC_STATIC, K::GroupBox, "Contact", 7, 174, 221, 45},
        {IDC_STATIC, K::Static,
         "Questions, ideas and bug reports are welcome through the project's issue tracker. "
         "The manual is installed with the program (Help, Help).",
         14, 186, 207, 30},
    }};

} // namespace

const MenuTemplate &MainMenuTemplate()
{
    return g_mainMenu;
}

const DialogTemplate &MainDialogTemplate()
{
    return g_mainDialog;
}

const DialogTemplate &AboutDialogTemplate()
{
    return g_aboutDialog;
}

QString LoadResourceString(int id)
{
    switch (id) {
    case IDP_OLE_INIT_FAILED:
        return QStringLiteral(
            "OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    case IDS_ABOUTBOX:
        return QStringLiteral("&About Brennicor...");
    default:
        return QString();
    }
}
