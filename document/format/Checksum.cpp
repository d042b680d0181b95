#include "Checksum.h"

namespace Format {

quint32 ReadLittleEndian(const QByteArray &image, int offset, int bytes)
{
    quint32 value = 0;
    for (int k = 0; k < bytes; ++k)
        value |= quint32(quint8(image.at(offset + k))) << (8 * k);
    return value;
}

void WriteLittleEndian(QByteArray &image, int offset, int bytes, quint32 value)
{
    for (int k = 0; k < bytes; ++k)
        image[offset + k] = char(quint8(value >> (8 * k)));
}

quint32 ComputeChecksum(const QByteArray &image)
{
    quint32 sum = 0;
    const auto *bytes = reinterpret_cast<const quint8 *>(image.constData());
    for (qsizetype i = 0; i < image.size(); ++i) {
        const bool inField = i >= ChecksumOffset && i < ChecksumOffset + 4;
        sum = ((sum << 1) | (sum >> 31)) + (inField ? 0 : bytes[i]);
    }
    return sum;
}

void WriteSizeAndChecksum(QByteArray &image)
{
    WriteU32(image, SizeFieldOffset, quint32(image.size()));
    WriteU32(image, ChecksumOffset, ComputeChecksum(image));
}

} // namespace Format
