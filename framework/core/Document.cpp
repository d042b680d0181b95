#include "core/Document.h"

#include "core/Prompts.h"

#include "core/SafeFile.h"

qint64 CArchive::GetLength() const
{
    return m_device.size();
}

void CArchive::Read(void *buffer, qint64 n)
{
    qint64 done = 0;
    char *p = static_cast<char *>(buffer);
    while (done < n) {
        const qint64 got = m_device.read(p + done, n - done);
        if (got <= 0)
            throw CFileException(got < 0 ? m_device.errorString()
                                         : QStringLiteral("The file ended before it was read whole."));
        done += got;
    }
}

void CArchive::Write(const void *buffer, qint64 n)
{
    const qint64 written = m_device.write(static_cast<const char *>(buffer), n);
    if (written != n)
        throw CFileException(m_device.errorString());
}

bool CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString &path)
{
    SafeFile::Transfer file;
    if (!file.OpenForReading(path)) {
        ReportFileError(path, FileError::Action::Open, file.Error());
        return false;
    }
    SetModifiedFlag(true);
    try {
        if (file.Device().size() != 0) {
            CArchive ar(file.Device(), CArchive::load);
            Serialize(ar);
        }
    } catch (const CFileException &e) {
        ReportFileError(path, FileError::Action::Open, e.Reason());
        return false;
    }
    m_fileIdentity = file.FileIdentity();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString &path)
{
    // A symbolic link is kept: the file it points to is the one replaced.
    SafeFile::Transfer file;
    if (!file.OpenForReplacing(path)) {
        ReportFileError(path, FileError::Action::Save, file.Error());
        return false;
    }
    try {
        CArchive ar(file.Device(), CArchive::store);
        Serialize(ar);
    } catch (const CFileException &e) {
        ReportFileError(path, FileError::Action::Save, e.Reason());
        return false;
    }
    if (!file.Commit()) {
        ReportFileError(path, FileError::Action::Save, file.Error());
        return false;
    }
    m_fileIdentity = file.FileIdentity();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::SaveInto(SafeFile::Batch &batch, const QString &path)
{
    const bool written = batch.Add(path, [this](QIODevice &device) {
        try {
            CArchive ar(device, CArchive::store);
            Serialize(ar);
            return true;
        } catch (const CFileException &) {
            return false; // the device keeps the reason
        }
    });
    if (!written)
        ReportSaveFailure(path, batch.Error());
    return written;
}

void CDocument::ReportSaveFailure(const QString &path, const QString &reason)
{
    ReportFileError(path, FileError::Action::Save, reason);
}

void CDocument::ReportFileError(const QString &path, FileError::Action action, const QString &reason)
{
    Prompts().ReportFileError(FileError{path, action, reason});
}
