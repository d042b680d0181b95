#pragma once

#include "BrennicorDlg.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QComboBox;
class QLineEdit;

// The real main window, shown on the offscreen platform with scripted prompts,
// driven the way a user drives it: keys into its edits, choices from its lists,
// clicks on its button and menu. Tests then read the document's bytes.
//
// Every interaction rethrows an error that a handler threw (the dispatch keeps
// it while no modal run is there to carry it), so a test fails on it.
class PanelHarness
{
public:
    PanelHarness();
    ~PanelHarness();

    // Writes the fixture's file, opens it in the document and runs the loading
    // sequence that the file commands run: SyncWithDocument(false),
    // OnSelchangeClass, OnSelchangeSkill. Then clears the modified flag and the
    // recorded messages, so that IsModified() tells whether anything was
    // written afterwards.
    bool Load(const CharacterFixture &fixture);

    QLineEdit *Edit(int id) const;
    QComboBox *Combo(int id) const;
    QString Text(int id) const;

    // Selects the edit's whole text with Ctrl+A and types text over it, one key
    // at a time (each key is a change of the text).
    void Type(int id, const QString &text);
    // Selects the edit's whole text and deletes it.
    void ClearEdit(int id);
    // Opens the list's popup, moves to item index with the keys and takes it
    // with Enter.
    void Choose(int id, int index);
    void Click(int id);
    // Triggers a menu command.
    void Command(int command);

    [[nodiscard]] QByteArray Image() const { return DocumentImage(dlg.m_doc); }
    [[nodiscard]] quint32 Value(quint32 first, quint32 last) const { return dlg.m_doc.GetUInt(first, last); }

    ScriptedPrompts prompts;
    CBrennicorDlg dlg;

private:
    void RethrowHandlerError();

    std::unique_ptr<QTemporaryDir> m_dir;
};

// Empty when the images are equal; otherwise one "offset: expected xx, got yy"
// line per differing byte (and a line about the lengths), for readable failures.
QString Differences(const QByteArray &expected, const QByteArray &actual);

// The image with the low bytes of value written little-endian over first..last.
QByteArray WithValue(QByteArray image, quint32 first, quint32 last, quint32 value);
