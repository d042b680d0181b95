// The File menu: Open, Reload, Save, Close, Backup, Restore and Exit.

#include "BrennicorDlg.h"

#include "FileVersion.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "OtherVersions.h"
#include "core/Prompts.h"

#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("QUARVINEL");

QString titleFor(const QString &name)
{
    return kTitle + QStringLiteral(": ") + name;
}

// Reload and Restore: close the character, load it again with load (from its
// file or from its backup) and refresh the panels with show; the window is
// then named after the character. A load that fails leaves the window closed
// with the command's message; a character that cannot be shown whole is not
// kept half open.
void ReopenCharacter(CBrennicorDlg &dlg, const QString &caption, const QString &failure,
                     const std::function<bool(const QString &)> &load, const std::function<void()> &show)
{
    if (dlg.m_doc.IsEmpty()) {
        Prompts().MessageBox(&dlg, QStringLiteral("Open a file first!"), caption, MessageIcon::Exclamation);
        return;
    }
    const QString fileName = dlg.m_doc.GetFileName();
    const QString charName = dlg.m_doc.GetCharName();
    dlg.OnFileClose();
    try {
        if (!load(fileName)) {
            Prompts().MessageBox(&dlg, failure, caption, MessageIcon::None);
            return;
        }
        dlg.RefuseShortImage();
        OtherVersions::Notice(&dlg, dlg.m_doc);
        const OtherVersions::KeepImageAsRead keep(dlg.m_doc);
        show();
        dlg.SetWindowText(titleFor(charName + QStringLiteral(".d2s")) + FileVersion::TitleSuffix(dlg.m_doc));
        dlg.SyncWithDocument(false);
    } catch (const char *text) {
        dlg.OnFileClose();
        Prompts().MessageBox(&dlg, QString::fromLatin1(text), caption, MessageIcon::Stop);
    }
}

} // namespace

void CBrennicorDlg::MapFileCommands()
{
    MapCommand(ID_FILE_OPEN, &CBrennicorDlg::OnFileOpen);
    MapCommand(ID_FILE_RELOAD, &CBrennicorDlg::OnFileReload);
    MapCommand(ID_FILE_SAVE, &CBrennicorDlg::OnFileSave);
    MapCommand(ID_FILE_CLOSE, &CBrennicorDlg::OnFileClose);
    MapCommand(ID_FILE_BACKUP, &CBrennicorDlg::OnFileBackup);
    MapCommand(ID_FILE_RESTORE, &CBrennicorDlg::OnFileRestore);
    MapCommand(ID_FILE_EXIT, &CBrennicorDlg::OnFileExit);
}

void CBrennicorDlg::RefuseShortImage()
{
    // Every panel reads and writes up to the last skill byte; an image that
    // does not reach it is never shown, so no later edit can run past its end.
    if (!m_doc.IsEmpty() && m_doc.GetSize() < Layout::MinimumCharacterSize)
        throw "offset out of range";
}

void CBrennicorDlg::OnFileClose()
{
    m_doc.Clear();
    SyncWithDocument(false);
    SetWindowText(kTitle);
}

void CBrennicorDlg::OnFileOpen()
{
    OnFileClose();
    OpenDocumentAndShow([this] { return m_doc.OpenWithDialog(); });
}

void CBrennicorDlg::OpenPath(const QString &path)
{
    OnFileClose();
    OpenDocumentAndShow([this, path] { return m_doc.OpenFile(QFileInfo(path).absoluteFilePath()); });
}

void CBrennicorDlg::OpenDocumentAndShow(const std::function<bool()> &load)
{
    try {
        if (!load())
            return;
        RefuseShortImage();
        OtherVersions::Notice(this, m_doc);
        const OtherVersions::KeepImageAsRead keep(m_doc);
        SyncWithDocument(false);
        m_nDifficulty = 0;
        OnSelchangeDifficulty();
        OnSelchangeClass();
        OnSelchangeSkill();
        SetWindowText(titleFor(QFileInfo(m_doc.GetFileName()).fileName()) + FileVersion::TitleSuffix(m_doc));
    } catch (const char *text) {
        // A character that could not be shown whole is not kept half open.
        OnFileClose();
        Prompts().MessageBox(this, QString::fromLatin1(text), QStringLiteral("Open"), MessageIcon::Stop);
    }
}

void CBrennicorDlg::OnFileReload()
{
    ReopenCharacter(*this, QStringLiteral("Reload"), QStringLiteral("Can't open the character file."),
                    [this](const QString &fileName) { return m_doc.OpenFile(fileName); },
                    [this] {
                        m_nDifficulty = 0;
                        SyncWithDocument(false);
                        OnSelchangeClass();
                        OnSelchangeSkill();
                        OnSelchangeDifficulty();
                        OnSelchangeClass();
                        OnSelchangeSkill();
                    });
}

bool CBrennicorDlg::SaveDocument(bool versionAgreed)
{
    const QString caption = QStringLiteral("Save");
    if (m_doc.IsEmpty()) {
        Prompts().MessageBox(this, QStringLiteral("Open a file first!"), caption, MessageIcon::Exclamation);
        return false;
    }
    if (!versionAgreed && !OtherVersions::MaySave(this, m_doc))
        return false;
    try {
        if (OtherVersions::SaveWritesPanel(m_doc) && !SyncWithDocument(true)) {
            Prompts().MessageBox(this, QStringLiteral("File not saved"), caption, MessageIcon::Exclamation);
            return false;
        }
        return m_doc.Save();
    } catch (const char *) {
        Prompts().MessageBox(this, QStringLiteral("Can't save"), caption, MessageIcon::Stop);
        return false;
    }
}

void CBrennicorDlg::OnFileSave()
{
    SaveDocument();
}

void CBrennicorDlg::OnFileBackup()
{
    m_doc.Backup();
}

void CBrennicorDlg::OnFileRestore()
{
    // Unlike Reload, the difficulty shown is kept.
    ReopenCharacter(*this, QStringLiteral("Restore"), QStringLiteral("Can't open backup file."),
                    [this](const QString &fileName) { return m_doc.OpenBackup(fileName); },
                    [this] {
                        SyncWithDocument(false);
                        OnSelchangeClass();
                        OnSelchangeSkill();
                    });
}

void CBrennicorDlg::OnFileExit()
{
    OnCancel();
}
