// The character document alone, with no window and no file: arbitrary bytes
// loaded through the archive in memory (the stat block expanded), every
// accessor driven over ranges the input chooses, and the save written back
// and loaded again. Fast enough to reach deep into the expansion.
//
// A finding is also: an image that is not the input with 4-byte gaps
// inserted, or whose mask bytes are not 0xFF after a gap; an accessor that
// reads back another value than was written or throws another text than the
// range rules give; a save that writes other bytes than the image; a second
// load of the save that changes it.

#include "FuzzSupport.h"

#include <QBuffer>

namespace {

// Loads bytes into doc as a file's read would, through the archive.
QString Load(CDiablo2Doc &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchive ar(buffer, CArchive::load);
    try {
        doc.Serialize(ar);
    } catch (const char *text) {
        return QString::fromLatin1(text);
    }
    return QString();
}

QByteArray Store(CDiablo2Doc &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CArchive ar(buffer, CArchive::store);
    doc.Serialize(ar);
    return buffer.data();
}

QString Thrown(const std::function<void()> &action)
{
    try {
        action();
    } catch (const char *text) {
        return QString::fromLatin1(text);
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 12 || size > 1 << 16)
        return -1;
    const QByteArray head = Fuzz::Bytes(data, 12);
    const QByteArray file = Fuzz::Bytes(data + 12, size - 12);

    CDiablo2Doc doc;
    const QString loadError = Load(doc, file);
    if (!loadError.isEmpty()) {
        // Only a file too short for its stat block is refused.
        if (loadError != QLatin1String("offset out of range") || file.size() >= 629)
            Fuzz::Fail("the load refused a file it can expand", loadError);
        return 0;
    }
    const QByteArray image = Fuzz::ImageOf(doc);
    const qsizetype added = image.size() - file.size();
    if (added < 0 || added > 20 || added % 4 != 0)
        Fuzz::Fail("the expansion grew the image by an odd amount", QString::number(added));
    if (added > 0 && (quint8(image[562]) != 0xFF || quint8(image[563]) != 0xFF))
        Fuzz::Fail("the mask bytes are not 0xFF after an expansion");
    if (added == 0 && image != file)
        Fuzz::Fail("a file without gaps changed on load");

    // The save writes the image, and loading it again changes nothing.
    const QByteArray saved = Store(doc);
    if (saved != image)
        Fuzz::Fail("the save wrote other bytes than the image");
    CDiablo2Doc again;
    if (!Load(again, saved).isEmpty() || Fuzz::ImageOf(again) != saved)
        Fuzz::Fail("loading the saved image changed it");

    // Accessors over a range the input chooses: the checks come in their order.
    const quint32 first = Fuzz::LittleEndian(head, 0, 3) % quint32(image.size() + 8);
    const quint32 last = first + (quint32(head[4]) & 7) - 2;
    const quint32 value = Fuzz::LittleEndian(head, 8, 11);
    const quint32 n = quint32(image.size());
    const QString expected = last < first ? QStringLiteral("negative delta offset")
        : last - first >= 4             ? QStringLiteral("an UINT can only hold 4 bytes of data")
        : last >= n                     ? QStringLiteral("offset out of range")
                                        : QString();
    if (Thrown([&] { (void)doc.GetUInt(first, last); }) != expected)
        Fuzz::Fail("GetUInt threw another text than the range rules give");
    QString setExpected = expected;
    setExpected.replace(QLatin1String("an UINT can"), QLatin1String("an UINTerger can"));
    if (Thrown([&] { doc.SetUInt(first, last, value); }) != setExpected)
        Fuzz::Fail("SetUInt threw another text than the range rules give");
    if (expected.isEmpty()) {
        const quint32 mask = last - first == 3 ? 0xFFFFFFFFu : (1u << (8 * (last - first + 1))) - 1;
        if (doc.GetUInt(first, last) != (value & mask))
            Fuzz::Fail("GetUInt does not read back what SetUInt wrote");
    }

    return 0;
}
