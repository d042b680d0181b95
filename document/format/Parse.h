#pragma once

#include "ParsedCharacter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Reading a character file of any known version into a ParsedCharacter. A
// file that cannot be edited safely is refused with a reason; a file that can
// be edited but has something wrong that the next save puts right (a checksum
// that does not match) opens with a warning. Version 71 is read as the load
// leaves it (its attributes expanded), every section at its fixed place.
namespace Format {

// What the program makes of an image, decided once, when it is read.
enum class FileKind {
    // The signature and version 71 (refused when too short for its fields).
    Version71,
    // A known later version whose parse opened it.
    Later,
    // Version 71 without the signature, long enough for version 71's fields:
    // shown with a warning, saved only after a question.
    Unsigned71,
    // Anything else (no signature, a version this program does not know, a
    // known later version whose parse is refused, a file too short to name a
    // version): held exactly as read for the raw byte tools only.
    Held,
};

enum class Refusal {
    None,
    TooShort,           // version 71: the file does not reach its last skill byte
    NotACharacter,      // too short for a signature and version, or another signature
    UnknownVersion,
    HeaderCutShort,     // the file ends inside its header
    SizeMismatch,       // the file-size field disagrees with the file's length
    HeaderOnly,         // a new character's first save: the header alone
    SectionMissing,     // a section marker is not where the version keeps it
    AttributesCutShort, // the file ends inside the attributes
    AttributesDamaged,  // an id the attributes cannot hold, or one stored twice
};

struct ParseResult
{
    FileKind kind = FileKind::Held;
    Refusal refusal = Refusal::None;
    QString reason;        // what is wrong, for the user; empty when opened
    QStringList warnings;  // what the character opened with
    // As much as was read: the header fields of a refused file whose header
    // is whole, every field of an opened one.
    ParsedCharacter character;

    [[nodiscard]] bool Opened() const { return refusal == Refusal::None; }
};

[[nodiscard]] ParseResult Parse(const QByteArray &image);

// Whether an image begins with the signature and names a version whose
// attributes the load expands before anything reads them (version 71).
[[nodiscard]] bool ExpandsAtLoad(QByteArrayView image);

} // namespace Format
