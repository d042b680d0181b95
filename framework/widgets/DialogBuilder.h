#pragma once

#include "widgets/DialogTemplate.h"

#include <QFont>
#include <QHash>
#include <QRect>

class QWidget;

// Converts dialog units to pixels with a font's metrics: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of
// its character height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont &font);
    [[nodiscard]] int X(int units) const;
    [[nodiscard]] int Y(int units) const;
    [[nodiscard]] QRect Rect(int x, int y, int cx, int cy) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};

// The font a template asks for; an unknown family falls back to the system's
// sans-serif face at the same size.
QFont DialogFont(const DialogTemplate &dialogTemplate);

// Creates the template's controls as children of client, in template order (so
// the tab order follows the template), and returns them by identifier. A label
// directly before an edit or a list becomes its buddy and gives it its
// accessible name.
QHash<int, QWidget *> BuildDialogControls(const DialogTemplate &dialogTemplate, QWidget *client,
                                          const DialogUnits &units);
