#pragma once

// Drives the raw byte tools the way a user does: typing into their fields,
// clicking their buttons and reading what the fields show.

#include "widgets/Dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The text a field shows.
inline QString Shown(const CDialog &dlg, int id)
{
    return dlg.DlgItem<QLineEdit>(id)->text();
}

// "first..last" as two offset fields show them.
inline QString ShownRange(const CDialog &dlg, int firstId, int lastId)
{
    return Shown(dlg, firstId) + QStringLiteral("..") + Shown(dlg, lastId);
}

// Selects a field's whole text and types over it key by key, so every
// keystroke is a change of the field. An empty text deletes what was there.
inline void TypeInto(CDialog &dlg, int id, const QString &text)
{
    QLineEdit *edit = dlg.DlgItem<QLineEdit>(id);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

inline void Click(CDialog &dlg, int id)
{
    QTest::mouseClick(dlg.DlgItem<QPushButton>(id), Qt::LeftButton);
}
