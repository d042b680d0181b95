#include "BitCodec.h"

#include <algorithm>

namespace Format {

bool BitReader::Read(int count, quint32 &value)
{
    if (m_bit + count > qint64(m_image.size()) * 8)
        return false;
    // A byte's worth at a time: the rest of the current byte, then whole bytes.
    value = 0;
    const char *data = m_image.constData();
    for (int got = 0; got < count;) {
        const int inByte = int(m_bit & 7);
        const int take = std::min(8 - inByte, count - got);
        const quint32 byte = quint8(data[m_bit >> 3]);
        value |= ((byte >> inByte) & ((1u << take) - 1)) << got;
        got += take;
        m_bit += take;
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
