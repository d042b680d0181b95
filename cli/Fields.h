#pragma once

#include <QString>
#include <QtGlobal>

// The numbers of the character panel under the names the command line uses
// for them (in `show`, in its JSON and in `set`), with the entry limit of
// each box and, for a current value, the row's maximum that it raises.
struct PanelField
{
    const char *key;
    quint32 first;
    quint32 last;
    quint32 limit;
    const char *maximumKey; // null unless a current value
};

inline constexpr int PanelFieldCount = 15;
extern const PanelField kPanelFields[PanelFieldCount];

// The field with this key (letter case ignored), or null.
const PanelField *PanelFieldNamed(const QString &key);
