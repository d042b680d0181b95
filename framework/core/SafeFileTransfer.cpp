// One file read or replaced whole: regular files only, an anonymous file put in
// place in one step.

#include "core/SafeFileDetail.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>

namespace SafeFile {

using namespace Detail;

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

} // namespace SafeFile
