#pragma once

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

// What the program makes of an image, decided from its first bytes and, for
// a later version, from its parse.
enum class Kind {
    // The signature and version 71 (and an empty document): expanded at load
    // and read through version 71's table.
    Version71,
    // A known later version whose parse opened it: read into a parsed
    // character and rebuilt when written.
    Later,
    // Version 71 without the signature, long enough for version 71's fields:
    // shown with a warning, saved only after a question.
    Unsigned71,
    // Anything else (no signature, a version this program does not know, a
    // known later version whose parse is refused, a file too short to name a
    // version): held exactly as read for the raw byte tools only.
    Held,
};
[[nodiscard]] Kind KindOf(const CDiablo2Doc &doc);

// True when the image is not read as a character of version 71 or of a
// known later version: the window tells so at open and asks before a save;
// the command line refuses to change it.
[[nodiscard]] bool IsOther(const CDiablo2Doc &doc);

// True when the image names a known version other than 71 and parses: its
// values are read and written through a parsed character.
[[nodiscard]] bool IsLater(const CDiablo2Doc &doc);

// True when the image is not version 71's with its signature: the load keeps
// such an image exactly as read.
[[nodiscard]] bool IsNot71(const CDiablo2Doc &doc);

// True when the image is held for the raw byte tools only (Kind::Held).
[[nodiscard]] bool IsRawToolsOnly(const CDiablo2Doc &doc);

// True when the character's values can be read from the image, so that the
// window's form shows them and the commands that read or change values work
// on them: a known later version's file that parses, or a version-71 image
// that reaches its last skill byte. False with no image and for a file held
// for the raw byte tools only.
[[nodiscard]] bool ShowsValues(const CDiablo2Doc &doc);

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
