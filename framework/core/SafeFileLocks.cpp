// Locks on folders, taken in an order no save changes; the process's limits.

#include "core/SafeFileDetail.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>

namespace SafeFile {

using namespace Detail;

namespace {

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
