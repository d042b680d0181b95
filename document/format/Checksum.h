#pragma once

#include <QByteArray>
#include <QtGlobal>

// The file-size field and the checksum of versions 92 and later. The size at
// offset 8 is the file's length; the checksum at offset 12 covers every byte,
// the size included, with its own four bytes taken as zero.
namespace Format {

inline constexpr int SizeFieldOffset = 8;
inline constexpr int ChecksumOffset = 12;

// Little-endian integers of 1 to 4 bytes, as every field of the file is stored.
[[nodiscard]] quint32 ReadLittleEndian(const QByteArray &image, int offset, int bytes);
void WriteLittleEndian(QByteArray &image, int offset, int bytes, quint32 value);
[[nodiscard]] inline quint32 ReadU32(const QByteArray &image, int offset) { return ReadLittleEndian(image, offset, 4); }
inline void WriteU32(QByteArray &image, int offset, quint32 value) { WriteLittleEndian(image, offset, 4, value); }

// The checksum of image (at least 16 bytes): for each byte in order, the sum
// turned left by one bit (the top bit coming round to the bottom) plus the byte.
[[nodiscard]] quint32 ComputeChecksum(const QByteArray &image);

// Writes the length into the size field, then the checksum: in that order,
// since the checksum covers the size.
void WriteSizeAndChecksum(QByteArray &image);

} // namespace Format
