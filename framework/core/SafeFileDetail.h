#pragma once

// The pieces the safe file operations share: descriptors that close
// themselves, a name inside an open folder and the links it leads through,
// what a save may replace and what it must keep, and a device over a
// descriptor. Private to the framework's core.

#include "core/SafeFile.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QIODevice>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace SafeFile::Detail {

// Our own temporary files start with this; a save removes the ones that no
// live process holds, so a kill between naming one and renaming it leaves
// nothing behind for long.
inline const QByteArray kTemporaryPrefix = ".quarvinel-";

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

Fd OpenDirectory(const QByteArray &dir);
bool Locate(const QByteArray &native, Place &place);
bool Locate(const QString &path, Place &place);
// Follows links at the place's name to the entry they finally lead to, so a
// save through a link writes the file it points to and keeps the link.
bool FollowLinks(Place &place);
QString KindOf(mode_t mode);
Identity IdentityFrom(const struct stat &st, const QByteArray &digest);
QString NotRegularText(mode_t mode);
// What a save may replace: nothing (a new file) or a regular file the user
// may write. old is filled when a file stands there. Empty when allowed.
QString CheckReplaceable(int dir, const QByteArray &name, struct stat &old, bool &exists);
// Gives the new file fd what the old one carried: owner and group, mode,
// extended attributes; the refusal when one cannot be kept.
QString KeepWhatTheFileCarries(int dir, const QByteArray &name, const struct stat &old, int fd);
// Removes our temporary files in dir that no live process holds.
void RemoveStaleTemporaries(int dirFd);
QByteArray TemporaryName();

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

} // namespace SafeFile::Detail
