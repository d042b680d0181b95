#include "CharacterFiles.h"

#include "../document/CharacterFiles.h"
#include "CharacterNames.h"
#include "Console.h"
#include "Diablo2Doc.h"
#include "Messages.h"
#include "Show.h"
#include "VersionGuard.h"

#include <QDir>

#include <algorithm>

namespace {

// The command line refuses an empty file as well: there is nothing to work on.
constexpr bool kRefuseEmpty = true;

QString PrefixFor(const QString &path, qsizetype fileCount)
{
    return fileCount > 1 ? path + QStringLiteral(": ") : QString();
}

// Whether the documents are saved over their character files or their backups.
enum class Target { CharacterFile, Backup };

QString TargetOf(const CDiablo2Doc &doc, Target target)
{
    return target == Target::Backup ? CDiablo2Doc::BackupPathOf(doc.GetFileName()) : doc.GetFileName();
}

// Saves every document to its target, all together: each new file is written
// and synced before any replaces its old one, so a failure up to then changes
// no file. A rename that fails after others succeeded leaves that file old
// and whole. False when any file is not saved; each such file is reported.
bool SaveAll(const Characters &characters, Target target)
{
    // One file is saved as the window saves it.
    if (characters.size() == 1) {
        FileContext context(characters.front().path);
        CDiablo2Doc &doc = *characters.front().doc;
        return target == Target::Backup ? doc.Backup() : doc.Save();
    }
    SafeFile::Batch batch;
    for (const Character &character : characters) {
        FileContext context(character.path);
        CDiablo2Doc &doc = *character.doc;
        // A document without a file or an image meets Save's refusal.
        if (doc.GetFileName().isEmpty() || doc.IsEmpty())
            return doc.Save();
        if (!doc.SaveInto(batch, TargetOf(doc, target)))
            return false;
    }
    if (batch.Commit())
        return true;
    // Before the renames no file is saved; during them only the files named.
    QList<QPair<qsizetype, QString>> failures = batch.Failures();
    if (failures.isEmpty()) {
        for (qsizetype i = 0; i < qsizetype(characters.size()); ++i)
            failures.append({i, batch.Error()});
    }
    for (const auto &[index, reason] : failures) {
        const Character &character = characters[size_t(index)];
        FileContext context(character.path);
        character.doc->ReportSaveFailure(TargetOf(*character.doc, target), reason);
    }
    return false;
}

// Two characters sharing one backup (Hero.d2s and Hero), or a character given
// beside its own backup (Hero.d2s and Hero.bak, or Hero.bak alone, which is
// its own backup), would leave a backup that does not hold its character:
// refused before anything is written.
bool RefuseSharedBackups(const QStringList &files)
{
    const QString caption = QString::fromLatin1(Captions::Backup);
    QList<SafeFile::Location> characters, backups;
    for (const QString &file : files) {
        const QString path = SafeFile::AbsolutePath(file);
        SafeFile::Location character, backup;
        QString ignored; // an unreachable folder is reported by the load
        SafeFile::LocationOf(path, character, &ignored);
        SafeFile::LocationOf(CDiablo2Doc::BackupPathOf(path), backup, &ignored);
        characters.append(character);
        backups.append(backup);
    }
    bool ok = true;
    for (qsizetype i = 0; i < files.size(); ++i) {
        for (qsizetype j = 0; j < files.size(); ++j) {
            if (backups[i].name.isEmpty())
                break;
            if (backups[i] == characters[j]) {
                FileContext context(files[j]);
                Report(caption, i == j ? QStringLiteral("it is its own backup")
                                       : QStringLiteral("it is the backup of %1").arg(files[i]));
                ok = false;
            } else if (j > i && backups[i] == backups[j]) {
                FileContext context(files[j]);
                Report(caption, QStringLiteral("its backup is also the backup of %1").arg(files[i]));
                ok = false;
            }
        }
    }
    return ok;
}

} // namespace

std::vector<std::shared_ptr<CharacterFiles::Lock>> LockAll(const QStringList &paths)
{
    // Every file is locked before any is read, always in the order of their
    // folders, which no save changes, so two commands never wait on each other.
    std::vector<std::shared_ptr<CharacterFiles::Lock>> locks(size_t(paths.size()));
    QStringList absolute;
    for (const QString &path : paths)
        absolute.append(SafeFile::AbsolutePath(path));
    for (const qsizetype i : SafeFile::LockOrder(absolute))
        locks[size_t(i)] = std::make_shared<CharacterFiles::Lock>(absolute[i]);
    return locks;
}

bool LoadCharacter(CDiablo2Doc &doc, const QString &path)
{
    try {
        // A file the framework cannot read has been reported by it.
        if (!CharacterFiles::Load(doc, SafeFile::AbsolutePath(path), kRefuseEmpty)) {
            doc.Clear();
            return false;
        }
        if (!VersionGuard::Accept(doc)) {
            doc.Clear();
            return false;
        }
        return true;
    } catch (const char *text) {
        doc.Clear();
        Report(QString::fromLatin1(Captions::Open), QString::fromLatin1(text));
        return false;
    }
}

bool LoadCharacters(const QStringList &paths, Characters &characters)
{
    const std::vector<std::shared_ptr<CharacterFiles::Lock>> locks = LockAll(paths);
    bool ok = true;
    characters.reserve(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        FileContext context(paths[i]);
        auto doc = std::make_unique<CDiablo2Doc>();
        if (!LoadCharacter(*doc, paths[i])) {
            ok = false;
            continue;
        }
        characters.push_back({paths[i], std::move(doc), locks[size_t(i)]});
    }
    return ok;
}

bool SaveCharacters(const Characters &characters)
{
    return SaveAll(characters, Target::CharacterFile);
}

int EditCharacters(const QStringList &paths, const QString &caption, bool dryRun, const Edit &edit)
{
    Characters characters;
    bool ok = LoadCharacters(paths, characters);
    for (const Character &character : characters) {
        FileContext context(character.path);
        CDiablo2Doc &doc = *character.doc;
        QList<NamedValue> before;
        QByteArray beforeImage;
        if (dryRun) {
            before = NamedValues(doc);
            beforeImage = ImageOf(doc);
        }
        try {
            if (!edit(doc)) {
                ok = false;
                continue;
            }
        } catch (const char *text) {
            Report(caption, QString::fromLatin1(text));
            ok = false;
            continue;
        }
        if (dryRun)
            PrintChanges(PrefixFor(character.path, paths.size()), before, beforeImage, doc);
    }
    if (!ok)
        return ExitFailure;
    if (dryRun)
        return ExitSuccess;
    return SaveCharacters(characters) ? ExitSuccess : ExitFailure;
}

int RunBackup(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;
    if (!RefuseSharedBackups(files))
        return ExitFailure;
    // All or nothing, as every other command that writes several files.
    Characters characters;
    if (!LoadCharacters(files, characters))
        return ExitFailure;
    return SaveAll(characters, Target::Backup) ? ExitSuccess : ExitFailure;
}

int RunRestore(const Invocation &invocation)
{
    const QString caption = QString::fromLatin1(Captions::Restore);
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    bool ok = true;
    Characters characters;
    const std::vector<std::shared_ptr<CharacterFiles::Lock>> locks = LockAll(files);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &path = files[i];
        FileContext context(path);
        auto doc = std::make_unique<CDiablo2Doc>();
        const std::shared_ptr<CharacterFiles::Lock> &lock = locks[size_t(i)];
        try {
            // The backup is read; the character file stays the document's
            // file, so the save below writes there.
            if (!CharacterFiles::LoadBackup(*doc, SafeFile::AbsolutePath(path), kRefuseEmpty)) {
                Report(caption, QString::fromLatin1(Messages::CantOpenBackupFile));
                ok = false;
                continue;
            }
        } catch (const char *text) {
            Report(caption, QString::fromLatin1(text));
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

    if (!IsValidCharacterName(newName)) {
        Report(caption, QString::fromLatin1(Messages::InvalidName));
        return ExitFailure;
    }
    if (newName.size() > CharacterNameLength) {
        AfxMessageBox(QStringLiteral("Please enter no more than %1 characters.").arg(CharacterNameLength));
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
    doc.SetCharName(newName);
    if (!doc.Save()) {
        CharacterFiles::MoveBack(moves);
        return ExitFailure;
    }
    return ExitSuccess;
}
