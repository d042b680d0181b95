// Several files replaced together: written into a folder of our own, synced
// once, then renamed into place.

#include "core/SafeFileDetail.h"

#include <QHash>
#include <QList>

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>

namespace SafeFile {

using namespace Detail;

// ---------------------------------------------------------------------------
// Batches

struct Batch::Private
{
    struct Folder
    {
        Fd dir;
        Fd staging; // our own folder inside dir, locked while we live
        QByteArray stagingName;
        quint64 device = 0;
        bool renamedInto = false;
    };
    struct File
    {
        size_t folder;
        QByteArray name;   // in the folder
        QByteArray staged; // in the staging folder; empty once in place
    };
    std::vector<Folder> folders;
    QHash<QPair<quint64, quint64>, size_t> folderIndex;
    std::vector<File> files;

    ~Private()
    {
        for (const File &file : files) {
            if (!file.staged.isEmpty())
                ::unlinkat(folders[file.folder].staging.Get(), file.staged.constData(), 0);
        }
        for (const Folder &folder : folders)
            ::unlinkat(folder.dir.Get(), folder.stagingName.constData(), AT_REMOVEDIR);
    }

    // The folder place is in, with its staging folder made on first use.
    int FolderOf(Place &place, size_t &index)
    {
        struct stat st{};
        if (::fstat(place.dir.Get(), &st) != 0)
            return errno;
        const auto key = qMakePair(quint64(st.st_dev), quint64(st.st_ino));
        if (const auto found = folderIndex.constFind(key); found != folderIndex.constEnd()) {
            index = *found;
            return 0;
        }
        RemoveStaleTemporaries(place.dir.Get());
        Folder folder;
        folder.device = key.first;
        for (int attempt = 0; folder.stagingName.isEmpty() && attempt < 100; ++attempt) {
            const QByteArray name = TemporaryName();
            if (::mkdirat(place.dir.Get(), name.constData(), 0700) == 0)
                folder.stagingName = name;
            else if (errno != EEXIST)
                return errno;
        }
        if (folder.stagingName.isEmpty())
            return EEXIST;
        folder.staging.Reset(::openat(place.dir.Get(), folder.stagingName.constData(),
                                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.staging.Get() < 0 || ::flock(folder.staging.Get(), LOCK_EX) != 0) {
            const int error = errno;
            ::unlinkat(place.dir.Get(), folder.stagingName.constData(), AT_REMOVEDIR);
            return error;
        }
        folder.dir = std::move(place.dir);
        index = folders.size();
        folders.push_back(std::move(folder));
        folderIndex.insert(key, index);
        return 0;
    }
};

Batch::Batch() : d(std::make_unique<Private>()) {}
Batch::~Batch() = default;

bool Batch::Add(const QString &path, const std::function<bool(QIODevice &device)> &write)
{
    auto fail = [this](int error) { m_error = ErrorText(error); return false; };
    Place place;
    if (!Locate(path, place) || !FollowLinks(place))
        return fail(errno);
    struct stat old{};
    bool exists = false;
    if (const QString refusal = CheckReplaceable(place.dir.Get(), place.name, old, exists); !refusal.isEmpty()) {
        m_error = refusal;
        return false;
    }
    size_t folderIndex = 0;
    if (const int error = d->FolderOf(place, folderIndex))
        return fail(error);
    const Private::Folder &folder = d->folders[folderIndex];
    const int dir = folder.dir.Get();
    Private::File file{folderIndex, place.name, QByteArray::number(qulonglong(d->files.size()), 36)};
    Fd fd(::openat(folder.staging.Get(), file.staged.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        return fail(errno);
    d->files.push_back(file);
    FdDevice device;
    device.fd = fd.Get();
    device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!write(device)) {
        m_error = device.errorString();
        return false;
    }
    // As in a single save: owner, group, mode and extended attributes.
    if (exists) {
        if (const QString refusal = KeepWhatTheFileCarries(dir, place.name, old, fd.Get()); !refusal.isEmpty()) {
            m_error = refusal;
            return false;
        }
    }
    return true;
}

bool Batch::Commit()
{
    // One sync per file system writes every new file at once; it reports any
    // write-back error since the staging folder there was opened.
    QList<quint64> synced;
    for (const Private::Folder &folder : d->folders) {
        if (synced.contains(folder.device))
            continue;
        if (::syncfs(folder.staging.Get()) != 0) {
            m_error = ErrorText(errno);
            return false;
        }
        synced.append(folder.device);
    }
    for (qsizetype i = 0; i < qsizetype(d->files.size()); ++i) {
        Private::File &file = d->files[size_t(i)];
        Private::Folder &folder = d->folders[file.folder];
        // Another program may have put something else under the name since.
        struct stat now{};
        if (::fstatat(folder.dir.Get(), file.name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(now.st_mode)) {
            m_failures.append({i, NotRegularText(now.st_mode)});
            continue;
        }
        if (::renameat(folder.staging.Get(), file.staged.constData(), folder.dir.Get(), file.name.constData()) != 0) {
            m_failures.append({i, ErrorText(errno)});
            continue;
        }
        file.staged.clear();
        folder.renamedInto = true;
    }
    // As in a single save, a failed sync of a folder is not a failed save:
    // the files are in place.
    for (const Private::Folder &folder : d->folders) {
        if (folder.renamedInto)
            ::fsync(folder.dir.Get());
    }
    return m_failures.isEmpty();
}

} // namespace SafeFile
