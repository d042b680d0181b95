#pragma once

#include "core/Prompts.h"
#include "core/SafeFile.h"

#include <QString>

#include <stdexcept>

class QIODevice;

// A failure of the file behind an archive: a short read, a failed write. The
// document's open and save operations catch it and report it to the user.
class CFileException : public std::runtime_error
{
public:
    explicit CFileException(const QString &reason)
        : std::runtime_error(reason.toStdString()), m_strReason(reason) {}
    QString Reason() const { return m_strReason; }

private:
    QString m_strReason;
};

// Moves a document's contents to or from an open file in whole reads and writes.
class CArchive
{
public:
    enum Mode { load, store };

    CArchive(QIODevice &device, Mode mode) : m_device(device), m_mode(mode) {}

    [[nodiscard]] bool IsStoring() const { return m_mode == store; }
    [[nodiscard]] bool IsLoading() const { return m_mode == load; }

    // Length of the file in bytes.
    [[nodiscard]] qint64 GetLength() const;

    // Reads exactly n bytes; throws CFileException when fewer arrive.
    void Read(void *buffer, qint64 n);
    // Writes exactly n bytes; throws CFileException when the write fails.
    void Write(const void *buffer, qint64 n);

private:
    QIODevice &m_device;
    Mode m_mode;
};

// The framework's document: a modified flag and whole-file open and save.
// Only regular files open. Saving writes an anonymous file beside the target
// that replaces it in one step, so a failed or interrupted write leaves the
// old file whole; every failure is reported with the system's reason.
class CDocument
{
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument &) = delete;
    CDocument &operator=(const CDocument &) = delete;

    [[nodiscard]] virtual bool IsModified();
    virtual void SetModifiedFlag(bool bModified = true);

    virtual bool OnNewDocument();
    // Opens path for reading and lets Serialize load it. A file that cannot be
    // read is reported to the user and gives false. Exceptions other than
    // file failures pass to the caller.
    virtual bool OnOpenDocument(const QString &path);
    // Lets Serialize store the document into path. A failure is reported to the
    // user, gives false and leaves the file at path as it was.
    virtual bool OnSaveDocument(const QString &path);
    // Lets Serialize store the document as the new file for path in batch,
    // which puts it in place with the others on its Commit. A failure is
    // reported to the user as OnSaveDocument reports it and gives false.
    bool SaveInto(SafeFile::Batch &batch, const QString &path);
    // Reports that the document could not be saved to path, with the reason.
    void ReportSaveFailure(const QString &path, const QString &reason);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive &ar) = 0;

protected:
    // The file last read or written by OnOpenDocument or OnSaveDocument.
    [[nodiscard]] SafeFile::Identity LastFileIdentity() const { return m_fileIdentity; }

    // The framework's file-error report, handed to the prompts as parts: the
    // window shows a message box under the application's title.
    virtual void ReportFileError(const QString &path, FileError::Action action, const QString &reason);

private:
    bool m_bModified = false;
    SafeFile::Identity m_fileIdentity;
};
