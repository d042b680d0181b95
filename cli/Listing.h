#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <string>
#include <string_view>

class CDiablo2Doc;
class IndentedJson;

// Every value the window shows for a character, read with the same field
// rules: as a flat list of "key: value" lines (the text of `show`, and what a
// dry run compares), or as one JSON object.
struct NamedValue
{
    QString key;
    QString value;
};

// In the order `show` lists them: version, name, class, both level bytes,
// the panel's numbers, the skills by name (by position when the class byte
// names no class), then per difficulty whether it is open, its acts, quests
// and waypoints. The name is given Printable (Console.h): the file may hold
// any bytes there.
QList<NamedValue> NamedValues(const CDiablo2Doc &doc);

// The same values as the text of `show`, appended to out: one line each,
// "PREFIXkey: value" and a line end, in UTF-8.
void AppendValueLines(std::string &out, const CDiablo2Doc &doc, std::string_view prefix);

// What show gives of a file held for the raw byte tools: the version it
// names (when it is long enough to name one) and why it is held, as lines
// and as a JSON object {"file", "fileVersion", "formatVersion", "held"}.
void AppendHeldLines(std::string &out, const CDiablo2Doc &doc, std::string_view prefix);
void WriteHeldObject(IndentedJson &json, const CDiablo2Doc &doc, const QString &path);

// The same values as one JSON object; the numbers of the panel under the keys
// that `set` takes, so that the object can be written back field by field.
void WriteCharacterObject(IndentedJson &json, const CDiablo2Doc &doc, const QString &path);

// The whole image, for comparing a document before and after an edit.
QByteArray ImageOf(const CDiablo2Doc &doc);

// What a dry run prints for one file: each named value that an edit changed,
// as "key: old -> new", or the changed bytes when no named value changed.
// prefix starts every line (the file's name when there are several). With no
// named values before (a file held for the raw tools), only bytes are compared.
void PrintChanges(const QString &prefix, const QList<NamedValue> &before, const QByteArray &beforeImage,
                  const CDiablo2Doc &after);
