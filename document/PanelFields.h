#pragma once

#include "format/FieldTable.h"

#include <QString>
#include <QtGlobal>

// The numbers of the character panel (every attribute field but the level):
// the name under which `show` lists it and `set` takes it, the most its box
// accepts, what happens to a value above that, and what Maximize Attributes
// puts into it. The window's exchange, the command line and the bulk edits
// all walk this one table.

// How a box takes what the user enters. A value read from a file is shown as
// it is, even above the limit; the window clamps a value entered above the
// limit to the limit, the command line refuses it.
enum class EntryRule {
    // A text that does not parse is replaced by the last accepted value.
    Revert,
    // A text that does not parse stays in its box and nothing is written.
    Keep,
    // As Keep; and a value above its row's maximum raises the maximum, while
    // a new maximum never lowers the current value.
    RaiseMaximum,
};

struct PanelField
{
    FieldId id;
    const char *key;
    quint32 limit;
    EntryRule rule;
    FieldId maximum;    // RaiseMaximum: the row's maximum; otherwise the field itself
    quint32 maximized;  // Maximize Attributes: the value written, or 0 when untouched
};

// In the order `show` lists them.
inline constexpr int kPanelFieldCount = 15;
extern const PanelField kPanelFields[kPanelFieldCount];

[[nodiscard]] const PanelField &Field(FieldId id);
// What the field's box holds and the numbers it takes up to limit (the most
// the open character's file holds there): the window's tooltip and
// accessible description.
[[nodiscard]] QString FieldExplanation(FieldId id, quint32 limit);
// The one wording of a value refused as too large, wherever it is entered:
// "gold 5000000 is more than 990000, the most it can hold."
[[nodiscard]] QString OverLimitText(const QString &what, const QString &value, quint64 limit);
// The wording for a value above what the editor sets where the file holds
// more (a skill level: the editor sets up to 20, the byte holds 255):
// "skill:Warmth 21 is more than 20, the most the editor sets."
[[nodiscard]] QString OverEditorLimitText(const QString &what, const QString &value, quint64 limit);
// The field with this key (letter case ignored), or null.
[[nodiscard]] const PanelField *PanelFieldNamed(const QString &key);
