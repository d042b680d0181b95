#pragma once

#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"
#include "support/CharacterFixture.h"
#include "support/MainWindowAccess.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <exception>

// The real main window on the offscreen platform with scripted prompts,
// driven as a user drives it: text into its boxes, choices from its lists,
// clicks and menu commands. Every step rethrows what a handler threw, so a
// test fails on it.
class WindowHarness
{
public:
    WindowHarness() { dlg.Create(); }

    // Writes the fixture as name in a fresh folder, opens it as File, Open
    // does and forgets the messages so far.
    QString Open(const CharacterFixture &fixture, const QString &name = QStringLiteral("Hero.d2s"))
    {
        path = QDir(dir.path()).filePath(name);
        fixture.WriteTo(path);
        dlg.OpenPath(path);
        Rethrow();
        prompts.Reset();
        return path;
    }

    // An edit's text, a list's chosen item, or "1"/"0" for a check box.
    QString Text(int id) const
    {
        QWidget *item = dlg.GetDlgItem(id);
        if (auto *edit = qobject_cast<QLineEdit *>(item))
            return edit->text();
        if (auto *combo = qobject_cast<QComboBox *>(item))
            return combo->currentText();
        return qobject_cast<QAbstractButton *>(item)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    int Count(int id) const { return dlg.DlgItem<QComboBox>(id)->count(); }

    // Puts text into an edit in one change, as a paste over its whole text does.
    void Enter(int id, const QString &text)
    {
        dlg.DlgItem<QLineEdit>(id)->setText(text);
        Rethrow();
    }
    void Choose(int id, int index)
    {
        QComboBox *combo = dlg.DlgItem<QComboBox>(id);
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        Rethrow();
    }
    void Click(int id)
    {
        QTest::mouseClick(dlg.DlgItem<QAbstractButton>(id), Qt::LeftButton);
        Rethrow();
    }
    void Command(int command)
    {
        dlg.SendCommand(command);
        Rethrow();
    }
    // File, Save, then what the file on disk holds.
    QByteArray Saved()
    {
        Command(ID_FILE_SAVE);
        return CharacterFixture::ReadFile(path);
    }
    CDiablo2Doc &Doc() { return MainWindowAccess::Document(dlg); }
    quint32 Value(quint32 first, quint32 last) { return Doc().GetUInt(first, last); }

    QTemporaryDir dir;
    QString path;
    ScriptedPrompts prompts;
    CBrennicorDlg dlg;

private:
    void Rethrow()
    {
        if (std::exception_ptr error = dlg.TakePendingError())
            std::rethrow_exception(error);
    }
};
