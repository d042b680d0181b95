#pragma once

#include "core/Document.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>

namespace Format {
struct ParseResult;
struct ParsedCharacter;
}

// One character file held as an in-memory byte image: the only way in which the
// rest of the program reads or changes a character.
//
// Range policy: every accessor checks every byte it touches. Errors are thrown
// as plain C strings (const char *), exactly one of:
//   "offset out of range"                          offset >= GetSize()
//   "negative delta offset"                        last < first
//   "an UINT can only hold 4 bytes of data"        GetUInt over more than 4 bytes
//   "an UINTerger can only hold 4 bytes of data"   SetUInt over more than 4 bytes
// checked in that order. Nothing is rolled back: bytes written before a throw
// stay written.
class CDiablo2Doc : public CDocument
{
public:
    CDiablo2Doc();
    ~CDiablo2Doc() override;

    [[nodiscard]] quint8 GetByte(quint32 offset) const;
    void SetByte(quint32 offset, quint8 byte);

    // Little-endian value of first..last (inclusive), read from last down to first.
    [[nodiscard]] quint32 GetUInt(quint32 first, quint32 last) const;
    [[nodiscard]] quint32 GetUInt(quint32 offset) const;
    // Writes the low (last - first + 1) bytes of value, lowest first.
    void SetUInt(quint32 first, quint32 last, quint32 value);

    void GetBytes(quint32 first, quint32 last, quint8 *destination) const;
    void SetBytes(quint32 first, quint32 last, const quint8 *source);

    // A copy of the whole image, for telling what an edit changed; empty when
    // no image is held.
    [[nodiscard]] QByteArray ImageCopy() const;

    // Puts a whole new image in place of the one held, as a rebuilt
    // character of a later version needs (its length may change); the
    // document counts as modified.
    void ReplaceImage(const QByteArray &image);

    // The image read as a character file of a later version (Format::Parse).
    // It is parsed once, at the first call after the image last changed, and
    // kept until the next change; the result stays valid for its holder after
    // that. Like every const member, it may be called from several threads at
    // once while none changes the document.
    [[nodiscard]] std::shared_ptr<const Format::ParseResult> ParsedImage() const;

    // The character of a later version with the edits an open EditScope
    // (Character.h) has gathered and not yet built into the image; null
    // when there are none. A new image drops them.
    [[nodiscard]] Format::ParsedCharacter *PendingCharacter() const { return m_pending.get(); }
    void SetPendingCharacter(std::unique_ptr<Format::ParsedCharacter> character);
    std::unique_ptr<Format::ParsedCharacter> TakePendingCharacter();
    // How many edit scopes are open; LeaveEdit returns those still open.
    [[nodiscard]] int EditDepth() const { return m_editDepth; }
    void EnterEdit() { ++m_editDepth; }
    int LeaveEdit() { return --m_editDepth; }

    [[nodiscard]] bool IsEmpty() const { return m_nSize == 0; }
    [[nodiscard]] quint32 GetSize() const { return m_nSize; }
    [[nodiscard]] QString GetFileName() const { return m_strFileName; }
    // Releases the image and forgets the file name; the modified flag is kept.
    void Clear();

    // Drops the image held, remembers path as the file name, then loads it.
    // A C-string error of the load (a file too short for its stat block)
    // passes to the caller; the short image then stays held.
    virtual bool OpenFile(const QString &path);
    // Writes the image over the file it came from, atomically. With no file
    // name or no image, says "Open a document first!" and writes nothing.
    // False when refused or when the write failed (the failure has been
    // reported and the file on disk is as it was); true otherwise.
    bool Save();
    // Writes the image to the backup path beside the character file, with the
    // same refusals and result as Save.
    bool Backup();
    // Loads the backup of characterPath, keeping characterPath as the file name.
    bool OpenBackup(const QString &characterPath);
    // Whether the file under the document's file name is no longer the one it
    // was loaded from or last saved to (another program wrote, replaced or
    // removed it since).
    [[nodiscard]] bool ChangedOnDisk() const;
    // The stat block's presence mask as the file held it (high byte, low
    // byte; bit i for stat id i), before the load filled the values in;
    // empty when the image was too short to hold it. For a later version
    // that parses, the stats its file stored when it was loaded.
    [[nodiscard]] std::optional<quint16> StatMaskAsRead() const { return m_statMaskAsRead; }
    // Whether the checksum the file stored when it was loaded did not match
    // its bytes: true until a save writes the file with a correct one.
    [[nodiscard]] bool ChecksumWasWrong() const { return m_checksumWasWrong; }

    // Searches for value stored in 1 to 4 bytes, starting one byte after first
    // (so a first of 0xFFFFFFFF starts at 0). On a match, first..last is its
    // range and true is returned; the lowest offset, then the narrowest width,
    // wins. Without a match first holds the start offset and last is unchanged.
    bool FindValue(quint32 &first, quint32 &last, quint32 value) const;

    // The backup path of a character path: the text after the last '.' of the
    // file's own name replaced by "bak"; a name without '.' gets ".bak" appended.
    [[nodiscard]] static QString BackupPathOf(const QString &path);

    bool IsModified() override;
    void SetModifiedFlag(bool bModified = true) override;
    bool OnNewDocument() override;
    void Serialize(CArchive &ar) override;

protected:
    // Inserts the optional stat values that the file leaves out as zeros, so
    // that every field stands at its fixed offset.
    void ExpandStats();

    QString m_strFileName;

private:
    // Shows "Open a document first!" under the caption and returns true when
    // there is no file or no image to write.
    bool RefusedWithoutImage(const QString &caption) const;

    // The image and its length are changed only through TakeImage, SetByte
    // and ReleaseImage, which forget the parse of the image before.
    std::unique_ptr<quint8[]> m_pData;
    quint32 m_nSize = 0;
    SafeFile::Identity m_diskIdentity;
    std::optional<quint16> m_statMaskAsRead;
    bool m_checksumWasWrong = false;
    mutable std::mutex m_parseMutex;
    mutable std::shared_ptr<const Format::ParseResult> m_parsed;
    std::unique_ptr<Format::ParsedCharacter> m_pending;
    int m_editDepth = 0;

    // Holds data (size bytes) as the new image.
    void TakeImage(std::unique_ptr<quint8[]> data, quint32 size);
    // Forgets the parse of the image held: the image has changed.
    void ForgetParse();

    // The compare walk reads both images whole through this read-only view;
    // nothing else in the program sees the bytes unchecked.
    friend quint32 FindDifference(const CDiablo2Doc &edited, const CDiablo2Doc &compare, quint32 start);
    [[nodiscard]] QByteArrayView ImageForCompare() const
    {
        return QByteArrayView(reinterpret_cast<const char *>(m_pData.get()), qsizetype(m_nSize));
    }

    // Drops the image but keeps the file name: a load that fails still names
    // the file it tried.
    void ReleaseImage();
};
