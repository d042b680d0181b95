#pragma once

#include "ParsedCharacter.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>

// The attributes section ("gf") in its four encodings: version 71's block as
// the load expands it (every value at its place), the plain ones of versions
// 87 to 92 (a presence mask and a 32-bit value per stored stat) and
// the bit-packed list of version 96 on (a 9-bit id and its value, in id order,
// ended by id 0x1FF and zero bits up to the next byte).
namespace Format {

enum class StatsProblem {
    None,
    CutShort,    // the file ends inside the section
    UnknownId,   // an id the bit-packed list cannot hold (16 and above)
    StoredTwice, // an id stored a second time
};

struct DecodedStats
{
    Stats stats;
    int end = 0;            // the first byte after the section
    StatsProblem problem = StatsProblem::None;
    int problemId = -1;     // the id of UnknownId and StoredTwice
};

// Reads the section whose "gf" marker stands at offset (already checked).
[[nodiscard]] DecodedStats DecodeStats(const QByteArray &image, int offset, StatCodec codec);

// The section's bytes, "gf" included. A stat is written when the file stored
// it or its value is not zero; values must fit their width (see RawMax).
// asRead is the section as the file held it: version 71's block keeps its
// first five bytes (the marker, the mask and the reserved byte) as they are.
[[nodiscard]] QByteArray EncodeStats(const Stats &stats, StatCodec codec, QByteArrayView asRead);

// Version 71's file leaves out the optional values (FieldTable.h:
// OptionalInFile) that its presence mask does not hold; the load puts four
// zero bytes in the place of each, then sets every mask bit, so that every
// value stands where the expanded codec reads it.
inline constexpr quint32 ExpandedMaskOffset = 562;  // low byte, then high byte
inline constexpr quint32 ExpandedFirstValue = 565;
inline constexpr quint32 ExpandedValueBytes = 4;
// Whether the value at each place of the expanded block (places in file
// order) is one the file with this presence mask left out.
[[nodiscard]] std::array<bool, StatCount> LeftOutPlaces(quint16 mask);

} // namespace Format
