#include "Show.h"

#include "Console.h"
#include "Listing.h"
#include "Session.h"

#include "document/Diablo2Doc.h"

#include <QJsonArray>
#include <QJsonDocument>

int RunShow(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    // Every file that loads is shown; each that does not has been reported.
    HeldFiles characters;
    const int status = LoadCharacters(files, characters) ? ExitSuccess : ExitFailure;

    if (invocation.Has("json")) {
        QJsonArray array;
        for (const HeldFile &character : characters)
            array.append(CharacterObject(*character.doc, character.path));
        PrintLine(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)).trimmed());
        return status;
    }

    for (const HeldFile &character : characters) {
        const QString prefix = files.size() > 1 ? character.path + QStringLiteral(": ") : QString();
        for (const NamedValue &value : NamedValues(*character.doc))
            PrintLine(prefix + value.key + QStringLiteral(": ") + value.value);
    }
    return status;
}
