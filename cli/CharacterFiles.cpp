#include "CharacterFiles.h"

#include "../document/CharacterFiles.h"
#include "CharacterNames.h"
#include "Console.h"
#include "Diablo2Doc.h"
#include "Messages.h"
#include "Show.h"
#include "VersionGuard.h"
#include "core/NumberParse.h"

#include <QDir>

#include <algorithm>

namespace {

// The command line refuses an empty file as well: there is nothing to work on.
constexpr bool kRefuseEmpty = true;

QString PrefixFor(const QString &path, qsizetype fileCount)
{
    return fileCount > 1 ? path + QStringLiteral(": ") : QString();
}

} // namespace

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
    // Every file is locked before any is read, always in the same order (by
    // file), so two commands on the same files never wait for each other.
    std::vector<std::pair<SafeFile::Identity, qsizetype>> order;
    for (qsizetype i = 0; i < paths.size(); ++i)
        order.push_back({SafeFile::IdentityOf(paths[i]), i});
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) {
        return std::tie(a.first.device, a.first.inode, a.second) < std::tie(b.first.device, b.first.inode, b.second);
    });
    std::vector<std::shared_ptr<CharacterFiles::Lock>> locks(size_t(paths.size()));
    for (const auto &[identity, i] : order)
        locks[size_t(i)] = std::make_shared<CharacterFiles::Lock>(SafeFile::AbsolutePath(paths[i]));

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

bool SaveCharacters(const HeldFiles &characters)
{
    // One file is saved as the window saves it.
    if (characters.size() == 1) {
        FileContext context(characters.front().path);
        return characters.front().doc->Save();
    }
    // Every new file is written before any is put in place, and all are
    // synced to disk at once: up to the renames a failure changes no file.
    SafeFile::Batch batch;
    for (const HeldFile &character : characters) {
        FileContext context(character.path);
        CDiablo2Doc &doc = *character.doc;
        // A document without a file or an image meets Save's refusal.
        if (doc.GetFileName().isEmpty() || doc.IsEmpty())
            return doc.Save();
        if (!doc.SaveInto(batch, doc.GetFileName()))
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
        character.doc->ReportSaveFailure(character.doc->GetFileName(), reason);
    }
    return false;
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

    switch (CheckNewCharacterName(newName)) {
    case NewNameCheck::Ok:
        break;
    case NewNameCheck::TooLong:
        AfxMessageBox(QString::fromLatin1(kMaxCharsMessage).arg(CharacterNameLength));
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
    doc.SetCharName(newName);
    if (!doc.Save()) {
        CharacterFiles::MoveBack(moves);
        return ExitFailure;
    }
    return ExitSuccess;
}
