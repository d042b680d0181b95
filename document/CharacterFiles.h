#pragma once

// The character-files service: how a character is loaded (with its
// refusals), locked while it is written, and renamed with its companion
// files. The window and the command line both go through it, so each rule
// stands once; they differ only in how they ask and what they show.

#include "core/SafeFile.h"

#include <QList>
#include <QString>

class CDiablo2Doc;

namespace CharacterFiles {

// A version-71 image that does not reach the last skill byte is too short to
// be a character: no panel may show it and no command may work on it. An
// empty file opens empty in the window; the command line refuses it too. A
// file of any other kind (FileVersion::KindOf) is never too short.
[[nodiscard]] bool IsTooShort(const CDiablo2Doc &doc, bool refuseEmpty = false);
// Throws what any access past the end of such an image would: "offset out of range".
void RefuseShortImage(const CDiablo2Doc &doc, bool refuseEmpty = false);

// Loads path (or its backup) into doc and refuses an image too short to be a
// character by throwing the accessors' "offset out of range". False when the
// file could not be read (the framework has said why).
bool Load(CDiablo2Doc &doc, const QString &path, bool refuseEmpty = false);
bool LoadBackup(CDiablo2Doc &doc, const QString &characterPath, bool refuseEmpty = false);

// Held around every read-modify-write of a character file, so that two
// writers (the window, the command line, several command lines) never undo
// each other's changes.
using Lock = SafeFile::Lock;

// The game's files beside a character, named after it with these extensions:
// its map (.map; .ma0 to .ma3 in later games), its key settings (.key) and,
// in the remastered game, .ctl (reported, not confirmed). Those that exist
// move with a rename, in this order, after the character file.
inline constexpr const char *kCompanionFileExtensions[] = {".map", ".key", ".ma0", ".ma1", ".ma2", ".ma3", ".ctl"};

// One file of a character that moves to the new name.
struct Move
{
    QString from;
    QString to;
};

// The path of the character file named newName beside path.
[[nodiscard]] QString RenamedPath(const QString &path, const QString &newName);
// The character file, then each companion that exists, with its new path.
[[nodiscard]] QList<Move> RenameMoves(const QString &path, const QString &newName);
// What the user is told when a new name is taken, or empty when none is:
// anything standing there, a link that leads nowhere included, counts. A
// companion in the way is named.
[[nodiscard]] QString NameTakenMessage(const QList<Move> &moves);
// Moves every file in order, never replacing and never copying; when one
// cannot move, those already moved go back, and error says what failed. A
// companion found not to exist after all is left out of moves.
bool MoveAll(QList<Move> &moves, QString *error);
// Puts moved files back under their old names.
void MoveBack(const QList<Move> &moves);

} // namespace CharacterFiles
