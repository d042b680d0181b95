#include "CharacterFiles.h"

#include "CharacterNames.h"
#include "Console.h"
#include "Diablo2Doc.h"
#include "Layout.h"
#include "Show.h"
#include "VersionGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char *const kOffsetOutOfRange = "offset out of range";

// An image that does not reach the last skill byte is never shown by the
// window, so no command may work on it either.
void RefuseShortImage(const CDiablo2Doc &doc)
{
    if (doc.GetSize() < Layout::MinimumCharacterSize)
        throw kOffsetOutOfRange;
}

QString PrefixFor(const QString &path, qsizetype fileCount)
{
    return fileCount > 1 ? path + QStringLiteral(": ") : QString();
}

} // namespace

bool LoadCharacter(CDiablo2Doc &doc, const QString &path)
{
    try {
        // A file the framework cannot read has been reported by it.
        if (!doc.OpenFile(QFileInfo(path).absoluteFilePath())) {
            doc.Clear();
            return false;
        }
        RefuseShortImage(doc);
        if (!VersionGuard::Accept(doc)) {
            doc.Clear();
            return false;
        }
        return true;
    } catch (const char *text) {
        doc.Clear();
        Report(QStringLiteral("Open"), QString::fromLatin1(text));
        return false;
    }
}

bool LoadCharacters(const QStringList &paths, Characters &characters)
{
    bool ok = true;
    characters.reserve(size_t(paths.size()));
    for (const QString &path : paths) {
        FileContext context(path);
        auto doc = std::make_unique<CDiablo2Doc>();
        if (!LoadCharacter(*doc, path)) {
            ok = false;
            continue;
        }
        characters.push_back({path, std::move(doc)});
    }
    return ok;
}

bool SaveCharacters(const Characters &characters)
{
    bool ok = true;
    for (const Character &character : characters) {
        FileContext context(character.path);
        if (!character.doc->Save())
            ok = false;
    }
    return ok;
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
    Characters characters;
    if (!LoadCharacters(files, characters))
        return ExitFailure;
    bool ok = true;
    for (const Character &character : characters) {
        FileContext context(character.path);
        if (!character.doc->Backup())
            ok = false;
    }
    return ok ? ExitSuccess : ExitFailure;
}

int RunRestore(const Invocation &invocation)
{
    const QString caption = QStringLiteral("Restore");
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    bool ok = true;
    Characters characters;
    for (const QString &path : files) {
        FileContext context(path);
        auto doc = std::make_unique<CDiablo2Doc>();
        try {
            // The backup is read; the character file stays the document's
            // file, so the save below writes there.
            if (!doc->OpenBackup(QFileInfo(path).absoluteFilePath())) {
                Report(caption, QStringLiteral("Can't open backup file."));
                ok = false;
                continue;
            }
            RefuseShortImage(*doc);
        } catch (const char *text) {
            Report(caption, QString::fromLatin1(text));
            ok = false;
            continue;
        }
        if (!VersionGuard::Accept(*doc)) {
            ok = false;
            continue;
        }
        characters.push_back({path, std::move(doc)});
    }
    if (!ok)
        return ExitFailure;
    return SaveCharacters(characters) ? ExitSuccess : ExitFailure;
}

int RunRename(const Invocation &invocation)
{
    const QString caption = QStringLiteral("Rename Character");
    const QString path = invocation.operands.at(0);
    const QString newName = invocation.operands.at(1);

    if (!IsValidCharacterName(newName)) {
        Report(caption, QStringLiteral("This is not a valid Diablo2 character name. Try to use only a-z, A-Z.\n"));
        return ExitFailure;
    }
    if (newName.size() > CharacterNameLength) {
        AfxMessageBox(QStringLiteral("Please enter no more than %1 characters.").arg(CharacterNameLength));
        return ExitFailure;
    }

    FileContext context(path);
    CDiablo2Doc doc;
    if (!LoadCharacter(doc, path))
        return ExitFailure;

    const QFileInfo info(QFileInfo(path).absoluteFilePath());
    const QString directory = info.absolutePath() + QLatin1Char('/');
    const QString oldBase = info.completeBaseName();
    const QString source = info.absoluteFilePath();
    const QString target = directory + newName + QLatin1String(CharacterFileExtension);

    // Every file that is to move must find its new name free, so that either
    // all of them move or none does.
    struct Move
    {
        QString from;
        QString to;
    };
    QList<Move> companions;
    for (const char *extension : CompanionFileExtensions) {
        const QString from = directory + oldBase + QLatin1String(extension);
        if (QFileInfo::exists(from))
            companions.append({from, directory + newName + QLatin1String(extension)});
    }
    bool taken = QFileInfo::exists(target);
    for (const Move &move : companions)
        taken = taken || QFileInfo::exists(move.to);
    if (taken) {
        Report(caption, QStringLiteral("File already exist. Try a different character name."));
        return ExitFailure;
    }

    auto cannotMove = [&](const QString &from, const QString &to) {
        Report(caption, QStringLiteral("Can't move %1 to %2.").arg(QDir::toNativeSeparators(from),
                                                                     QDir::toNativeSeparators(to)));
    };
    if (!QFile::rename(source, target)) {
        cannotMove(source, target);
        return ExitFailure;
    }
    // The character is saved under its new file name with its new name in
    // it; should that fail, the file goes back to its old name.
    {
        FileContext movedContext(QDir::toNativeSeparators(target));
        if (!LoadCharacter(doc, target)) {
            QFile::rename(target, source);
            return ExitFailure;
        }
        doc.SetCharName(newName);
        if (!doc.Save()) {
            QFile::rename(target, source);
            return ExitFailure;
        }
    }

    bool ok = true;
    for (const Move &move : companions) {
        if (!QFile::rename(move.from, move.to)) {
            cannotMove(move.from, move.to);
            ok = false;
        }
    }
    return ok ? ExitSuccess : ExitFailure;
}
