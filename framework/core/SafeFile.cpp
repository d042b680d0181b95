#include "core/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace SafeFile {

namespace {

// Our own temporary files start with this; a save removes the ones that no
// live process holds, so a kill between naming one and renaming it leaves
// nothing behind for long.
const QByteArray kTemporaryPrefix = ".quarvinel-";

class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(Fd &&other) noexcept : m_fd(other.Release()) {}
    Fd &operator=(Fd &&other) noexcept { Reset(other.Release()); return *this; }
    [[nodiscard]] int Get() const { return m_fd; }
    int Release() { const int fd = m_fd; m_fd = -1; return fd; }
    void Reset(int fd = -1) { if (m_fd >= 0) ::close(m_fd); m_fd = fd; }

private:
    int m_fd;
};

// A name inside an open folder: the *at calls work on it whatever the length
// of the whole path.
struct Place
{
    Fd dir;
    QByteArray name;
};

Fd OpenDirectory(const QByteArray &dir)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    Fd fd(::open(dir.constData(), flags));
    if (fd.Get() >= 0 || errno != ENAMETOOLONG)
        return fd;
    // Too long for one call: walk down one folder at a time.
    fd.Reset(::open(dir.startsWith('/') ? "/" : ".", flags));
    for (const QByteArray &part : dir.split('/')) {
        if (part.isEmpty() || fd.Get() < 0)
            continue;
        fd.Reset(::openat(fd.Get(), part.constData(), flags));
    }
    return fd;
}

bool Locate(const QByteArray &native, Place &place)
{
    const qsizetype slash = native.lastIndexOf('/');
    place.name = native.mid(slash + 1);
    place.dir = OpenDirectory(slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.left(slash));
    return place.dir.Get() >= 0;
}

bool Locate(const QString &path, Place &place)
{
    return Locate(EncodeName(path), place);
}

// Follows links at the place's name to the entry they finally lead to, so a
// save through a link writes the file it points to and keeps the link.
bool FollowLinks(Place &place)
{
    // As many links as the system follows when it opens a name (40), so a
    // file that loads through a chain of links also saves through it.
    constexpr int kMostLinks = 40;
    for (int hops = 0;; ++hops) {
        struct stat st{};
        if (::fstatat(place.dir.Get(), place.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        if (hops == kMostLinks)
            break;
        QByteArray target(qsizetype(st.st_size) + 256, '\0');
        const ssize_t n = ::readlinkat(place.dir.Get(), place.name.constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return false;
        target.truncate(n);
        const qsizetype slash = target.lastIndexOf('/');
        if (target.startsWith('/')) {
            if (!Locate(target, place))
                return false;
            continue;
        }
        if (slash >= 0) {
            Fd dir(::openat(place.dir.Get(), target.left(slash).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (dir.Get() < 0)
                return false;
            place.dir = std::move(dir);
        }
        place.name = target.mid(slash + 1);
    }
    errno = ELOOP;
    return false;
}

QString KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    return QStringLiteral("a special file");
}

Identity IdentityFrom(const struct stat &st, const QByteArray &digest)
{
    return {true, quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, digest};
}

QString NotRegularText(mode_t mode)
{
    return QStringLiteral("it is %1, not a regular file").arg(KindOf(mode));
}

// What a save may replace: nothing (a new file) or a regular file the user
// may write. Replacing by rename needs only the folder's permission, so the
// file's own is asked here, as writing in place would ask it. old is filled
// when a file stands there. Empty when replacing is allowed.
QString CheckReplaceable(int dir, const QByteArray &name, struct stat &old, bool &exists)
{
    exists = false;
    if (::fstatat(dir, name.constData(), &old, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? QString() : ErrorText(errno);
    if (!S_ISREG(old.st_mode))
        return NotRegularText(old.st_mode);
    exists = true;
    if (::faccessat(dir, name.constData(), W_OK, AT_EACCESS) != 0)
        return ErrorText(errno);
    return {};
}

// The old file's extended attributes (its ACLs among them) copied onto the
// new one. What cannot be copied is refused, unless the user is root and the
// file system does not support it.
QString CopyExtendedAttributes(int dir, const QByteArray &name, int fd)
{
    const QByteArray old = "/proc/self/fd/" + QByteArray::number(dir) + '/' + name;
    QByteArray names(256, '\0');
    ssize_t n;
    while ((n = ::llistxattr(old.constData(), names.data(), size_t(names.size()))) < 0 && errno == ERANGE)
        names.resize(names.size() * 4);
    if (n < 0)
        return errno == ENOTSUP || errno == ENOENT ? QString() : ErrorText(errno);
    names.truncate(n);
    const bool root = ::geteuid() == 0;
    for (const QByteArray &attribute : names.split('\0')) {
        if (attribute.isEmpty())
            continue;
        QByteArray value(256, '\0');
        ssize_t length;
        while ((length = ::lgetxattr(old.constData(), attribute.constData(), value.data(), size_t(value.size()))) < 0
               && errno == ERANGE)
            value.resize(value.size() * 4);
        if (length >= 0 && ::fsetxattr(fd, attribute.constData(), value.constData(), size_t(length), 0) == 0)
            continue;
        if (root && (errno == ENOTSUP || errno == EOPNOTSUPP))
            continue;
        return QStringLiteral("its extended attribute %1 cannot be kept: %2")
            .arg(QString::fromUtf8(attribute), ErrorText(errno));
    }
    return {};
}

// Gives the new file fd what the old one carried: owner and group, mode,
// extended attributes. An owner that cannot be given (an ordinary user saving
// another user's file) is refused rather than the file silently becoming the
// saver's.
QString KeepWhatTheFileCarries(int dir, const QByteArray &name, const struct stat &old, int fd)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            return ErrorText(errno);
        return QStringLiteral("it belongs to another user or group, which a save cannot keep: %1").arg(ErrorText(EPERM));
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return ErrorText(errno);
    return CopyExtendedAttributes(dir, name, fd);
}

// A device that reads or writes a file descriptor, keeping the system's
// reason for a failure (a write cut short by a full disk is ENOSPC).
class FdDevice final : public QIODevice
{
public:
    int fd = -1;
    // Every byte read or written, for the file's identity.
    QCryptographicHash digest{QCryptographicHash::Sha1};

    bool isSequential() const override { return false; }
    qint64 size() const override
    {
        struct stat st{};
        return ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        for (;;) {
            const ssize_t n = ::read(fd, data, size_t(maxSize));
            if (n >= 0) {
                digest.addData(QByteArrayView(data, qsizetype(n)));
                return n;
            }
            if (errno != EINTR)
                return Fail(errno);
        }
    }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return Fail(n < 0 ? errno : ENOSPC);
            digest.addData(QByteArrayView(data + done, qsizetype(n)));
            done += n;
        }
        return done;
    }

private:
    qint64 Fail(int error)
    {
        setErrorString(ErrorText(error));
        return -1;
    }
};

// Removes our temporary files in dir that no live process holds.
void RemoveStaleTemporaries(int dirFd)
{
    Fd scan(::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR *dir = scan.Get() >= 0 ? ::fdopendir(scan.Release()) : nullptr;
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (!QByteArray(entry->d_name).startsWith(kTemporaryPrefix))
            continue;
        Fd fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st{};
        if (fd.Get() < 0 || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.Get(), &st) != 0)
            continue;
        // A batch's own folder: the new files it held go with it.
        if (S_ISDIR(st.st_mode)) {
            Fd inner(::openat(fd.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (DIR *staged = inner.Get() >= 0 ? ::fdopendir(inner.Release()) : nullptr) {
                while (const dirent *file = ::readdir(staged)) {
                    if (qstrcmp(file->d_name, ".") != 0 && qstrcmp(file->d_name, "..") != 0)
                        ::unlinkat(::dirfd(staged), file->d_name, 0);
                }
                ::closedir(staged);
            }
        }
        ::unlinkat(dirFd, entry->d_name, S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0);
    }
    ::closedir(dir);
}

QByteArray TemporaryName()
{
    return kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Locks held by this process, by file: nested guards share one.
struct HeldLock
{
    int fd;
    int count;
};
QHash<QPair<quint64, quint64>, HeldLock> &HeldLocks()
{
    static QHash<QPair<quint64, quint64>, HeldLock> locks;
    return locks;
}

} // namespace

// ---------------------------------------------------------------------------
// Names and errors

QString DecodeName(const QByteArray &native)
{
    QString name;
    const auto *p = reinterpret_cast<const uchar *>(native.constData());
    const qsizetype n = native.size();
    for (qsizetype i = 0; i < n;) {
        const uchar c = p[i];
        const int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k)
            valid = (p[i + k] & 0xC0) == 0x80;
        const QString piece = valid ? QString::fromUtf8(native.constData() + i, length) : QString();
        // Overlong forms and encoded surrogates come back as U+FFFD: escape them too.
        if (valid && !piece.contains(QChar::ReplacementCharacter) && piece.toUtf8() == native.mid(i, length)) {
            name += piece;
            i += length;
        } else {
            name += QChar(ushort(0xDC00 + c));
            i += 1;
        }
    }
    return name;
}

QByteArray EncodeName(const QString &name)
{
    QByteArray native;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool escaped = i < name.size() && name[i].unicode() >= 0xDC80 && name[i].unicode() <= 0xDCFF
            && !(i > 0 && name[i - 1].isHighSurrogate());
        if (i < name.size() && !escaped)
            continue;
        native += name.mid(runStart, i - runStart).toUtf8();
        if (escaped)
            native += char(name[i].unicode() - 0xDC00);
        runStart = i + 1;
    }
    return native;
}

QString AbsolutePath(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    QByteArray cwd(4096, '\0');
    while (!::getcwd(cwd.data(), size_t(cwd.size()))) {
        if (errno != ERANGE)
            return path;
        cwd.resize(cwd.size() * 2);
    }
    return QDir::cleanPath(DecodeName(cwd.constData()) + QLatin1Char('/') + path);
}

QString ErrorText(int error)
{
    return qt_error_string(error);
}

Identity IdentityOf(const QString &path)
{
    Place place;
    struct stat st{};
    if (!Locate(path, place) || ::fstatat(place.dir.Get(), place.name.constData(), &st, 0) != 0)
        return {};
    FdDevice file;
    file.fd = ::openat(place.dir.Get(), place.name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file.fd >= 0 && S_ISREG(st.st_mode)) {
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        char buffer[65536];
        while (file.read(buffer, sizeof buffer) > 0) {
        }
    }
    if (file.fd >= 0)
        ::close(file.fd);
    return IdentityFrom(st, file.digest.result());
}

bool LocationOf(const QString &path, Location &location, QString *error)
{
    Place place;
    struct stat st{};
    if (!Locate(path, place) || !FollowLinks(place) || ::fstat(place.dir.Get(), &st) != 0) {
        *error = ErrorText(errno);
        return false;
    }
    location = {quint64(st.st_dev), quint64(st.st_ino), place.name};
    return true;
}

// ---------------------------------------------------------------------------
// Whole-file transfers

struct Transfer::Private
{
    FdDevice device;
    Place place;
    bool replacing = false;
    bool anonymous = false;
    QByteArray temporaryName;
    Identity identity;

    ~Private()
    {
        if (device.fd >= 0)
            ::close(device.fd);
        if (!temporaryName.isEmpty())
            ::unlinkat(place.dir.Get(), temporaryName.constData(), 0);
    }
};

Transfer::Transfer() : d(std::make_unique<Private>()) {}
Transfer::~Transfer() = default;

QIODevice &Transfer::Device()
{
    return d->device;
}

Identity Transfer::FileIdentity() const
{
    Identity identity = d->identity;
    if (identity.exists)
        identity.digest = d->device.digest.result();
    return identity;
}

bool Transfer::OpenForReading(const QString &path)
{
    auto fail = [this](const QString &reason) { m_error = reason; return false; };
    if (!Locate(path, d->place))
        return fail(ErrorText(errno));
    struct stat st{};
    // Without blocking: a FIFO with no writer would otherwise hang the open.
    d->device.fd = ::openat(d->place.dir.Get(), d->place.name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (d->device.fd < 0) {
        const int error = errno;
        if (::fstatat(d->place.dir.Get(), d->place.name.constData(), &st, 0) == 0 && !S_ISREG(st.st_mode))
            return fail(NotRegularText(st.st_mode));
        return fail(ErrorText(error));
    }
    if (::fstat(d->device.fd, &st) != 0)
        return fail(ErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return fail(NotRegularText(st.st_mode));
    d->identity = IdentityFrom(st, {});
    d->device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return true;
}

bool Transfer::OpenForReplacing(const QString &path)
{
    auto fail = [this](int error) { m_error = ErrorText(error); return false; };
    if (!Locate(path, d->place) || !FollowLinks(d->place))
        return fail(errno);
    struct stat old{};
    bool exists = false;
    if (const QString refusal = CheckReplaceable(d->place.dir.Get(), d->place.name, old, exists); !refusal.isEmpty()) {
        m_error = refusal;
        return false;
    }
    d->replacing = true;
    RemoveStaleTemporaries(d->place.dir.Get());
    const int dir = d->place.dir.Get();
    d->device.fd = ::openat(dir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    d->anonymous = d->device.fd >= 0;
    // A file system without anonymous files: a short name of our own, locked
    // while we live so that no other save takes it for a leftover.
    for (int attempt = 0; d->device.fd < 0 && attempt < 100; ++attempt) {
        const QByteArray name = TemporaryName();
        d->device.fd = ::openat(dir, name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (d->device.fd >= 0)
            d->temporaryName = name;
        else if (errno != EEXIST)
            return fail(errno);
    }
    if (d->device.fd < 0)
        return fail(EEXIST);
    ::flock(d->device.fd, LOCK_EX);
    d->device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

bool Transfer::Commit()
{
    auto fail = [this](int error) { m_error = ErrorText(error); return false; };
    const int dir = d->place.dir.Get();
    const int fd = d->device.fd;
    if (!d->replacing || fd < 0)
        return fail(EBADF);
    // Asked again here: another program may have put something else under
    // the name since the file was opened.
    struct stat old{};
    bool exists = false;
    QString refusal = CheckReplaceable(dir, d->place.name, old, exists);
    if (refusal.isEmpty() && exists)
        refusal = KeepWhatTheFileCarries(dir, d->place.name, old, fd);
    if (!refusal.isEmpty()) {
        m_error = refusal;
        return false;
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (d->anonymous) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; d->temporaryName.isEmpty() && attempt < 100; ++attempt) {
            const QByteArray name = TemporaryName();
            if (::linkat(AT_FDCWD, self.constData(), dir, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                d->temporaryName = name;
            else if (errno != EEXIST)
                return fail(errno);
        }
        if (d->temporaryName.isEmpty())
            return fail(EEXIST);
    }
    if (::renameat(dir, d->temporaryName.constData(), dir, d->place.name.constData()) != 0)
        return fail(errno);
    d->temporaryName.clear();
    struct stat st{};
    ::fstat(fd, &st);
    d->identity = IdentityFrom(st, {});
    // The new entry survives a power loss only once its folder is on disk.
    // The file is already in place when this fails: the save has happened,
    // and calling it failed would only make a caller undo work around it.
    ::fsync(dir);
    return true;
}

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

// ---------------------------------------------------------------------------
// Names

bool MoveNoReplace(const QString &from, const QString &to, QString *error)
{
    Place source, target;
    if (!Locate(from, source) || !Locate(to, target)) {
        *error = ErrorText(errno);
        return false;
    }
    if (::renameat2(source.dir.Get(), source.name.constData(), target.dir.Get(), target.name.constData(),
                    RENAME_NOREPLACE) == 0) {
        ::fsync(target.dir.Get());
        return true;
    }
    // A file system without the no-replace rename: a second link, then the
    // old one goes. link refuses any name that is taken, as the rename would.
    if (errno == EINVAL || errno == ENOSYS) {
        if (::linkat(source.dir.Get(), source.name.constData(), target.dir.Get(), target.name.constData(), 0) == 0) {
            if (::unlinkat(source.dir.Get(), source.name.constData(), 0) == 0) {
                ::fsync(target.dir.Get());
                return true;
            }
            const int saved = errno;
            ::unlinkat(target.dir.Get(), target.name.constData(), 0);
            errno = saved;
        }
    }
    *error = ErrorText(errno);
    return false;
}

bool NameTaken(const QString &path)
{
    Place place;
    struct stat st{};
    if (!Locate(path, place))
        return errno != ENOENT;
    // Anything but a plain "nothing here" counts as taken.
    return ::fstatat(place.dir.Get(), place.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

// ---------------------------------------------------------------------------
// Locks

Lock::Lock(const QString &path)
{
    Take(path, -1);
}

Lock::Lock(const QString &path, int waitMs)
{
    Take(path, waitMs);
}

void Lock::Take(const QString &path, int waitMs)
{
    Place place;
    struct stat st{};
    if (path.isEmpty() || !Locate(path, place) || !FollowLinks(place) || ::fstat(place.dir.Get(), &st) != 0)
        return;
    const auto key = qMakePair(quint64(st.st_dev), quint64(st.st_ino));
    if (auto held = HeldLocks().find(key); held != HeldLocks().end()) {
        ++held->count;
        m_fd = held->fd;
        m_device = key.first;
        m_inode = key.second;
        return;
    }
    // Waiting without bound is for the command line; the window asks for a
    // short wait and then tells the user which file is busy.
    const int operation = waitMs < 0 ? LOCK_EX : LOCK_EX | LOCK_NB;
    constexpr long kPollNs = 10 * 1000 * 1000;
    for (long waitedNs = 0;;) {
        if (::flock(place.dir.Get(), operation) == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return;
        if (waitedNs >= long(waitMs) * 1000 * 1000) {
            m_busy = true;
            return;
        }
        const timespec pause{0, kPollNs};
        ::nanosleep(&pause, nullptr);
        waitedNs += kPollNs;
    }
    m_fd = place.dir.Release();
    m_device = key.first;
    m_inode = key.second;
    HeldLocks().insert(key, {m_fd, 1});
}

Lock::~Lock()
{
    if (m_fd < 0)
        return;
    auto held = HeldLocks().find(qMakePair(m_device, m_inode));
    if (held != HeldLocks().end() && --held->count > 0)
        return;
    HeldLocks().erase(held);
    ::close(m_fd);
}

QList<qsizetype> LockOrder(const QList<QString> &paths)
{
    std::vector<std::pair<Location, qsizetype>> order;
    order.reserve(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        Location location;
        QString ignored; // a folder that cannot be reached takes no lock
        LocationOf(paths[i], location, &ignored);
        location.name.clear(); // one lock per folder: the folder alone orders
        order.push_back({location, i});
    }
    std::sort(order.begin(), order.end());
    QList<qsizetype> indices;
    for (const auto &entry : order)
        indices.append(entry.second);
    return indices;
}

void RaiseDescriptorLimit()
{
    struct rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// ---------------------------------------------------------------------------
// Memory

void AdviseHugePages(void *block, size_t size)
{
#ifdef MADV_HUGEPAGE
    // A block this large has a mapping of its own from the allocator, so the
    // advice touches nothing else.
    constexpr size_t kHugePagesFrom = 32u << 20;
    if (!block || size < kHugePagesFrom)
        return;
    const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const quintptr first = (quintptr(block) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(block) + size) & ~(page - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void *>(first), size_t(end - first), MADV_HUGEPAGE);
#else
    Q_UNUSED(block);
    Q_UNUSED(size);
#endif
}

} // namespace SafeFile
