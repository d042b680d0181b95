#include "RawTools.h"

#include "Session.h"
#include "document/Compare.h"
#include "Console.h"
#include "document/Messages.h"
#include "document/Diablo2Doc.h"

#include "core/SafeFile.h"


namespace {

const QString kEditValue = QString::fromLatin1(Captions::EditValue);
const QString kCompare = QString::fromLatin1(Captions::Compare);

// Every line names its file when several were given, even when only one of
// them could be read: a script then never takes one file's value for another's.
QString PrefixFor(const HeldFile &character, const QStringList &files)
{
    return files.size() > 1 ? character.path + QStringLiteral(": ") : QString();
}

bool ReadRange(const QStringList &args, quint32 &first, quint32 &last)
{
    return ReadUnsigned(kEditValue, QStringLiteral("first offset"), args[0], first)
        && ReadUnsigned(kEditValue, QStringLiteral("last offset"), args[1], last);
}

} // namespace

int RunGet(const Invocation &invocation)
{
    QStringList files, args;
    if (!SplitFiles(invocation, 2, files, args))
        return ExitUsage;
    quint32 first = 0, last = 0;
    if (!ReadRange(args, first, last))
        return ExitFailure;
    // Each file that loads is read; each that does not has been reported.
    HeldFiles characters;
    bool ok = LoadCharacters(files, characters);

    // The window's tool shows 0 for a range the document refuses; here the
    // refusal is an error, so a script never takes that 0 for the file's value.
    for (const HeldFile &character : characters) {
        FileContext context(character.path);
        try {
            const quint32 value = character.doc->GetUInt(first, last);
            PrintLine(PrefixFor(character, files) + QString::number(value));
        } catch (const char *text) {
            Report(kEditValue, QString::fromLatin1(text));
            ok = false;
        }
    }
    return ok ? ExitSuccess : ExitFailure;
}

int RunPut(const Invocation &invocation)
{
    QStringList files, args;
    if (!SplitFiles(invocation, 3, files, args))
        return ExitUsage;
    quint32 first = 0, last = 0, value = 0;
    if (!ReadRange(args, first, last) || !ReadUnsigned(kEditValue, QStringLiteral("value"), args[2], value))
        return ExitFailure;
    // Only as many low bytes of the value as the range holds are written, as
    // the window's Set value writes them. A refused range writes nothing: the
    // bytes it wrote before the error stay in memory only.
    return EditCharacters(files, kEditValue, invocation.Has("dry-run"), [=](CDiablo2Doc &doc) {
        doc.SetUInt(first, last, value);
        return true;
    });
}

int RunFind(const Invocation &invocation)
{
    QStringList files, args;
    if (!SplitFiles(invocation, 1, files, args))
        return ExitUsage;
    quint32 value = 0;
    if (!ReadUnsigned(QStringLiteral("Find value"), QStringLiteral("value"), args[0], value))
        return ExitFailure;
    HeldFiles characters;
    const bool loaded = LoadCharacters(files, characters);

    const bool all = invocation.Has("all");
    bool found = false;
    for (const HeldFile &character : characters) {
        // Find, then Find Next from the match: the next search starts one byte
        // after the start of the last match, so matches may overlap.
        quint32 first = 0xFFFFFFFFu;
        quint32 last = 0;
        while (character.doc->FindValue(first, last, value)) {
            found = true;
            PrintLine(PrefixFor(character, files) + QStringLiteral("%1..%2").arg(first).arg(last));
            if (!all)
                break;
        }
    }
    // Like grep: 1 when the value was found nowhere; also 1 when a file could
    // not be searched, after the matches in the others.
    return found && loaded ? ExitSuccess : ExitFailure;
}

int RunDiff(const Invocation &invocation)
{
    const QString path = invocation.operands.at(0);
    const QString otherPath = invocation.operands.at(1);

    // Both files are loaded, so that the trouble with each is reported.
    CDiablo2Doc edited;
    bool ok = true;
    {
        FileContext context(path);
        ok = LoadCharacter(edited, path);
    }
    // The compare file is loaded as the Compare tool loads it: any file the
    // load can expand, however short.
    CDiablo2Doc other;
    {
        FileContext context(otherPath);
        try {
            if (!other.OpenFile(SafeFile::AbsolutePath(otherPath))) {
                ok = false;
            } else if (other.IsEmpty()) {
                Report(kCompare, QString::fromLatin1(Messages::OpenCharacterFirst));
                ok = false;
            }
        } catch (const char *text) {
            Report(kCompare, QString::fromLatin1(text));
            ok = false;
        }
    }
    // As cmp and diff: 0 the same, 1 different, 2 trouble.
    if (!ok)
        return ExitUsage;

    // Every offset inside both images at which they differ, walked as the
    // Compare tool's Find Next walks them: the offset, the byte of FILE, the
    // byte of OTHER.
    bool different = false;
    for (quint32 offset = FindDifference(edited, other, 0); offset != NoDifference;
         offset = FindDifference(edited, other, offset + 1)) {
        PrintLine(QStringLiteral("%1: %2 %3").arg(offset).arg(edited.GetByte(offset)).arg(other.GetByte(offset)));
        different = true;
    }
    const QString sizeDifference = SizeDifference(edited, other);
    if (!sizeDifference.isEmpty()) {
        PrintLine(QString::fromLatin1(Captions::CompareResult) + QStringLiteral(": ") + sizeDifference);
        different = true;
    }
    return different ? ExitFailure : ExitSuccess;
}
