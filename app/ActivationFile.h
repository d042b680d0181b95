#pragma once

#include <QString>

// The session bus's activation file for the automation name: it tells the bus
// how to start the editor when a client asks for Brennicor.Application and no
// process holds the name. The package installs one for /usr/bin/brennicor;
// an ordinary start of any other executable (a build tree, a private prefix)
// writes the user's own, so that it names the executable that ran last.

// $XDG_DATA_HOME/dbus-1/services/Brennicor.Application.service, where an unset,
// empty or relative XDG_DATA_HOME means ~/.local/share (as the bus reads it).
QString ActivationFilePath();

// The file's text for an executable; empty when the path cannot be written into
// the file (a line break or another control character in it).
QString ActivationFileText(const QString &executable);

// Writes the file for executable atomically, creating its folders. Returns
// false when it could not be written; the old file is then left as it was.
// changed tells whether the text differs from what the file held before.
bool WriteActivationFile(const QString &executable, const QString &path = ActivationFilePath(),
                         bool *changed = nullptr);

// The activation files installed for every user, in the order the bus reads
// them: each folder of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
QStringList InstalledActivationFilePaths();

// Whether one of paths is an activation file that starts executable.
bool ActivationFileStarts(const QString &executable, const QStringList &paths);

// What an ordinary start does. When an installed file already starts this
// executable, the user's own file is not needed: one that this executable
// wrote earlier is removed (it would outlive the package and point at a
// removed program). Otherwise it writes the user's file and, when its text changed,
// has a running session bus read its activation files again at once (a bus
// may otherwise keep the old text). Without a bus or a writable folder the
// editor goes on without a word.
void UpdateActivationFile(const QString &executable);
