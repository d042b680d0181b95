#include "FaultInjection.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Faults {

namespace {

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

// Sets or clears the immutable attribute; errno tells why it failed.
bool SetImmutable(const QString &path, bool immutable)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

void WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            done += n;
    }
}

} // namespace

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

FileSizeLimit::FileSizeLimit(quint64 maxBytes)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previousSoft = limit.rlim_cur;
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(maxBytes);
    m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        std::signal(SIGXFSZ, m_previousHandler);
}

FileSizeLimit::~FileSizeLimit()
{
    if (!m_active)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previousSoft);
    // Raising the soft limit back up to the hard one needs no privilege.
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("cannot lift the file size limit again");
    std::signal(SIGXFSZ, m_previousHandler);
}

ReadOnly::ReadOnly(const QString &path)
    : m_path(path)
{
    struct stat st{};
    if (::stat(Native(path).constData(), &st) != 0) {
        m_reason = QStringLiteral("%1 does not exist").arg(path);
        return;
    }
    m_previousMode = st.st_mode & 07777;
    if (!RunningAsRoot()) {
        m_active = ::chmod(Native(path).constData(), m_previousMode & ~0222u) == 0;
        if (!m_active)
            m_reason = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    // Root writes through any permission bits; only the immutable attribute
    // stops it.
    m_immutable = SetImmutable(path, true);
    m_active = m_immutable;
    if (!m_active)
        m_reason = QStringLiteral("running as root, and the immutable attribute cannot be set here (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

ReadOnly::~ReadOnly()
{
    Release();
}

void ReadOnly::Release()
{
    if (!m_active)
        return;
    if (m_immutable)
        SetImmutable(m_path, false);
    else
        ::chmod(Native(m_path).constData(), m_previousMode);
    m_active = false;
}

QStringList EntriesIn(const QString &directory)
{
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

ChildResult RunOnSmallFileSystem(const QString &directory, int sizeKiB, const std::function<QString()> &work)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {false, QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {false, QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    if (pid == 0) {
        ::close(pipeFds[0]);
        // A private mount namespace: the tmpfs is seen by this child only and
        // disappears with it, whatever happens to the test.
        QString setup;
        if (::unshare(CLONE_NEWNS) != 0)
            setup = QStringLiteral("unshare: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            setup = QStringLiteral("private mounts: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        else if (::mount("quarvinel-test", Native(directory).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                         QByteArray("size=" + QByteArray::number(sizeKiB) + "k").constData()) != 0)
            setup = QStringLiteral("mount tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (!setup.isEmpty()) {
            WriteAll(pipeFds[1], "SKIP " + setup.toUtf8());
            ::_exit(0);
        }
        const QString text = work();
        WriteAll(pipeFds[1], "RAN " + text.toUtf8());
        // No destructors, no exit handlers: the parent's objects are not ours.
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    QByteArray output;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0)
            output.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (output.startsWith("SKIP "))
        return {false, QString::fromUtf8(output.mid(5))};
    if (!output.startsWith("RAN "))
        return {true, QStringLiteral("the child ended without a result (status %1)").arg(status)};
    return {true, QString::fromUtf8(output.mid(4))};
}

} // namespace Faults
