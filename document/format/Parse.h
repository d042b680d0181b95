#pragma once

#include "ParsedCharacter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading a character file of any known version into a ParsedCharacter. A
// file that cannot be edited safely is refused with a reason; a file that can
// be edited but has something wrong that the next save puts right (a checksum
// that does not match) opens with a warning.
namespace Format {

enum class Refusal {
    None,
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
    Refusal refusal = Refusal::None;
    QString reason;        // what is wrong, for the user; empty when opened
    QStringList warnings;  // what the character opened with
    // As much as was read: the header fields of a refused file whose header
    // is whole, every field of an opened one.
    ParsedCharacter character;

    [[nodiscard]] bool Opened() const { return refusal == Refusal::None; }
};

[[nodiscard]] ParseResult Parse(const QByteArray &image);

} // namespace Format
