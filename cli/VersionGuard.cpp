#include "VersionGuard.h"

#include "Console.h"
#include "document/Diablo2Doc.h"
#include "document/FileVersion.h"
#include "document/Messages.h"

namespace VersionGuard {

namespace {

// Bytes: the raw tools, which work on any file byte by byte.
enum class Rule { Bytes, Allow, Warn, Refuse };
Rule g_rule = Rule::Bytes;
// backup and restore copy a file whole: they need no values from it.
bool g_copiesWhole = false;

} // namespace

void ChooseFor(const Command &command, const Invocation &invocation)
{
    // The commands that change files are the ones that take --force.
    const bool changes = QString::fromLatin1(command.options).split(QLatin1Char(' ')).contains(QLatin1String("force"));
    if (changes)
        g_rule = invocation.Has("force") ? Rule::Allow : Rule::Refuse;
    else
        g_rule = invocation.command == QLatin1String("show") ? Rule::Warn : Rule::Bytes;
    g_copiesWhole = invocation.command == QLatin1String("backup") || invocation.command == QLatin1String("restore");
}

bool Accept(const CDiablo2Doc &doc)
{
    if (g_rule == Rule::Bytes)
        return true;
    // A file held for the raw tools has no values to show or change, forced
    // or not; show tells why and lists what it can.
    if (!FileVersion::ShowsValues(doc) && !g_copiesWhole) {
        Report(QString::fromLatin1(Captions::Open), FileVersion::RefusalText(doc));
        return g_rule == Rule::Warn;
    }
    if (g_rule == Rule::Allow)
        return true;
    if (g_rule == Rule::Warn) {
        const QString notice = FileVersion::OpenNotice(doc);
        if (!notice.isEmpty())
            Report(QString::fromLatin1(Captions::Open), notice);
        return true;
    }
    if (!FileVersion::IsOther(FileVersion::KindOf(doc)))
        return true;
    Report(QString::fromLatin1(Captions::Save),
           FileVersion::SaveRiskFor(doc) + QStringLiteral(" Nothing was written; add --force to change it anyway."));
    return false;
}

} // namespace VersionGuard
