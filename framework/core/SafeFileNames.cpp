// File names as bytes, absolute paths, identities, and moves that never replace.

#include "core/SafeFileDetail.h"

#include <QDir>

#include <cerrno>

#include <fcntl.h>

namespace SafeFile {

using namespace Detail;

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

} // namespace SafeFile
