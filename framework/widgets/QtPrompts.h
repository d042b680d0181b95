#pragma once

#include "core/Prompts.h"

#include <QFont>
#include <QSize>

// The real prompts: QMessageBox and Qt's own file dialog.
class QtPrompts final : public IPrompts
{
public:
    void MessageBox(QObject *owner, const QString &text, const QString &caption,
                    MessageIcon icon) override;
    bool GetOpenFileName(QString &path, const QString &defaultExtension,
                         const QString &filter) override;
    bool AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon) override;
};

// The folder the open-file dialog starts in: the folder of the last file
// chosen in it (kept in the user's settings, so that a save folder deep in a
// Wine prefix is found once), or empty (the current folder) before the first
// choice and once that folder is gone.
QString OpenDialogStartFolder();
void RememberOpenedFile(const QString &path);
// The size the open-file dialog starts at: the one it had when last closed
// (kept in the user's settings), or one that shows every column of its list
// in font; within the screen either way.
QSize OpenDialogSize(const QFont &font);

// The folder of the game's .txt tables the window reads items with (kept in
// the user's settings), or empty for the tables built into the program.
QString GameDataFolder();
// Remembers dir for the next start; empty: the built-in tables.
void RememberGameDataFolder(const QString &dir);

// Turns a "Name|pattern|Name|pattern||" filter into Qt's "Name (pattern);;..." form.
QString QtFileFilter(const QString &filter);
