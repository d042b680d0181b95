#pragma once

#include "ParsedCharacter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writing an edited character back into the bytes of its file. The new image
// is the file as opened with the edited values put in: the attributes section
// rebuilt in id order, every other byte this program does not edit (the items
// and what follows them, the NPC block, the unknown header bytes) copied as it
// was, then the file size and the checksum written where the version has them.
// Before the image is handed back it is read again and checked.
namespace Format {

struct BuildResult
{
    QByteArray image;
    QString refusal; // why no image was built; empty when it was

    [[nodiscard]] bool Built() const { return refusal.isEmpty(); }
};

// edited must have been parsed from original and then changed.
[[nodiscard]] BuildResult Build(const ParsedCharacter &edited, const QByteArray &original);

// Reads built back with its version's layout and compares every field with
// meant and every byte outside the edited fields with original. Returns the
// differences found, one line each; empty when the image is as meant.
[[nodiscard]] QStringList SelfCheck(const ParsedCharacter &meant, const QByteArray &original,
                                    const QByteArray &built);

} // namespace Format
