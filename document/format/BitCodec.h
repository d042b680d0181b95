#pragma once

#include <QByteArray>
#include <QtGlobal>

// The bit streams of a character file: values packed least significant bit
// first, from the lowest bit of each byte up (the attributes from version 96
// on, the items).
namespace Format {

// Reads bits of an image from a byte on.
class BitReader
{
public:
    BitReader(const QByteArray &image, int offset) : m_image(image), m_bit(qint64(offset) * 8) {}

    // False, and nothing read, when the image ends before count (at most 32) more bits.
    bool Read(int count, quint32 &value);

    // The first byte after the last bit read.
    [[nodiscard]] int ByteEnd() const { return int((m_bit + 7) >> 3); }

private:
    const QByteArray &m_image;
    qint64 m_bit;
};

// Appends bits to a byte array, the last byte filled with zero bits.
class BitWriter
{
public:
    explicit BitWriter(QByteArray &out) : m_out(out) {}

    // Writes the low count bits of value.
    void Write(int count, quint64 value);

private:
    QByteArray &m_out;
    qint64 m_bit = 0;
};

} // namespace Format
