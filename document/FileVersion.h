#pragma once

#include "format/Parse.h"

#include <QString>
#include <QtGlobal>

class CDiablo2Doc;

// The file version of a character: the one rule that tells a file of a layout
// this program knows from the files of other game versions. Version 71 is
// read through its own table; the later versions this program knows (87 to
// 105, Format::LayoutOf) are read into a parsed character and rebuilt when
// written. Any other version, and a later file whose sections cannot be read
// safely, is held exactly as it was read for the raw tools: nothing is read
// from it at another version's offsets. The window and the command line both
// ask here before they treat a file as a character.
namespace FileVersion {

// The version the image names: the 32-bit little-endian value at offset 4.
// Throws "offset out of range" for an image too short to hold it.
[[nodiscard]] quint32 Of(const CDiablo2Doc &doc);

// True when the image is long enough to name a version (8 bytes).
[[nodiscard]] bool NamesVersion(const CDiablo2Doc &doc);

// True when the image starts with a character file's signature, 55 AA 55 AA.
// An image too short to hold it has none.
[[nodiscard]] bool HasSignature(const CDiablo2Doc &doc);

// What the program makes of an image (Format::FileKind), decided when the
// image is read; an empty document counts as version 71. Every decision of
// the window and the command line about a file reads it.
using Kind = Format::FileKind;
[[nodiscard]] Kind KindOf(const CDiablo2Doc &doc);

// True when the character's values can be read from the image, so that the
// window's form shows them and the commands that read or change values work
// on them: a known version's file whose parse opened it (version 71 reaching
// its last skill byte). False with no image and for a file held for the raw
// byte tools only.
[[nodiscard]] bool ShowsValues(const CDiablo2Doc &doc);

// True for the kinds the window tells of at open and asks about before a
// save, and the command line refuses to change without --force: a version-71
// image without the signature and a file held for the raw tools.
[[nodiscard]] constexpr bool IsOther(Kind kind) { return kind == Kind::Unsigned71 || kind == Kind::Held; }

// Why a file is held for the raw byte tools only: "file version N: the
// reason of its parse." for a known version, the parse's reason otherwise
// (no signature, too short, a version this program does not know).
[[nodiscard]] QString RefusalText(const CDiablo2Doc &doc);

// What the user is told when such a character opens, and the risk a save of it runs.
[[nodiscard]] QString OpenNotice(quint32 version);
[[nodiscard]] QString SaveRisk(quint32 version);

// The save risk for doc: a file without the signature is told so, a known
// later file held for the raw tools says its values cannot be read; any other
// names its version as one whose layout is not known.
[[nodiscard]] QString SaveRiskFor(const CDiablo2Doc &doc);

// What the user is told when doc opens: that it is no character file, the
// other-version notice, why a file opens for the raw tools only, or the
// warnings a later file opened with (a damaged checksum), as sentences;
// empty when there is nothing to tell.
[[nodiscard]] QString OpenNotice(const CDiablo2Doc &doc);

// The end of the window's title for doc: " [version N]" for another version,
// " [not a character file]" without the signature or a version, empty for
// a file read as a character.
[[nodiscard]] QString TitleSuffix(const CDiablo2Doc &doc);

} // namespace FileVersion
