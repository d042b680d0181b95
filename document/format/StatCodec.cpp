#include "StatCodec.h"

namespace Format {

namespace {

constexpr int kMarkerLength = 2; // "gf"
constexpr int kIdBits = 9;
constexpr quint32 kEndId = 0x1FF;

quint16 WrittenMask(const Stats &stats)
{
    quint16 mask = stats.stored;
    for (int id = 0; id < StatCount; ++id) {
        if (stats.value[std::size_t(id)] != 0)
            mask |= quint16(1u << id);
    }
    return mask;
}

// Bits of the image from a byte on, least significant bit of each byte first.
class BitReader
{
public:
    BitReader(const QByteArray &image, int offset) : m_image(image), m_bit(qint64(offset) * 8) {}

    // False when the image ends before count more bits.
    bool Read(int count, quint32 &value)
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

    int ByteEnd() const { return int((m_bit + 7) >> 3); }

private:
    const QByteArray &m_image;
    qint64 m_bit;
};

class BitWriter
{
public:
    explicit BitWriter(QByteArray &out) : m_out(out) {}

    void Write(int count, quint64 value)
    {
        for (int k = 0; k < count; ++k, ++m_bit) {
            if ((m_bit & 7) == 0)
                m_out.append('\0');
            if ((value >> k) & 1)
                m_out[m_out.size() - 1] = char(quint8(m_out.back()) | (1u << (m_bit & 7)));
        }
    }

private:
    QByteArray &m_out;
    qint64 m_bit = 0;
};

DecodedStats DecodePlain(const QByteArray &image, int offset, bool reservedByte)
{
    DecodedStats out;
    int at = offset + kMarkerLength;
    const int headLength = 2 + (reservedByte ? 1 : 0);
    if (at + headLength > image.size()) {
        out.problem = StatsProblem::CutShort;
        return out;
    }
    const quint16 mask = quint16(quint8(image[at]) | (quint8(image[at + 1]) << 8));
    if (reservedByte)
        out.stats.reserved = quint8(image[at + 2]);
    at += headLength;
    for (int id = 0; id < StatCount; ++id) {
        if (!((mask >> id) & 1))
            continue;
        if (at + 4 > image.size()) {
            out.problem = StatsProblem::CutShort;
            return out;
        }
        quint32 value = 0;
        for (int k = 0; k < 4; ++k)
            value |= quint32(quint8(image[at + k])) << (8 * k);
        out.stats.value[std::size_t(id)] = value;
        at += 4;
    }
    out.stats.stored = mask;
    out.end = at;
    return out;
}

DecodedStats DecodeBitPacked(const QByteArray &image, int offset)
{
    DecodedStats out;
    BitReader reader(image, offset + kMarkerLength);
    for (;;) {
        quint32 id = 0;
        if (!reader.Read(kIdBits, id)) {
            out.problem = StatsProblem::CutShort;
            return out;
        }
        if (id == kEndId)
            break;
        if (id >= quint32(StatCount) || out.stats.IsStored(int(id))) {
            out.problem = id >= quint32(StatCount) ? StatsProblem::UnknownId : StatsProblem::StoredTwice;
            out.problemId = int(id);
            return out;
        }
        quint32 value = 0;
        if (!reader.Read(FieldOf(StatCodec::BitPacked, int(id)).bits, value)) {
            out.problem = StatsProblem::CutShort;
            return out;
        }
        out.stats.value[id] = value;
        out.stats.stored |= quint16(1u << id);
    }
    out.end = reader.ByteEnd();
    return out;
}

} // namespace

DecodedStats DecodeStats(const QByteArray &image, int offset, StatCodec codec)
{
    switch (codec) {
    case StatCodec::MaskReservedPlain: return DecodePlain(image, offset, true);
    case StatCodec::MaskPlain: return DecodePlain(image, offset, false);
    case StatCodec::BitPacked: break;
    }
    return DecodeBitPacked(image, offset);
}

QByteArray EncodeStats(const Stats &stats, StatCodec codec)
{
    QByteArray out("gf");
    const quint16 mask = WrittenMask(stats);
    if (codec == StatCodec::BitPacked) {
        BitWriter writer(out);
        for (int id = 0; id < StatCount; ++id) {
            if ((mask >> id) & 1) {
                writer.Write(kIdBits, quint32(id));
                writer.Write(FieldOf(codec, id).bits, stats.value[std::size_t(id)]);
            }
        }
        writer.Write(kIdBits, kEndId);
        return out;
    }
    out.append(char(mask & 0xFF)).append(char(mask >> 8));
    if (codec == StatCodec::MaskReservedPlain)
        out.append(char(stats.reserved));
    for (int id = 0; id < StatCount; ++id) {
        if ((mask >> id) & 1) {
            const quint32 value = stats.value[std::size_t(id)];
            for (int k = 0; k < 4; ++k)
                out.append(char(quint8(value >> (8 * k))));
        }
    }
    return out;
}

} // namespace Format
