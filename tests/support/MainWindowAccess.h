#pragma once

#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"

// The tests' one way past the main window's controls: the document it holds
// and its handlers called directly, so that what a handler throws reaches the
// test instead of the dispatch guard. Everything else a test does goes
// through the controls and the menu.
class MainWindowAccess
{
public:
    static CDiablo2Doc &Document(CBrennicorDlg &dlg) { return dlg.m_doc; }
    static bool SyncWithDocument(CBrennicorDlg &dlg, bool save) { return dlg.SyncWithDocument(save); }
    static void RenameCharacter(CBrennicorDlg &dlg, const QString &name) { dlg.RenameCharacter(name); }

    // Runs the handler of a menu command.
    static void Command(CBrennicorDlg &dlg, int command)
    {
        switch (command) {
        case ID_FILE_OPEN: dlg.OnFileOpen(); return;
        case ID_FILE_CLOSE: dlg.OnFileClose(); return;
        case ID_FILE_SAVE: dlg.OnFileSave(); return;
        case ID_FILE_RELOAD: dlg.OnFileReload(); return;
        case ID_FILE_BACKUP: dlg.OnFileBackup(); return;
        case ID_FILE_RESTORE: dlg.OnFileRestore(); return;
        case ID_FILE_EXIT: dlg.OnFileExit(); return;
        case ID_EDIT_RENAME_CHARACTER: dlg.OnRenameCharacter(); return;
        case ID_EDIT_MAXIMIZE_SKILLS: dlg.OnMaximizeSkills(); return;
        case ID_EDIT_MAXIMIZE_ATTRIBUTES: dlg.OnMaximizeAttributes(); return;
        case ID_EDIT_ACTIVATE_ALL_WAYPOINTS: dlg.OnActivateAllWaypoints(); return;
        case ID_EDIT_ACTIVATE_ALL_ACTS: dlg.OnActivateAllActs(); return;
        case ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL: dlg.OnActivateNightmareAndHell(); return;
        case ID_EDIT_ALL_QUESTS_DONE: dlg.OnAllQuestsDone(); return;
        default: dlg.SendCommand(command); return;
        }
    }
};
