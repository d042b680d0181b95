#pragma once

#include <QString>
#include <QtGlobal>

class CDiablo2Doc;

// The file version of a character: the one rule that tells a file of a layout
// this program knows from the files of other game versions. Version 71 is
// read through its own table; the later versions this program knows (87 to
// 105, Versions::LayoutOf) are read into a parsed character and rebuilt when
// written. Any other version, and a later file whose sections cannot be read
// safely, is held exactly as it was read for the raw tools; the window and the
// command line both ask here before they treat a file as a character.
namespace FileVersion {

// The version the image names: the 32-bit little-endian value at offset 4.
// Throws "offset out of range" for an image too short to hold it.
[[nodiscard]] quint32 Of(const CDiablo2Doc &doc);

// True when the image starts with a character file's signature, 55 AA 55 AA.
// An image too short to hold it counts as having it (the load refuses it).
[[nodiscard]] bool HasSignature(const CDiablo2Doc &doc);

// True when the image lacks the signature, or names a version other than 71
// that cannot be edited: one this program does not know, or a known later one
// whose parse is refused. An image too short to name a version counts as
// version 71, whose load refuses it as too short.
[[nodiscard]] bool IsOther(const CDiablo2Doc &doc);

// True when the image names a known version other than 71 and parses: its
// values are read and written through a parsed character.
[[nodiscard]] bool IsLater(const CDiablo2Doc &doc);

// True when the image names any version other than 71: the load keeps such an
// image exactly as read.
[[nodiscard]] bool IsNot71(const CDiablo2Doc &doc);

// True when the image has the signature and names a known version other than
// 71 but does not parse (a new character's first save holds its header
// alone): the load holds it as read, however short, for the raw byte tools only.
[[nodiscard]] bool IsRawToolsOnly(const CDiablo2Doc &doc);

// True when the character's values can be read from the image, so that the
// window's form shows them and the commands that read or change values work
// on them: a known later version's file that parses, or any other image that
// reaches version 71's last skill byte. False with no image and for a file
// held for the raw byte tools only.
[[nodiscard]] bool ShowsValues(const CDiablo2Doc &doc);

// Why a file of a known version other than 71 is not edited: "file version N:
// the reason of its parse."
[[nodiscard]] QString RefusalText(const CDiablo2Doc &doc);

// What the user is told when such a character opens, and the risk a save of it runs.
[[nodiscard]] QString OpenNotice(quint32 version);
[[nodiscard]] QString SaveRisk(quint32 version);

// The save risk for doc: a file without the signature is told so, a known
// later file held for the raw tools says its values cannot be read; any other
// names its version as one whose layout is not known.
[[nodiscard]] QString SaveRiskFor(const CDiablo2Doc &doc);

// What the user is told when doc opens: that it is no character file, the
// other-version notice, why a known later file opens for the raw tools only,
// or the warnings a later file opened with (a damaged checksum); empty when
// there is nothing to tell.
[[nodiscard]] QString OpenNotice(const CDiablo2Doc &doc);

// The end of the window's title for doc: " [version N]" for another version,
// " [not a character file]" without the signature, empty for the known one.
[[nodiscard]] QString TitleSuffix(const CDiablo2Doc &doc);

} // namespace FileVersion
