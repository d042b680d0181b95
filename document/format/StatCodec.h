#pragma once

#include "ParsedCharacter.h"

#include <QByteArray>

// The attributes section ("gf") in its three encodings: the plain ones of
// versions 71 to 92 (a presence mask and a 32-bit value per stored stat) and
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
[[nodiscard]] QByteArray EncodeStats(const Stats &stats, StatCodec codec);

} // namespace Format
