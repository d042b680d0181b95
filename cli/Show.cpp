#include "Show.h"

#include "Console.h"
#include "IndentedJson.h"
#include "Listing.h"
#include "Session.h"

#include "document/Diablo2Doc.h"
#include "document/FileVersion.h"

int RunShow(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    // Every file that loads is shown as soon as it is read, in the order
    // named, through one buffer printed and emptied after each; each that
    // does not has been reported and is left out.
    const bool json = invocation.Has("json");
    std::string text;
    IndentedJson array(text);
    std::string lines;
    if (json)
        array.BeginArray();
    // A file held for the raw byte tools shows its version and why it is
    // held, and fails the command: its values cannot be read.
    bool allShown = true;
    const bool ok = ForEachCharacter(files, [&](const QString &path, const CDiablo2Doc &doc) {
        const bool shows = FileVersion::ShowsValues(doc);
        allShown = allShown && shows;
        if (json) {
            shows ? WriteCharacterObject(array, doc, path) : WriteHeldObject(array, doc, path);
            PrintText(text);
            text.clear();
            return;
        }
        const std::string prefix = files.size() > 1 ? (path + QStringLiteral(": ")).toStdString() : std::string();
        shows ? AppendValueLines(lines, doc, prefix) : AppendHeldLines(lines, doc, prefix);
        PrintText(lines);
        lines.clear();
    });
    if (json) {
        array.EndArray();
        PrintText(text + '\n');
    }
    return ok && allShown ? ExitSuccess : ExitFailure;
}
