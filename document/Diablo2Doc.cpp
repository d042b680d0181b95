#include "Diablo2Doc.h"

#include "Messages.h"
#include "document/format/Parse.h"
#include "document/format/StatCodec.h"

#include "core/Prompts.h"
#include "core/SafeFile.h"

#include <cstring>
#include <limits>
#include <new>

namespace {

// The four error texts of the accessors. They are thrown as plain C strings and
// the handlers that catch them show the text as it is.
const char *const kOffsetOutOfRange = Messages::OffsetOutOfRange;
const char *const kNegativeDelta = "negative delta offset";
const char *const kGetSpanTooWide = "an UINT can only hold 4 bytes of data";
const char *const kSetSpanTooWide = "an UINTerger can only hold 4 bytes of data";

const char *const kOpenFirst = Messages::OpenDocumentFirst;

// A new block for a whole image, or null when memory runs out. Every block is
// filled in one pass right after it is made (by the file's read, or by the
// expansion's copy), which huge pages make cheaper for a very large image.
std::unique_ptr<quint8[]> NewImageBlock(quint32 size)
{
    std::unique_ptr<quint8[]> block(new (std::nothrow) quint8[size]);
    SafeFile::AdviseHugePages(block.get(), size);
    return block;
}

} // namespace

CDiablo2Doc::CDiablo2Doc() = default;

CDiablo2Doc::~CDiablo2Doc()
{
    Clear();
}

// ---------------------------------------------------------------------------
// Byte access

quint8 CDiablo2Doc::GetByte(quint32 offset) const
{
    if (offset >= m_nSize)
        throw kOffsetOutOfRange;
    return m_pData[offset];
}

void CDiablo2Doc::SetByte(quint32 offset, quint8 byte)
{
    if (offset >= m_nSize)
        throw kOffsetOutOfRange;
    m_pData[offset] = byte;
    ForgetParse();
    SetModifiedFlag(true);
}

quint32 CDiablo2Doc::GetUInt(quint32 first, quint32 last) const
{
    if (last < first)
        throw kNegativeDelta;
    if (last - first >= 4)
        throw kGetSpanTooWide;
    // From the most significant byte down, so a range running past the end of
    // the image fails before anything has been read.
    quint32 value = 0;
    for (quint32 offset = last;; --offset) {
        value = (value << 8) + GetByte(offset);
        if (offset == first)
            break;
    }
    return value;
}

quint32 CDiablo2Doc::GetUInt(quint32 offset) const
{
    return GetUInt(offset, offset);
}

void CDiablo2Doc::SetUInt(quint32 first, quint32 last, quint32 value)
{
    if (last < first)
        throw kNegativeDelta;
    if (last - first >= 4)
        throw kSetSpanTooWide;
    // Lowest byte first; the bytes written before a range runs off the end stay.
    for (quint32 k = 0; k <= last - first; ++k)
        SetByte(first + k, quint8(value >> (8 * k)));
}

void CDiablo2Doc::GetBytes(quint32 first, quint32 last, quint8 *destination) const
{
    if (last < first)
        throw kNegativeDelta;
    for (quint32 k = 0;; ++k) {
        destination[k] = GetByte(first + k);
        if (first + k == last)
            break;
    }
}

void CDiablo2Doc::SetBytes(quint32 first, quint32 last, const quint8 *source)
{
    if (last < first)
        throw kNegativeDelta;
    for (quint32 k = 0;; ++k) {
        SetByte(first + k, source[k]);
        if (first + k == last)
            break;
    }
}

QByteArray CDiablo2Doc::ImageCopy() const
{
    return QByteArray(reinterpret_cast<const char *>(m_pData.get()), qsizetype(m_nSize));
}

void CDiablo2Doc::ReplaceImage(const QByteArray &image)
{
    std::unique_ptr<quint8[]> data = NewImageBlock(quint32(image.size()));
    if (!data)
        throw CFileException(QStringLiteral("There is not enough memory to hold the file."));
    std::memcpy(data.get(), image.constData(), size_t(image.size()));
    TakeImage(std::move(data), quint32(image.size()));
    SetModifiedFlag(true);
}

std::shared_ptr<const Format::ParseResult> CDiablo2Doc::ParsedImage() const
{
    const std::lock_guard<std::mutex> guard(m_parseMutex);
    if (!m_parsed)
        m_parsed = std::make_shared<const Format::ParseResult>(Format::Parse(ImageCopy()));
    return m_parsed;
}

void CDiablo2Doc::TakeImage(std::unique_ptr<quint8[]> data, quint32 size)
{
    m_pData = std::move(data);
    m_nSize = size;
    m_pending.reset();
    ForgetParse();
}

void CDiablo2Doc::SetPendingCharacter(std::unique_ptr<Format::ParsedCharacter> character)
{
    m_pending = std::move(character);
}

std::unique_ptr<Format::ParsedCharacter> CDiablo2Doc::TakePendingCharacter()
{
    return std::move(m_pending);
}

void CDiablo2Doc::ForgetParse()
{
    // A change has the document to itself: no const call runs beside it.
    m_parsed.reset();
}

// ---------------------------------------------------------------------------
// State

void CDiablo2Doc::ReleaseImage()
{
    TakeImage(nullptr, 0);
    m_statMaskAsRead.reset();
    m_checksumWasWrong = false;
}

void CDiablo2Doc::Clear()
{
    ReleaseImage();
    m_strFileName.clear();
}

bool CDiablo2Doc::IsModified()
{
    return CDocument::IsModified();
}

void CDiablo2Doc::SetModifiedFlag(bool bModified)
{
    CDocument::SetModifiedFlag(bModified);
}

bool CDiablo2Doc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

// ---------------------------------------------------------------------------
// Files

bool CDiablo2Doc::ChangedOnDisk() const
{
    return SafeFile::IdentityOf(m_strFileName) != m_diskIdentity;
}

bool CDiablo2Doc::OpenFile(const QString &path)
{
    // The image of the previous file goes first: an empty or unreadable file
    // must not leave it standing under the new file's name.
    ReleaseImage();
    m_strFileName = path;
    if (!OnOpenDocument(path))
        return false;
    m_diskIdentity = LastFileIdentity();
    return true;
}

bool CDiablo2Doc::RefusedWithoutImage(const QString &caption) const
{
    if (!m_strFileName.isEmpty() && !IsEmpty())
        return false;
    Prompts().MessageBox(nullptr, QString::fromLatin1(kOpenFirst), caption, MessageIcon::Exclamation);
    return true;
}

bool CDiablo2Doc::Save()
{
    // A document with a name but no image (a load that failed) would replace
    // the character file by an empty one; that is refused like a missing name.
    if (RefusedWithoutImage(QStringLiteral("Save Document")))
        return false;
    // A failed write has been reported by OnSaveDocument and left the file whole.
    if (!OnSaveDocument(m_strFileName))
        return false;
    m_diskIdentity = LastFileIdentity();
    m_checksumWasWrong = false;
    return true;
}

bool CDiablo2Doc::Backup()
{
    // Without an image there is nothing to back up, and an existing backup must
    // never be replaced by an empty file.
    if (RefusedWithoutImage(QStringLiteral("Backup Document")))
        return false;
    return OnSaveDocument(BackupPathOf(m_strFileName));
}

bool CDiablo2Doc::OpenBackup(const QString &characterPath)
{
    Clear();
    const QString backupPath = BackupPathOf(characterPath);
    // The character file stays the document's file: a later Save writes there.
    m_strFileName = characterPath;
    if (!OnOpenDocument(backupPath))
        return false;
    // The character file is the one a later Save replaces: it is the file the
    // user saw when restoring.
    m_diskIdentity = SafeFile::IdentityOf(characterPath);
    return true;
}

QString CDiablo2Doc::BackupPathOf(const QString &path)
{
    // Only the file's own name is searched for its extension, so a dot in a
    // folder name never moves the backup into another folder.
    qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
#ifdef Q_OS_WIN
    nameStart = qMax(nameStart, path.lastIndexOf(QLatin1Char('\\')) + 1);
#endif
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return path + QStringLiteral(".bak");
    return path.left(dot + 1) + QStringLiteral("bak");
}

void CDiablo2Doc::Serialize(CArchive &ar)
{
    if (ar.IsStoring()) {
        if (m_nSize != 0)
            ar.Write(m_pData.get(), m_nSize);
        return;
    }

    ReleaseImage();
    const qint64 length = ar.GetLength();
    if (length < 0)
        throw CFileException(QStringLiteral("The length of the file cannot be read."));
    if (length > qint64(std::numeric_limits<quint32>::max()))
        throw CFileException(QStringLiteral("The file is larger than 4294967295 bytes, "
                                            "too large to be a character file."));
    if (length == 0)
        return;

    std::unique_ptr<quint8[]> data = NewImageBlock(quint32(length));
    if (!data)
        throw CFileException(QStringLiteral("There is not enough memory to hold the file."));
    ar.Read(data.get(), length);
    // Only a whole read becomes the image; a short read leaves the document empty.
    TakeImage(std::move(data), quint32(length));
    ExpandStats();
}

// ---------------------------------------------------------------------------
// Stat block

void CDiablo2Doc::ExpandStats()
{
    // Only version 71 with its signature is expanded. Any other file (of a
    // later version, whose own parse finds its sections wherever they stand
    // and however short the file is, or of another version or none) is held
    // exactly as read, so that it is saved unchanged.
    if (!Format::ExpandsAtLoad(QByteArrayView(reinterpret_cast<const char *>(m_pData.get()), qsizetype(m_nSize)))) {
        if (ParsedImage()->kind == Format::FileKind::Later) {
            const Format::ParsedCharacter &c = ParsedImage()->character;
            m_statMaskAsRead = c.stats.stored;
            m_checksumWasWrong = c.checksum == Format::ChecksumState::Damaged;
        }
        return;
    }
    constexpr quint32 kMask = Format::ExpandedMaskOffset;
    const quint16 mask = quint16(GetByte(kMask + 1) << 8 | GetByte(kMask));
    m_statMaskAsRead = mask;
    const std::array<bool, Format::StatCount> leftOut = Format::LeftOutPlaces(mask);
    quint32 leftOutCount = 0;
    for (bool out : leftOut)
        leftOutCount += out ? 1 : 0;
    constexpr quint32 kValue = Format::ExpandedValueBytes;
    const quint32 added = kValue * leftOutCount;
    if (added == 0)
        return;

    // Everything the copy below reads must lie inside the old image, and the
    // grown image must still be addressable with 32-bit offsets.
    const quint32 needed = Format::ExpandedFirstValue + kValue * (Format::StatCount - leftOutCount);
    if (m_nSize < needed)
        throw kOffsetOutOfRange;
    if (m_nSize > std::numeric_limits<quint32>::max() - added)
        throw CFileException(QStringLiteral("The file is too large to be a character file."));

    const quint32 newSize = m_nSize + added;
    std::unique_ptr<quint8[]> grown = NewImageBlock(newSize);
    if (!grown)
        throw CFileException(QStringLiteral("There is not enough memory to hold the file."));

    const quint8 *from = m_pData.get();
    quint8 *to = grown.get();
    auto copy = [&](quint32 n) {
        std::memcpy(to, from, n);
        to += n;
        from += n;
    };
    copy(Format::ExpandedFirstValue);
    for (bool out : leftOut) {
        if (out) {
            std::memset(to, 0, kValue);
            to += kValue;
        } else {
            copy(kValue);
        }
    }
    copy(quint32(m_pData.get() + m_nSize - from));

    TakeImage(std::move(grown), newSize);
    SetByte(kMask, 0xFF);
    SetByte(kMask + 1, 0xFF);
}

// ---------------------------------------------------------------------------
// Search

namespace {

// How often a byte turns up in a character file, roughly: zero fills most of
// it, then all-ones bit fields, then small counts and flags, then the letters
// of names. A search looks for the value's least common byte first.
int Commonness(quint8 byte)
{
    if (byte == 0x00)
        return 4;
    if (byte == 0xFF)
        return 3;
    if (byte < 0x10)
        return 2;
    if (byte >= 0x20 && byte < 0x7F)
        return 1;
    return 0;
}

// The first offset in [from, to) at which the `width` bytes there read value,
// little-endian, one byte at a time; false when there is none. The image must
// hold width - 1 bytes past to.
bool ScanByteByByte(const quint8 *data, quint32 from, quint32 to, quint32 width, quint32 value, quint32 &at)
{
    // A window over the `width` bytes that start at offset i, little-endian,
    // moved one byte on per step: one load and one comparison per offset.
    const quint32 mask = width == 4 ? 0xFFFFFFFFu : (quint32(1) << (8 * width)) - 1;
    const quint32 topShift = 8 * (width - 1);
    quint32 window = 0;
    for (quint32 k = width - 1; k > 0; --k)
        window = (window << 8) | data[from + k - 1];
    window <<= 8; // the first step below shifts in the window's top byte
    for (quint32 i = from; i < to; ++i) {
        window = ((window >> 8) | (quint32(data[i + width - 1]) << topShift)) & mask;
        if (window == value) {
            at = i;
            return true;
        }
    }
    return false;
}

} // namespace

bool CDiablo2Doc::FindValue(quint32 &first, quint32 &last, quint32 value) const
{
    const quint32 start = first + 1; // wraps 0xFFFFFFFF to 0
    first = start;

    // At one offset the widths are tried from 1 to 4 bytes and the narrowest
    // match wins. A w-byte value is below 256^w, so no width narrower than the
    // value's own can match; a wider one can only match when the value's own
    // width matches too. The first match at an offset is therefore always the
    // value's own width, and only that width needs testing.
    const quint32 width = value <= 0xFFu ? 1 : value <= 0xFFFFu ? 2 : value <= 0xFFFFFFu ? 3 : 4;
    if (start >= m_nSize || m_nSize - start < width)
        return false;
    const quint32 end = m_nSize - (width - 1); // first offset at which the value no longer fits

    quint8 bytes[4];
    for (quint32 k = 0; k < 4; ++k)
        bytes[k] = quint8(value >> (8 * k));
    // The value's least common byte (the highest such, which is never zero) is
    // looked for with memchr, many bytes per step, and every offset it puts
    // forward is checked whole. memchr gives the hits in rising order, so the
    // first offset that checks out is the lowest match.
    quint32 pick = width - 1;
    for (quint32 k = width - 1; k-- > 0;)
        if (Commonness(bytes[k]) < Commonness(bytes[pick]))
            pick = k;

    const quint8 *data = m_pData.get();
    auto found = [&](quint32 at) {
        first = at;
        last = at + width - 1;
        return true;
    };
    // Where that byte is common without the value following it, memchr stops
    // at nearly every byte and costs more than reading byte by byte: after 64
    // such stops within 1 KiB the next 1 KiB is read byte by byte, and memchr
    // takes over again after it.
    constexpr quint32 kStopsPerCheck = 64;
    constexpr quint32 kDenseSpan = 1024;
    constexpr quint32 kByteByByteRun = 1024;
    quint32 stops = 0;
    quint32 stopsSince = start;
    for (quint32 i = start; i < end;) {
        const void *hit = std::memchr(data + i + pick, bytes[pick], end - i);
        if (!hit)
            return false;
        i = quint32(static_cast<const quint8 *>(hit) - data) - pick;
        if (std::memcmp(data + i, bytes, width) == 0)
            return found(i);
        ++i;
        if (++stops == kStopsPerCheck) {
            if (i - stopsSince < kDenseSpan) {
                const quint32 to = end - i > kByteByByteRun ? i + kByteByByteRun : end;
                quint32 at = 0;
                if (ScanByteByByte(data, i, to, width, value, at))
                    return found(at);
                i = to;
            }
            stops = 0;
            stopsSince = i;
        }
    }
    return false;
}
