#include "StatCodec.h"

#include "BitCodec.h"

namespace Format {

namespace {

constexpr int kMarkerLength = 2; // "gf"
constexpr int kIdBits = 9;
constexpr quint32 kEndId = 0x1FF;
// Version 71's expanded block: the mask and the reserved byte, then a value
// of 4 bytes per place.
constexpr int kValueBytes = int(ExpandedValueBytes);
constexpr int kExpandedHead = int(ExpandedFirstValue - ExpandedMaskOffset) + kMarkerLength;

// The field of each place of the expanded block: maximum stamina stands
// before stamina there.
int ExpandedFieldAt(int place)
{
    switch (FieldId(place)) {
    case FieldId::Stamina: return int(FieldId::MaxStamina);
    case FieldId::MaxStamina: return int(FieldId::Stamina);
    default: return place;
    }
}

quint32 U32At(const QByteArray &image, int at)
{
    quint32 value = 0;
    for (int k = 0; k < kValueBytes; ++k)
        value |= quint32(quint8(image[at + k])) << (8 * k);
    return value;
}

void AppendU32(QByteArray &out, quint32 value)
{
    for (int k = 0; k < kValueBytes; ++k)
        out.append(char(quint8(value >> (8 * k))));
}

DecodedStats DecodeExpanded(const QByteArray &image, int offset)
{
    DecodedStats out;
    // The block's end is known before it is read: a file cut short is told how long it must be.
    out.end = offset + kExpandedHead + kValueBytes * StatCount;
    if (out.end > image.size()) {
        out.problem = StatsProblem::CutShort;
        return out;
    }
    out.stats.reserved = quint8(image[offset + kExpandedHead - 1]);
    for (int place = 0; place < StatCount; ++place)
        out.stats.value[std::size_t(ExpandedFieldAt(place))] = U32At(image, offset + kExpandedHead + kValueBytes * place);
    out.stats.stored = 0xFFFF;
    return out;
}

quint16 WrittenMask(const Stats &stats)
{
    quint16 mask = stats.stored;
    for (int id = 0; id < StatCount; ++id) {
        if (stats.value[std::size_t(id)] != 0)
            mask |= quint16(1u << id);
    }
    return mask;
}

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
        if (at + kValueBytes > image.size()) {
            out.problem = StatsProblem::CutShort;
            return out;
        }
        out.stats.value[std::size_t(id)] = U32At(image, at);
        at += kValueBytes;
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
    case StatCodec::Expanded: return DecodeExpanded(image, offset);
    case StatCodec::MaskReservedPlain: return DecodePlain(image, offset, true);
    case StatCodec::MaskPlain: return DecodePlain(image, offset, false);
    case StatCodec::BitPacked: break;
    }
    return DecodeBitPacked(image, offset);
}

QByteArray EncodeStats(const Stats &stats, StatCodec codec, QByteArrayView asRead)
{
    if (codec == StatCodec::Expanded) {
        QByteArray out = asRead.first(kExpandedHead).toByteArray();
        for (int place = 0; place < StatCount; ++place)
            AppendU32(out, stats.value[std::size_t(ExpandedFieldAt(place))]);
        return out;
    }
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
            AppendU32(out, stats.value[std::size_t(id)]);
        }
    }
    return out;
}

std::array<bool, StatCount> LeftOutPlaces(quint16 mask)
{
    std::array<bool, StatCount> leftOut{};
    for (int place = 0; place < StatCount; ++place) {
        const int id = ExpandedFieldAt(place);
        leftOut[std::size_t(place)] = OptionalInFile(StatCodec::Expanded, id) && !((mask >> id) & 1);
    }
    return leftOut;
}

} // namespace Format
