#pragma once

// File-system work that must not lose or misplace a byte: reading only regular
// files, replacing a file atomically with its owner and mode kept, moving a
// directory entry without ever replacing another, advisory locks, and file
// names that are not UTF-8. POSIX underneath; QtCore types on the surface.

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>

namespace SafeFile {

// File names as the system stores them are bytes. Valid UTF-8 decodes as
// usual; every other byte becomes the lone surrogate U+DC80 + byte, which
// EncodeName turns back into that byte, so any name survives the round trip.
[[nodiscard]] QString DecodeName(const QByteArray &native);
[[nodiscard]] QByteArray EncodeName(const QString &name);

// path made absolute against the working folder, with names that are not
// UTF-8 kept (Qt's own path functions would replace them).
[[nodiscard]] QString AbsolutePath(const QString &path);

// The system's text for an error number, never empty.
[[nodiscard]] QString ErrorText(int error);

// Which file stands under a name: device, inode, size, modification time and
// a digest of its bytes. The digest catches a rewrite in place that left the
// size and, on a file system with coarse times, the modification time alone.
struct Identity
{
    bool exists = false;
    quint64 device = 0, inode = 0;
    qint64 size = 0, modifiedNs = 0;
    QByteArray digest;
    bool operator==(const Identity &) const = default;
};
// The identity of the file path leads to (links followed), its bytes read to
// take their digest; exists is false when nothing is there.
[[nodiscard]] Identity IdentityOf(const QString &path);

// Where a name finally leads once links are followed: the folder (device and
// inode) and the entry's name in it. Saving a file never changes this, so it
// orders locks and tells whether two names reach one file.
struct Location
{
    quint64 device = 0, inode = 0;
    QByteArray name;
    bool operator==(const Location &) const = default;
    bool operator<(const Location &other) const
    {
        return device != other.device ? device < other.device
             : inode != other.inode   ? inode < other.inode
                                      : name < other.name;
    }
};
// False with the reason in error when the folder cannot be reached.
bool LocationOf(const QString &path, Location &location, QString *error);

// A whole-file transfer over a file descriptor; read and write errors keep
// the system's reason as errorString().
class Transfer
{
public:
    Transfer();
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    // Opens path for reading without blocking and refuses anything but a
    // regular file (a FIFO, socket, device or folder).
    bool OpenForReading(const QString &path);
    // Opens an anonymous file beside path (links followed to the file they lead
    // to) that Commit puts in its place in one step. Refused when what stands
    // there is not a regular file, or is one the user may not write.
    bool OpenForReplacing(const QString &path);
    // Flushes the written bytes to disk, gives the new file the old one's
    // owner, group, mode and extended attributes (ACLs among them), replaces
    // the old file by it and syncs the folder. What cannot be kept is refused
    // (root alone may drop what the file system does not support). Nothing
    // changes under the name when this fails.
    bool Commit();

    [[nodiscard]] QIODevice &Device();
    [[nodiscard]] QString Error() const { return m_error; }
    // The file read, or the file written by Commit.
    [[nodiscard]] Identity FileIdentity() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
    QString m_error;
};

// Several files replaced together, all or nothing, with one sync for all of
// them instead of one per file. Each new file is written into a locked
// folder of our own beside its old file (one per folder, removed by the
// next save there should a kill leave it behind) and closed, so a batch of
// any size holds two descriptors per folder. Commit then syncs every file
// system involved once, renames each new file over its old one and syncs
// each folder once. Every rule of Transfer holds for each file: links are
// followed, owner, group and mode are kept, any name works.
class Batch
{
public:
    Batch();
    // Drops every new file not yet in place.
    ~Batch();
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;

    // Writes the new file for path with write, which returns false after
    // setting the device's errorString(). The same refusals as a single save
    // (not a regular file, not writable, attributes that cannot be kept).
    // False with the reason in Error(); the batch is then to be dropped.
    bool Add(const QString &path, const std::function<bool(QIODevice &device)> &write);
    // Syncs every new file, then puts each in place. A failure before the
    // first rename changes nothing on disk: false, the reason in Error() and
    // no file in Failures(). A rename that fails leaves that file's old
    // contents whole under its name and lists the file's index (in the order
    // of Add) with its reason in Failures(); the files renamed are new and
    // whole.
    bool Commit();

    [[nodiscard]] QString Error() const { return m_error; }
    [[nodiscard]] const QList<QPair<qsizetype, QString>> &Failures() const { return m_failures; }

private:
    struct Private;
    std::unique_ptr<Private> d;
    QString m_error;
    QList<QPair<qsizetype, QString>> m_failures;
};

// Moves the entry from to the name to in the same or another folder, never
// replacing whatever stands there (a dangling link included) and never
// copying. False with the reason in error otherwise.
bool MoveNoReplace(const QString &from, const QString &to, QString *error);

// Whether anything at all stands under path, a dangling link included.
[[nodiscard]] bool NameTaken(const QString &path);

// An exclusive advisory lock (flock) on the folder of the file path leads
// to, held for the guard's life. Every writer locks the folder, never the
// file: a folder keeps its identity while the files in it are replaced, so
// locks taken in the order of their folders (LockOrder) can never cross, and
// a batch of any number of files in one folder holds one descriptor. A lock
// already held by this process is shared, so nested guards never wait for
// each other. A folder that cannot be reached leaves nothing to guard.
class Lock
{
public:
    // Waits as long as another process holds the folder.
    explicit Lock(const QString &path);
    // Waits at most waitMs; IsBusy() tells when another process kept it.
    Lock(const QString &path, int waitMs);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;
    [[nodiscard]] bool IsHeld() const { return m_fd >= 0; }
    [[nodiscard]] bool IsBusy() const { return m_busy; }

private:
    void Take(const QString &path, int waitMs);

    int m_fd = -1;
    bool m_busy = false;
    quint64 m_device = 0, m_inode = 0;
};

// The indices of paths in the order their locks are to be taken: by folder,
// an order no save can change.
[[nodiscard]] QList<qsizetype> LockOrder(const QList<QString> &paths);

// Raises the soft limit of open descriptors to the hard limit.
void RaiseDescriptorLimit();

// Asks the kernel to back a large block that is about to be filled in one pass
// with huge pages; a kernel that does not take the advice is no worse off.
void AdviseHugePages(void *block, size_t size);

} // namespace SafeFile
