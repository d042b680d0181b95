#include "Show.h"

#include "Console.h"
#include "Listing.h"
#include "Session.h"

#include "document/Diablo2Doc.h"

#include <QJsonDocument>

#include <algorithm>

namespace {

// An object as an element of the indented array that QJsonDocument writes:
// every line one step further in. JSON escapes the line ends inside strings,
// so every line end of the text is one of the layout's own.
QByteArray ArrayElement(const QJsonObject &object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    // One pass: QByteArray::replace would move the rest of the text at every line.
    QByteArray element(text.size() + 4 * text.count('\n'), Qt::Uninitialized);
    char *to = element.data();
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart)
            to = std::copy_n("    ", 4, to);
        *to++ = c;
        lineStart = c == '\n';
    }
    element.chop(1); // the last line end: a comma may follow the element
    return element;
}

} // namespace

int RunShow(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    // Every file that loads is shown as soon as it is read, in the order
    // named; each that does not has been reported and is left out.
    const bool json = invocation.Has("json");
    if (json)
        PrintText("[\n");
    qsizetype shown = 0;
    const bool ok = ForEachCharacter(files, [&](const QString &path, const CDiablo2Doc &doc) {
        if (json) {
            PrintText((shown++ ? ",\n" : "") + ArrayElement(CharacterObject(doc, path)));
            return;
        }
        const QString prefix = files.size() > 1 ? path + QStringLiteral(": ") : QString();
        for (const NamedValue &value : NamedValues(doc))
            PrintLine(prefix + value.key + QStringLiteral(": ") + value.value);
    });
    if (json)
        PrintText(shown ? "\n]\n" : "]\n");
    return ok ? ExitSuccess : ExitFailure;
}
