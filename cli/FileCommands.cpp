#include "FileCommands.h"

#include "Console.h"
#include "Session.h"
#include "VersionGuard.h"

#include "document/CharacterNames.h"
#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/Messages.h"
#include "document/CharacterFiles.h"

#include <QDir>

#include <map>
#include <set>

namespace {

// Two characters sharing one backup (Hero.d2s and Hero), or a character given
// beside its own backup (Hero.d2s and Hero.bak, or Hero.bak alone, which is
// its own backup), would leave a backup that does not hold its character:
// refused before anything is written.
bool RefuseSharedBackups(const QStringList &files)
{
    const QString caption = QString::fromLatin1(Captions::Backup);
    // Where each character and each backup finally stands, with the first
    // argument that reaches it: one look-up a file, however many files.
    std::map<SafeFile::Location, qsizetype> characters, backups;
    QList<SafeFile::Location> backupOf;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = SafeFile::AbsolutePath(files[i]);
        SafeFile::Location character, backup;
        QString ignored; // an unreachable folder is reported by the load
        if (SafeFile::LocationOf(path, character, &ignored))
            characters.emplace(character, i);
        SafeFile::LocationOf(CDiablo2Doc::BackupPathOf(path), backup, &ignored);
        backupOf.append(backup);
    }
    // One line for each file refused, with the first reason found.
    std::set<qsizetype> refused;
    const auto refuse = [&](qsizetype file, const QString &reason) {
        if (!refused.insert(file).second)
            return;
        FileContext context(files[file]);
        Report(caption, reason);
    };
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (backupOf[i].name.isEmpty())
            continue;
        if (const auto character = characters.find(backupOf[i]); character != characters.end())
            refuse(character->second, character->second == i ? QStringLiteral("it is its own backup")
                                                              : QStringLiteral("it is the backup of %1").arg(files[i]));
        if (const auto [earlier, added] = backups.emplace(backupOf[i], i); !added)
            refuse(i, QStringLiteral("its backup is also the backup of %1").arg(files[earlier->second]));
    }
    return refused.empty();
}

} // namespace

int RunBackup(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;
    if (!RefuseSharedBackups(files))
        return ExitFailure;
    // All or nothing, as every other command that writes several files.
    HeldFiles characters;
    if (!LoadCharacters(files, characters))
        return ExitFailure;
    return SaveBackups(characters) ? ExitSuccess : ExitFailure;
}

int RunRestore(const Invocation &invocation)
{
    const QString caption = QString::fromLatin1(Captions::Restore);
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    bool ok = true;
    HeldFiles characters;
    const std::vector<std::shared_ptr<CharacterFiles::Lock>> locks = LockAll(files);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &path = files[i];
        FileContext context(path);
        auto doc = std::make_unique<CDiablo2Doc>();
        const std::shared_ptr<CharacterFiles::Lock> &lock = locks[size_t(i)];
        // The backup is read; the character file stays the document's file,
        // so the save below writes there. A backup that does not open has
        // been reported by the open, with its name and why: one line.
        const bool loaded = RunReporting(caption, [&] {
            return CharacterFiles::LoadBackup(*doc, SafeFile::AbsolutePath(path), kRefuseEmpty);
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

    const QString source = SafeFile::AbsolutePath(path);
    // Held from the load to the save: the lock follows the file through its move.
    const CharacterFiles::Lock lock(source);
    CDiablo2Doc doc;
    {
        FileContext context(path);
        if (!LoadCharacter(doc, path))
            return ExitFailure;
    }
    // The new name follows the game's rule for the file's version; like the
    // rename box, its refusal names no file.
    if (const QString refusal = NewNameRefusal(newName, NameRuleOf(doc)); !refusal.isEmpty()) {
        Report(caption, refusal);
        return ExitFailure;
    }

    FileContext context(path);
    QList<CharacterFiles::Move> moves = CharacterFiles::RenameMoves(source, newName);
    if (const QString taken = CharacterFiles::NameTakenMessage(moves); !taken.isEmpty()) {
        Report(caption, taken);
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
