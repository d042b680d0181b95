// Edit, Rename Character: moves the character file and its companions to the
// new name, reopens it, writes the new name into it and saves it.

#include "BrennicorDlg.h"

#include "document/Character.h"
#include "document/CharacterFiles.h"
#include "document/CharacterNames.h"
#include "document/FileVersion.h"
#include "resources/MainDialogIds.h"
#include "document/Messages.h"
#include "RenameDlg.h"
#include "core/Prompts.h"

#include <QDir>

namespace {

const QString kCaption = QString::fromLatin1(Captions::RenameCharacter);

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
    // A file held for the raw tools has no name field to write the new name into.
    if (FormIsEmpty()) {
        Prompts().MessageBox(this, QString::fromLatin1(Messages::RawToolsOnly), kCaption, MessageIcon::None);
        return;
    }
    // The new name follows the game's rule for the file's version.
    CRenameDlg dlg(NameRuleOf(m_doc));
    if (dlg.DoModal() == IDOK)
        RenameCharacter(dlg.m_strNewName);
}

void CBrennicorDlg::RenameCharacter(const QString &newName)
{
    // The rename dialog promises that the changes made so far are saved first.
    if (!SaveDocument())
        return;

    const QString fileName = m_doc.GetFileName();
    // The lock on the folder covers the moves and the final save.
    const std::unique_ptr<CharacterFiles::Lock> lock = LockCharacterFile(kCaption);
    if (!lock)
        return;
    OnFileClose();

    // Either every file of the character takes the new name or none does.
    QList<CharacterFiles::Move> moves = CharacterFiles::RenameMoves(fileName, newName);
    if (const QString taken = CharacterFiles::NameTakenMessage(moves); !taken.isEmpty()) {
        Prompts().MessageBox(this, taken, kCaption, MessageIcon::None);
        return;
    }
    QString error;
    if (!CharacterFiles::MoveAll(moves, &error)) {
        Prompts().MessageBox(this, error, kCaption, MessageIcon::Exclamation);
        return;
    }
    if (!SaveUnderNewName(moves, newName)) {
        // Whatever failed has been said; every file goes back, and the
        // character is shown again as it was saved before the moves.
        OnFileClose();
        CharacterFiles::MoveBack(moves);
        Prompts().MessageBox(this, QString::fromLatin1(Messages::RenameUndone), kCaption, MessageIcon::Exclamation);
        OpenDocumentAndShow([this, fileName] { return CharacterFiles::Load(m_doc, fileName); });
    }
}

bool CBrennicorDlg::SaveUnderNewName(const QList<CharacterFiles::Move> &moves, const QString &newName)
{
    try {
        if (!CharacterFiles::Load(m_doc, QDir::toNativeSeparators(moves.first().to))) {
            Prompts().MessageBox(this, QString::fromLatin1(Messages::CantOpenCharacterFile), kCaption,
                                 MessageIcon::None);
            return false;
        }
    } catch (const char *text) {
        OnFileClose();
        Prompts().MessageBox(this, QString::fromLatin1(text), kCaption, MessageIcon::Stop);
        return false;
    }
    SyncWithDocument(false);
    OnSelchangeClass();
    OnSelchangeSkill();
    SetWindowText(QString::fromLatin1(Captions::Title) + QStringLiteral(": ") + newName + QStringLiteral(".d2s")
                  + FileVersion::TitleSuffix(m_doc));
    Character(m_doc).SetName(newName);
    SyncWithDocument(false);
    // Saving the pending edits above asked already about another version's layout.
    return SaveDocument(true);
}
