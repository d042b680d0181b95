// Edit, Rename Character: moves the character file and its companions to the
// new name, reopens it, writes the new name into it and saves it.

#include "BrennicorDlg.h"

#include "CharacterNames.h"
#include "FileVersion.h"
#include "MainDialogIds.h"
#include "RenameDlg.h"
#include "core/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString kCaption = QStringLiteral("Rename Character");

} // namespace

void CBrennicorDlg::MapRename()
{
    MapCommand(ID_EDIT_RENAME_CHARACTER, &CBrennicorDlg::OnRenameCharacter);
}

void CBrennicorDlg::OnRenameCharacter()
{
    if (m_doc.IsEmpty()) {
        Prompts().MessageBox(this, QStringLiteral("Open a character you want to rename first."), kCaption,
                             MessageIcon::None);
        return;
    }
    CRenameDlg dlg;
    if (dlg.DoModal() == IDOK)
        RenameCharacter(dlg.m_strNewName);
}

void CBrennicorDlg::RenameCharacter(const QString &newName)
{
    // The rename dialog promises that the changes made so far are saved first.
    if (!SaveDocument())
        return;

    const QString fileName = m_doc.GetFileName();
    OnFileClose();

    const QFileInfo info(fileName);
    const QString directory = info.absolutePath() + QLatin1Char('/');
    const QString oldBase = info.completeBaseName();
    const QString target = directory + newName + QLatin1String(CharacterFileExtension);

    // A link under the new name counts as taken even when it points nowhere:
    // the move would not replace it.
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        Prompts().MessageBox(this, QStringLiteral("File already exist. Try a different character name."),
                             kCaption, MessageIcon::None);
        return;
    }

    // The companions follow only when the character file itself has moved.
    QStringList stuck;
    if (QFile::rename(fileName, target)) {
        for (const char *extension : CompanionFileExtensions) {
            const QString companion = directory + oldBase + QLatin1String(extension);
            const QString moved = directory + newName + QLatin1String(extension);
            // A companion that cannot follow keeps its old name; the user hears
            // of it rather than finding the character split later.
            if (QFileInfo::exists(companion) && !QFile::rename(companion, moved))
                stuck.append(QFileInfo(companion).fileName());
        }
    }

    try {
        if (!m_doc.OpenFile(QDir::toNativeSeparators(target))) {
            Prompts().MessageBox(this, QStringLiteral("Can't open the character file."), kCaption,
                                 MessageIcon::None);
            return;
        }
        RefuseShortImage();
    } catch (const char *text) {
        OnFileClose();
        Prompts().MessageBox(this, QString::fromLatin1(text), kCaption, MessageIcon::Stop);
        return;
    }
    SyncWithDocument(false);
    OnSelchangeClass();
    OnSelchangeSkill();
    SetWindowText(QStringLiteral("QUARVINEL: ") + newName + QStringLiteral(".d2s") + FileVersion::TitleSuffix(m_doc));
    m_doc.SetCharName(newName);
    SyncWithDocument(false);
    // Saving pending edits above asked about another version's layout already.
    SaveDocument(true);
    if (!stuck.isEmpty())
        Prompts().MessageBox(this,
                             QStringLiteral("%1 could not be renamed and keeps its old name.")
                                 .arg(stuck.join(QStringLiteral(" and "))),
                             kCaption, MessageIcon::Exclamation);
}
