#include "Session.h"

#include "document/Character.h"

#include "document/CharacterFiles.h"
#include "Console.h"
#include "document/Diablo2Doc.h"
#include "document/FileVersion.h"
#include "document/Messages.h"
#include "Listing.h"
#include "VersionGuard.h"

#include <algorithm>

namespace {

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
bool SaveAll(const HeldFiles &characters, Target target)
{
    // One file is saved as the window saves it.
    if (characters.size() == 1) {
        FileContext context(characters.front().path);
        CDiablo2Doc &doc = *characters.front().doc;
        return target == Target::Backup ? doc.Backup() : doc.Save();
    }
    SafeFile::Batch batch;
    for (const HeldFile &character : characters) {
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
        const HeldFile &character = characters[size_t(index)];
        FileContext context(character.path);
        character.doc->ReportSaveFailure(TargetOf(*character.doc, target), reason);
    }
    return false;
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

bool LoadCharacters(const QStringList &paths, HeldFiles &characters)
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

bool ForEachCharacter(const QStringList &paths, const Use &use)
{
    bool ok = true;
    for (const QString &path : paths) {
        FileContext context(path);
        CDiablo2Doc doc;
        // The folder is locked while the file is read, not while it is used:
        // a slow reader of the output keeps no writer waiting.
        const bool loaded = [&] {
            const CharacterFiles::Lock lock(SafeFile::AbsolutePath(path));
            return LoadCharacter(doc, path);
        }();
        if (loaded)
            use(path, doc);
        else
            ok = false;
    }
    return ok;
}

bool SaveCharacters(const HeldFiles &characters)
{
    return SaveAll(characters, Target::CharacterFile);
}

bool SaveBackups(const HeldFiles &characters)
{
    return SaveAll(characters, Target::Backup);
}

bool RunReporting(const QString &caption, const std::function<bool()> &step)
{
    try {
        return step();
    } catch (const char *text) {
        Report(caption, QString::fromLatin1(text));
        return false;
    } catch (const EditRefusal &refusal) {
        Report(caption, refusal.text);
        return false;
    }
}

int EditCharacters(const QStringList &paths, const QString &caption, bool dryRun, const Edit &edit)
{
    HeldFiles characters;
    bool ok = LoadCharacters(paths, characters);
    for (const HeldFile &character : characters) {
        FileContext context(character.path);
        CDiablo2Doc &doc = *character.doc;
        QList<NamedValue> before;
        QByteArray beforeImage;
        if (dryRun) {
            if (FileVersion::ShowsValues(doc)) // else only its bytes can change
                before = NamedValues(doc);
            beforeImage = ImageOf(doc);
        }
        // Every change of the command is built into the file once.
        if (!RunReporting(caption, [&] {
                EditScope scope(doc);
                if (!edit(doc))
                    return false;
                scope.Commit();
                return true;
            })) {
            ok = false;
            continue;
        }
        // Saved as the window saves it: a later file's size and checksum match its bytes.
        Character(doc).Seal();
        if (!dryRun && doc.ChecksumWasWrong())
            Report(QString::fromLatin1(Captions::Save), QString::fromLatin1(Messages::ChecksumMended));
        if (dryRun)
            PrintChanges(PrefixFor(character.path, paths.size()), before, beforeImage, doc);
    }
    if (!ok)
        return ExitFailure;
    if (dryRun)
        return ExitSuccess;
    return SaveCharacters(characters) ? ExitSuccess : ExitFailure;
}
