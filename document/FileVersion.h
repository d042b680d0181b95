#pragma once

#include <QString>
#include <QtGlobal>

class CDiablo2Doc;

// The file version of a character: the one rule that tells a file of the
// layout this program knows (version 71) from the files of later game
// versions, which keep other data at the same offsets. Such a file is held
// exactly as it was read; the window and the command line both ask here
// before they treat it as a character of the known layout.
namespace FileVersion {

// The version the image names: the 32-bit little-endian value at offset 4.
// Throws "offset out of range" for an image too short to hold it.
[[nodiscard]] quint32 Of(const CDiablo2Doc &doc);

// True when the image starts with a character file's signature, 55 AA 55 AA.
// An image too short to hold it counts as having it (the load refuses it).
[[nodiscard]] bool HasSignature(const CDiablo2Doc &doc);

// True when the image lacks the signature or names a version other than 71. An image too short to
// name one counts as the known layout, whose load refuses it as too short.
[[nodiscard]] bool IsOther(const CDiablo2Doc &doc);

// What the user is told when such a character opens, and the risk a save of it runs.
[[nodiscard]] QString OpenNotice(quint32 version);
[[nodiscard]] QString SaveRisk(quint32 version);

// The notice and the save risk for doc: a file without the signature is told
// so; any other names its version.
[[nodiscard]] QString OpenNoticeFor(const CDiablo2Doc &doc);
[[nodiscard]] QString SaveRiskFor(const CDiablo2Doc &doc);

// The end of the window's title for doc: " [version N]" for another version,
// " [not a character file]" without the signature, empty for the known one.
[[nodiscard]] QString TitleSuffix(const CDiablo2Doc &doc);

} // namespace FileVersion
