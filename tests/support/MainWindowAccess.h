#pragma once

#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"

#include <exception>

// The tests' one way past the main window's controls: the document it holds,
// and its commands run so that what a handler throws reaches the test instead
// of the dispatch guard. Everything else a test does goes
// through the controls and the menu.
class MainWindowAccess
{
public:
    static CDiablo2Doc &Document(CBrennicorDlg &dlg) { return dlg.m_doc; }
    static bool SyncWithDocument(CBrennicorDlg &dlg, bool save) { return dlg.SyncWithDocument(save); }
    static void RenameCharacter(CBrennicorDlg &dlg, const QString &name) { dlg.RenameCharacter(name); }

    // Runs a menu command as the menu does; what its handler threw is thrown
    // here instead of ending the window's modal run.
    static void Command(CBrennicorDlg &dlg, int command)
    {
        dlg.SendCommand(command);
        if (const std::exception_ptr error = dlg.TakePendingError())
            std::rethrow_exception(error);
    }
};
