#include "CharacterFiles.h"

#include "CharacterNames.h"
#include "Diablo2Doc.h"
#include "FileVersion.h"
#include "Messages.h"

#include <QDir>
#include <QFileInfo>

namespace CharacterFiles {

namespace {

// The folder of path with its '/', and the file's name without its last
// extension, taken from the text alone: names that are not UTF-8 stay whole.
QString FolderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString BaseNameOf(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

} // namespace

bool IsTooShort(const CDiablo2Doc &doc, bool refuseEmpty)
{
    if (doc.IsEmpty())
        return refuseEmpty;
    // Only a version-71 file has a least size: any other file is read by its
    // own version's parse or held for the raw tools, however short.
    return FileVersion::KindOf(doc) == FileVersion::Kind::Version71 && !FileVersion::ShowsValues(doc);
}

void RefuseShortImage(const CDiablo2Doc &doc, bool refuseEmpty)
{
    if (IsTooShort(doc, refuseEmpty))
        throw Messages::OffsetOutOfRange;
}

bool Load(CDiablo2Doc &doc, const QString &path, bool refuseEmpty)
{
    if (!doc.OpenFile(path))
        return false;
    RefuseShortImage(doc, refuseEmpty);
    return true;
}

bool LoadBackup(CDiablo2Doc &doc, const QString &characterPath, bool refuseEmpty)
{
    if (!doc.OpenBackup(characterPath))
        return false;
    RefuseShortImage(doc, refuseEmpty);
    return true;
}

QString RenamedPath(const QString &path, const QString &newName)
{
    return FolderOf(path) + newName + QLatin1String(kCharacterFileExtension);
}

QList<Move> RenameMoves(const QString &path, const QString &newName)
{
    const QString directory = FolderOf(path);
    const QString oldBase = BaseNameOf(path);
    QList<Move> moves{{path, RenamedPath(path, newName)}};
    for (const char *extension : kCompanionFileExtensions) {
        const QString from = directory + oldBase + QLatin1String(extension);
        if (SafeFile::NameTaken(from))
            moves.append({from, directory + newName + QLatin1String(extension)});
    }
    return moves;
}

QString NameTakenMessage(const QList<Move> &moves)
{
    for (qsizetype i = 0; i < moves.size(); ++i) {
        if (!SafeFile::NameTaken(moves[i].to))
            continue;
        if (i == 0) // the character file itself
            return QString::fromLatin1(Messages::NameTaken);
        return QString::fromLatin1(Messages::CompanionNameTaken).arg(QFileInfo(moves[i].to).fileName());
    }
    return QString();
}

bool MoveAll(QList<Move> &moves, QString *error)
{
    for (qsizetype i = 0; i < moves.size(); ++i) {
        QString reason;
        if (!SafeFile::MoveNoReplace(moves[i].from, moves[i].to, &reason)) {
            // A companion whose look-up failed is listed in case it exists;
            // when nothing stands under its name there is nothing to move.
            if (i > 0 && !SafeFile::NameTaken(moves[i].from)) {
                moves.remove(i--);
                continue;
            }
            *error = QStringLiteral("Can't move %1 to %2: %3")
                         .arg(QDir::toNativeSeparators(moves[i].from), QDir::toNativeSeparators(moves[i].to), reason);
            MoveBack(moves.mid(0, i));
            return false;
        }
    }
    return true;
}

void MoveBack(const QList<Move> &moves)
{
    QString ignored;
    for (qsizetype i = moves.size() - 1; i >= 0; --i)
        SafeFile::MoveNoReplace(moves[i].to, moves[i].from, &ignored);
}

} // namespace CharacterFiles
