// The File menu: Open, Reload, Save, Close, Backup, Restore and Exit.

#include "BrennicorDlg.h"

#include "document/Character.h"
#include "document/CharacterFiles.h"
#include "document/CharacterNames.h"
#include "document/FileVersion.h"
#include "resources/MainDialogIds.h"
#include "document/Messages.h"
#include "OtherVersions.h"
#include "tools/OpenCharacterFile.h"
#include "core/Prompts.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

const QString kTitle = QString::fromLatin1(Captions::Title);
const QString kChangedOnDisk = QStringLiteral("The character file was changed by another program after it was "
                                              "opened. Overwrite it with the values shown here?");

// How long the window waits for another program's save before it asks.
constexpr int kLockWaitMs = 1500;

QString titleFor(const QString &name)
{
    return kTitle + QStringLiteral(": ") + name;
}

// Reload and Restore: close the character, load it again with load (from its
// file or from its backup) and refresh the panels with show; the window is
// then named after the character. A load that fails leaves the window closed
// with the command's message; a character that cannot be shown whole is not
// kept half open.
} // namespace

void CBrennicorDlg::ReopenCharacter(CBrennicorDlg &dlg, const QString &caption, const QString &failure,
                                    const std::function<bool(const QString &)> &load,
                                    const std::function<void()> &show)
{
    if (dlg.m_doc.IsEmpty()) {
        Prompts().MessageBox(&dlg, QString::fromLatin1(Messages::OpenFileFirst), caption, MessageIcon::Exclamation);
        return;
    }
    const QString fileName = dlg.m_doc.GetFileName();
    // A file held for the raw tools has no name to read: the title names its file.
    const QString shownName = dlg.FormIsEmpty() ? QFileInfo(fileName).fileName()
                                                : CharacterView(dlg.m_doc).Name() + QStringLiteral(".d2s");
    dlg.OnFileClose();
    try {
        if (!load(fileName)) {
            Prompts().MessageBox(&dlg, failure, caption, MessageIcon::None);
            return;
        }
        OtherVersions::Notice(&dlg, dlg.m_doc);
        const OtherVersions::KeepImageAsRead keep(dlg.m_doc);
        show();
        dlg.SetWindowText(titleFor(shownName) + FileVersion::TitleSuffix(dlg.m_doc));
        dlg.SyncWithDocument(false);
    } catch (const char *text) {
        dlg.OnFileClose();
        Prompts().MessageBox(&dlg, QString::fromLatin1(text), caption, MessageIcon::Stop);
    }
}

std::unique_ptr<CharacterFiles::Lock> CBrennicorDlg::LockCharacterFile(const QString &caption)
{
    for (;;) {
        auto lock = std::make_unique<CharacterFiles::Lock>(m_doc.GetFileName(), kLockWaitMs);
        if (!lock->IsBusy())
            return lock;
        const QString text = QString::fromLatin1(Messages::FileBusy).arg(QDir::toNativeSeparators(m_doc.GetFileName()));
        if (!Prompts().AskYesNo(this, text, caption, MessageIcon::Exclamation))
            return nullptr;
    }
}

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
    CharacterFiles::RefuseShortImage(m_doc);
}

bool CBrennicorDlg::FormIsEmpty() const
{
    return !FileVersion::ShowsValues(m_doc);
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
    OpenDocumentAndShow([this] { return OpenCharacterFile(m_doc); });
}

void CBrennicorDlg::OpenPath(const QString &path)
{
    OnFileClose();
    OpenDocumentAndShow([this, path] { return CharacterFiles::Load(m_doc, SafeFile::AbsolutePath(path)); });
}

namespace {

// The local files of a drop, when the first is a character file by its
// extension; empty for anything else, which the window refuses.
QStringList droppedCharacterFiles(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty() || !paths.first().endsWith(QLatin1String(kCharacterFileExtension), Qt::CaseInsensitive))
        paths.clear();
    return paths;
}

} // namespace

void CBrennicorDlg::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedCharacterFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CBrennicorDlg::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedCharacterFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened from the event loop, as a command is, once the drop has ended.
    PostToHandler([this, paths] {
        OpenPath(paths.first());
        if (paths.size() > 1)
            Prompts().MessageBox(this,
                                 QString::fromLatin1(Messages::FirstOfDropped)
                                     .arg(paths.size())
                                     .arg(QFileInfo(paths.first()).fileName()),
                                 QString::fromLatin1(Captions::Open), MessageIcon::Information);
    });
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
        Prompts().MessageBox(this, QString::fromLatin1(text), QString::fromLatin1(Captions::Open), MessageIcon::Stop);
    }
}

void CBrennicorDlg::OnFileReload()
{
    ReopenCharacter(*this, QString::fromLatin1(Captions::Reload), QString::fromLatin1(Messages::CantOpenCharacterFile),
                    [this](const QString &fileName) { return CharacterFiles::Load(m_doc, fileName); },
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
    const QString caption = QString::fromLatin1(Captions::Save);
    if (m_doc.IsEmpty()) {
        Prompts().MessageBox(this, QString::fromLatin1(Messages::OpenFileFirst), caption, MessageIcon::Exclamation);
        return false;
    }
    if (!versionAgreed && !OtherVersions::MaySave(this, m_doc))
        return false;
    try {
        if (OtherVersions::SaveWritesPanel(m_doc) && !SyncWithDocument(true)) {
            Prompts().MessageBox(this, QStringLiteral("File not saved"), caption, MessageIcon::Exclamation);
            return false;
        }
        Character(m_doc).Seal();
        // Another program's change on disk is not overwritten without a word;
        // nobody waits on the lock while the user decides.
        std::unique_ptr<CharacterFiles::Lock> lock = LockCharacterFile(caption);
        if (!lock)
            return false;
        if (m_doc.ChangedOnDisk()) {
            lock.reset();
            if (!Prompts().AskYesNo(this, kChangedOnDisk, caption, MessageIcon::Exclamation))
                return false;
            if (!(lock = LockCharacterFile(caption)))
                return false;
        }
        const bool checksumWasWrong = m_doc.ChecksumWasWrong();
        if (!m_doc.Save())
            return false;
        if (checksumWasWrong)
            Prompts().MessageBox(this, QFileInfo(m_doc.GetFileName()).fileName() + QStringLiteral(": ")
                                           + QString::fromLatin1(Messages::ChecksumMended) + QLatin1Char('.'),
                                 caption, MessageIcon::Information);
        return true;
    } catch (const char *) {
        Prompts().MessageBox(this, QStringLiteral("Can't save"), caption, MessageIcon::Stop);
        return false;
    } catch (const EditRefusal &refusal) {
        // A character that could not be rebuilt says why; the file on disk
        // is as it was.
        Prompts().MessageBox(this, QStringLiteral("Can't save: %1").arg(refusal.text), caption, MessageIcon::Stop);
        return false;
    }
}

void CBrennicorDlg::OnFileSave()
{
    SaveDocument();
}

void CBrennicorDlg::OnFileBackup()
{
    const std::unique_ptr<CharacterFiles::Lock> lock = LockCharacterFile(QString::fromLatin1(Captions::Backup));
    if (lock)
        m_doc.Backup();
}

void CBrennicorDlg::OnFileRestore()
{
    // Unlike Reload, the difficulty shown is kept.
    const std::unique_ptr<CharacterFiles::Lock> lock = LockCharacterFile(QString::fromLatin1(Captions::Restore));
    if (!lock)
        return;
    ReopenCharacter(*this, QString::fromLatin1(Captions::Restore), QString::fromLatin1(Messages::CantOpenBackupFile),
                    [this](const QString &fileName) { return CharacterFiles::LoadBackup(m_doc, fileName); },
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
