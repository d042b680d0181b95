// Where a name leads: folders walked one at a time, links followed, what a save
// may replace and what it keeps of the file it replaces, our temporary names.

#include "core/SafeFileDetail.h"

#include <QRandomGenerator>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>

namespace SafeFile::Detail {

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

namespace {

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

} // namespace

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

} // namespace SafeFile::Detail
