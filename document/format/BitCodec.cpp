#include "BitCodec.h"

namespace Format {

bool BitReader::Read(int count, quint32 &value)
{
    if (m_bit + count > qint64(m_image.size()) * 8)
        return false;
    value = 0;
    for (int k = 0; k < count; ++k, ++m_bit) {
        const auto byte = quint8(m_image[qsizetype(m_bit >> 3)]);
        value |= quint32((byte >> (m_bit & 7)) & 1) << k;
    }
    return true;
}

void BitWriter::Write(int count, quint64 value)
{
    for (int k = 0; k < count; ++k, ++m_bit) {
        if ((m_bit & 7) == 0)
            m_out.append('\0');
        if ((value >> k) & 1)
            m_out[m_out.size() - 1] = char(quint8(m_out.back()) | (1u << (m_bit & 7)));
    }
}

} // namespace Format
