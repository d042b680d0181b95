#pragma once

#include <vector>

// Dialogs, menus and their controls as data. Positions and sizes are in dialog
// units; the builder converts them with the dialog font's metrics.

enum class ControlKind {
    Static,        // a text label
    GroupBox,
    Bitmap,        // a picture; text names the image resource
    Edit,
    PushButton,
    DefPushButton, // the default push button
    CheckBox,      // an auto check box: toggles itself when clicked
    ComboBox,      // a drop-down list
    ListBox,       // a list of lines, one of them current
    TabControl,    // a row of tabs; the dialog shows what the chosen one holds
    Custom,        // a place for a control of the program's own (CDialog::ReplaceDlgItem)
};

// Control styles that change behaviour or looks.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleReadOnly = 1u << 0,
    StyleDisabled = 1u << 1,
    StyleVScroll = 1u << 2,   // a list with a vertical scroll bar
    StyleBorder = 1u << 3,
    StyleSorted = 1u << 4,
    StyleRightAlign = 1u << 5, // a label whose text stands at its right edge
    StyleCenter = 1u << 6,     // a label whose text stands centred
};

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

struct ControlTemplate
{
    int id;               // IDC_STATIC for labels without an identifier
    ControlKind kind;
    const char *text;     // caption, label or image resource; may be empty
    int x, y, cx, cy;     // dialog units
    unsigned style = StyleNone;
    const char *accessibleName = nullptr; // for controls without a label of their own
};

struct MenuItemTemplate
{
    const char *text;     // nullptr for a separator; '&' marks the mnemonic
    int command;          // 0 for a separator or a popup
    std::vector<MenuItemTemplate> items; // a popup's items
    int shortcut = 0;     // the platform's standard key (a QKeySequence::StandardKey), 0 for none
    const char *keys = nullptr; // or a key of the program's own, "Ctrl+M"
};

struct MenuTemplate
{
    int id;
    std::vector<MenuItemTemplate> popups;
};

enum DialogStyle : unsigned {
    DialogModalFrame = 0,
    DialogMinimizeBox = 1u << 0,
    DialogAppWindow = 1u << 1, // shown in the task bar as the program's window
};

struct DialogTemplate
{
    int id;
    const char *caption;
    int cx, cy;           // client area in dialog units
    const char *fontName;
    int pointSize;
    unsigned style;
    const MenuTemplate *menu; // or nullptr
    std::vector<ControlTemplate> controls;
};
