#include "FileCommands.h"

#include "Console.h"
#include "Session.h"
#include "VersionGuard.h"

#include "document/CharacterNames.h"
#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/Messages.h"
#include "document/CharacterFiles.h"

#include "core/NumberParse.h"

#include <QDir>

int RunBackup(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;
    HeldFiles characters;
    if (!LoadCharacters(files, characters))
        return ExitFailure;
    bool ok = true;
    for (const HeldFile &character : characters) {
        FileContext context(character.path);
        if (!character.doc->Backup())
            ok = false;
    }
    return ok ? ExitSuccess : ExitFailure;
}

int RunRestore(const Invocation &invocation)
{
    const QString caption = QString::fromLatin1(Captions::Restore);
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    bool ok = true;
    HeldFiles characters;
    for (const QString &path : files) {
        FileContext context(path);
        auto doc = std::make_unique<CDiablo2Doc>();
        auto lock = std::make_shared<CharacterFiles::Lock>(SafeFile::AbsolutePath(path));
        // The backup is read; the character file stays the document's file,
        // so the save below writes there.
        const bool loaded = RunReporting(caption, [&] {
            if (CharacterFiles::LoadBackup(*doc, SafeFile::AbsolutePath(path), kRefuseEmpty))
                return true;
            Report(caption, QString::fromLatin1(Messages::CantOpenBackupFile));
            return false;
        });
        if (!loaded) {
            ok = false;
            continue;
        }
        if (!VersionGuard::Accept(*doc)) {
            ok = false;
            continue;
        }
        characters.push_back({path, std::move(doc), lock});
    }
    if (!ok)
        return ExitFailure;
    return SaveCharacters(characters) ? ExitSuccess : ExitFailure;
}

int RunRename(const Invocation &invocation)
{
    const QString caption = QString::fromLatin1(Captions::RenameCharacter);
    const QString path = invocation.operands.at(0);
    const QString newName = invocation.operands.at(1);

    switch (CheckNewCharacterName(newName)) {
    case NewNameCheck::Ok:
        break;
    case NewNameCheck::TooLong:
        AfxMessageBox(QString::fromLatin1(kMaxCharsMessage).arg(kCharacterNameLength));
        return ExitFailure;
    case NewNameCheck::NotAName:
        Report(caption, QString::fromLatin1(Messages::InvalidName));
        return ExitFailure;
    }

    FileContext context(path);
    const QString source = SafeFile::AbsolutePath(path);
    // Held from the load to the save: the lock follows the file through its move.
    const CharacterFiles::Lock lock(source);
    CDiablo2Doc doc;
    if (!LoadCharacter(doc, path))
        return ExitFailure;

    const QList<CharacterFiles::Move> moves = CharacterFiles::RenameMoves(source, newName);
    if (CharacterFiles::AnyNameTaken(moves)) {
        Report(caption, QString::fromLatin1(Messages::NameTaken));
        return ExitFailure;
    }
    QString error;
    if (!CharacterFiles::MoveAll(moves, &error)) {
        Report(caption, error);
        return ExitFailure;
    }
    // The character is saved under its new file name with its new name in
    // it; should that fail, every file goes back to its old name.
    FileContext movedContext(QDir::toNativeSeparators(moves.first().to));
    if (!LoadCharacter(doc, moves.first().to)) {
        CharacterFiles::MoveBack(moves);
        return ExitFailure;
    }
    Character(doc).SetName(newName);
    if (!doc.Save()) {
        CharacterFiles::MoveBack(moves);
        return ExitFailure;
    }
    return ExitSuccess;
}
