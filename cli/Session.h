#pragma once

// The files of one command: each character locked and loaded as the window
// opens it, edited in memory, and saved together only when every step held.

#include "document/CharacterFiles.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CDiablo2Doc;

// The command line refuses an empty file as well: there is nothing to work on.
inline constexpr bool kRefuseEmpty = true;

// A character file held for one command: the path as the user gave it, its
// document, and the lock that keeps other writers out until the command ends.
struct HeldFile
{
    QString path;
    std::unique_ptr<CDiablo2Doc> doc;
    std::shared_ptr<SafeFile::Lock> lock;
};
using HeldFiles = std::vector<HeldFile>;

// Locks the folder of every path, in an order no save can change; the lock of
// paths[i] stands at index i.
std::vector<std::shared_ptr<CharacterFiles::Lock>> LockAll(const QStringList &paths);

// Loads path as the window's Open does: the whole file, with the stat block
// expanded. An image too short to hold every field of the panels is refused
// with "offset out of range" under the caption "Open", as the window refuses
// it; so is an empty file. Every failure has been reported when false comes back.
bool LoadCharacter(CDiablo2Doc &doc, const QString &path);

// Locks and loads every file, reporting each one that fails; false when any failed.
bool LoadCharacters(const QStringList &paths, HeldFiles &characters);

// For a command that only reads: locks and loads each file in turn and hands
// it to use, then releases it before the next is read, so that one character
// is held however many are named. Each file that fails is reported and
// skipped; false when any failed.
using Use = std::function<void(const QString &path, const CDiablo2Doc &doc)>;
bool ForEachCharacter(const QStringList &paths, const Use &use);

// Saves every document over its file, all together: each file is written and
// synced before any replaces its old one, so a failure up to then changes no
// file. A rename that fails after others succeeded leaves that file old and
// whole. False when any file is not saved; each such file is reported.
bool SaveCharacters(const HeldFiles &characters);
// The same for each document's backup beside its file.
bool SaveBackups(const HeldFiles &characters);

// Runs step; a C-string error of the document it throws is reported under
// caption and gives false, as does a step that reports its own failure.
bool RunReporting(const QString &caption, const std::function<bool()> &step);

// The road of every command that changes files: each file is loaded and
// edited in memory; only when every file loaded and every edit succeeded are
// they saved, each once. An edit returns false after reporting why; a
// C-string error of the document it throws is reported under caption. With
// dryRun nothing is saved and the changes are printed instead.
using Edit = std::function<bool(CDiablo2Doc &doc)>;
int EditCharacters(const QStringList &paths, const QString &caption, bool dryRun, const Edit &edit);
