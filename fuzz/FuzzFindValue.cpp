// FindValue on an arbitrary image, held as the input gives it.
//
// Input: the value (4 bytes, little-endian), the offset the search continues
// after (4 bytes, little-endian; 0xFFFFFFFF starts at offset 0), then the image.
//
// The search is stepped from match to match to the end. Besides crashes and
// sanitizer reports, a finding is any step whose range differs from the
// lowest-offset, narrowest-width match that a byte-by-byte reading of the
// image gives, or a failed search that changes the last offset it was given.

#include "FuzzSupport.h"

namespace {

using Fuzz::Fail;

// For each offset, the narrowest width (1..4) whose little-endian value
// equals value while it still lies inside the image; 0 when none does.
QList<quint8> Widths(const QByteArray &image, quint32 value)
{
    QList<quint8> widths(image.size(), 0);
    for (qsizetype i = 0; i < image.size(); ++i) {
        quint64 v = 0;
        for (qsizetype w = 1; w <= 4 && i + w <= image.size(); ++w) {
            v |= quint64(quint8(image[i + w - 1])) << (8 * (w - 1));
            if (v == value) {
                widths[i] = quint8(w);
                break;
            }
        }
    }
    return widths;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8 || size > 1 << 16)
        return -1;
    const QByteArray head = Fuzz::Bytes(data, 8);
    const quint32 value = Fuzz::LittleEndian(head, 0, 3);
    const quint32 start = Fuzz::LittleEndian(head, 4, 7);
    const QByteArray image = Fuzz::Bytes(data + 8, size - 8);

    Fuzz::HeldDoc doc;
    doc.Hold(image);
    const QList<quint8> widths = Widths(image, value);

    constexpr quint32 untouched = 0xA5A5A5A5u;
    quint32 first = start;
    quint32 expectedFrom = start + 1; // unsigned: 0xFFFFFFFF continues at 0
    for (qsizetype step = 0; step <= image.size() + 1; ++step) {
        quint32 last = untouched;
        const quint32 before = first;
        const bool found = doc.FindValue(first, last, value);

        qsizetype next = -1;
        for (qsizetype k = qsizetype(expectedFrom); expectedFrom < quint32(image.size()) && k < image.size(); ++k)
            if (widths[k] != 0) {
                next = k;
                break;
            }
        if (next < 0) {
            if (found)
                Fail("FindValue found a value that is not there",
                     QStringLiteral("value %1 from %2: %3..%4").arg(value).arg(before).arg(first).arg(last));
            if (last != untouched)
                Fail("a failed search changed the last offset");
            if (first != quint32(before + 1))
                Fail("a failed search did not leave first at its start offset");
            break;
        }
        if (!found)
            Fail("FindValue missed a match",
                 QStringLiteral("value %1 from %2: expected at %3").arg(value).arg(before).arg(next));
        if (first != quint32(next) || last != quint32(next) + widths[next] - 1)
            Fail("FindValue gave another range than the first match",
                 QStringLiteral("value %1 from %2: %3..%4, expected %5..%6").arg(value).arg(before).arg(first)
                     .arg(last).arg(next).arg(quint32(next) + widths[next] - 1));
        expectedFrom = first + 1;
    }
    if (Fuzz::ImageOf(doc) != image)
        Fail("FindValue changed the image");
    return 0;
}
