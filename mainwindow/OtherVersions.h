#pragma once

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
// version that no edit has touched is written exactly as it was read: the
// panel's write-back would pad the name field with zeros and cap the level
// at 99, and in that layout those bytes hold other data.
[[nodiscard]] bool SaveWritesPanel(CDiablo2Doc &doc);

} // namespace OtherVersions
