#pragma once

// Ways to make a file operation fail on purpose, each undone when its guard
// goes out of scope, and small helpers to look at what a failure left behind.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace Faults {

[[nodiscard]] bool RunningAsRoot();

// Limits the size of any file this process writes (RLIMIT_FSIZE) to maxBytes
// while the guard lives: a write past it fails as on a full disk. SIGXFSZ is
// ignored meanwhile, so the write returns an error instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(quint64 maxBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    [[nodiscard]] bool IsActive() const { return m_active; }

private:
    bool m_active = false;
    quint64 m_previousSoft = 0;
    void (*m_previousHandler)(int) = nullptr;
};

// Makes a file or directory refuse changes while the guard lives. Without
// root the write permission bits are cleared; as root, which the bits do not
// stop, the file system's immutable attribute is set instead. IsActive() is
// false, with Reason() saying why, when neither works here.
class ReadOnly
{
public:
    explicit ReadOnly(const QString &path);
    ~ReadOnly();
    ReadOnly(const ReadOnly &) = delete;
    ReadOnly &operator=(const ReadOnly &) = delete;
    [[nodiscard]] bool IsActive() const { return m_active; }
    [[nodiscard]] QString Reason() const { return m_reason; }
    // Lifts the protection before the guard ends.
    void Release();

private:
    QString m_path;
    bool m_active = false;
    bool m_immutable = false;
    unsigned m_previousMode = 0;
    QString m_reason;
};

// The names in a directory (files, directories, links, hidden ones), sorted.
[[nodiscard]] QStringList EntriesIn(const QString &directory);

// The outcome of work run in a child process: what the child wrote to its
// result pipe, and whether it could run at all.
struct ChildResult
{
    bool ran = false;         // false: the child could not set itself up (see text)
    QString text;
};

// Runs work in a forked child, in a mount namespace of its own with a tmpfs of
// sizeKiB mounted on directory, so the file system fills up for real and the
// mount goes away with the child. work returns the text handed back. Needs
// the right to create mount namespaces (root in most containers).
ChildResult RunOnSmallFileSystem(const QString &directory, int sizeKiB, const std::function<QString()> &work);

} // namespace Faults
