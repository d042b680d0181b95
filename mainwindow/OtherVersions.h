#pragma once

#include <QByteArray>

class CDiablo2Doc;
class QObject;

// The window's side of characters saved in another file version than 71:
// the notice when one opens, and the question before one is saved.
namespace OtherVersions {

// Open, Reload and Restore: tells under "Open" that doc holds a character of
// another version; nothing for the known version.
void Notice(QObject *owner, const CDiablo2Doc &doc);

// Save and Rename's save: asks under "Save", No being the default, before such
// a character is written; true without a question for the known version.
[[nodiscard]] bool MaySave(QObject *owner, const CDiablo2Doc &doc);

// Whether Save writes the panel into the image first. A character of another
// version is written as its image stands: every accepted edit of the panel
// has written the panel already, and writing it again would also pad the name
// field with zeros and cap the level at 99 over bytes that hold other data in
// that layout, undoing what the raw byte tools set there.
[[nodiscard]] bool SaveWritesPanel(const CDiablo2Doc &doc);

// Held around the refresh of the panels after a load. The refresh writes the
// panel into the image (the class handler does), which reshapes the same
// bytes; for a character of another version the image is put back as it was
// read when this goes, unmodified, so that Backup copies the file exactly and
// Save without an edit writes it unchanged.
class KeepImageAsRead
{
public:
    explicit KeepImageAsRead(CDiablo2Doc &doc);
    ~KeepImageAsRead();
    KeepImageAsRead(const KeepImageAsRead &) = delete;
    KeepImageAsRead &operator=(const KeepImageAsRead &) = delete;

private:
    CDiablo2Doc &m_doc;
    QByteArray m_image; // empty for the known version
};

} // namespace OtherVersions
