#pragma once

#include <QStringList>

class CBrennicorDlg;
class CDialog;

// The application: reads the command line, sets up automation, and runs the
// main window modally; the program ends when that run ends.
class CBrennicorApp
{
public:
    CBrennicorApp(int &argc, char **argv);
    ~CBrennicorApp();
    CBrennicorApp(const CBrennicorApp &) = delete;
    CBrennicorApp &operator=(const CBrennicorApp &) = delete;

    // Runs the program to its end; returns the process exit code.
    int InitInstance();

    // The application's lock count, held by automation objects. When the last
    // lock goes and the user does not control the program (it was started for
    // automation), the main window's run ends and with it the program.
    void LockApp();
    void UnlockApp();

private:
    void OnReleaseAllObjects();

    QStringList m_arguments;
    CBrennicorDlg *m_pMainWnd = nullptr;
    bool m_bUserCtrl = true;
    int m_nObjectCount = 0;
};

// Reads the command line before any window system is needed: answers --help
// and --version (status 0) and refuses a wrong command line with the usage
// text (status 2), so that neither needs a display. Returns the exit status
// when the program ends there, or -1 when the editor is to start.
int HandleCommandLineBeforeGui(int argc, char **argv);

// Runs the main window modally inside the last-resort guard: an error that
// escapes the run is shown under "Unexpected error" (its text, or "ERROR 666"
// for anything that is not a C string) and gives exit status 1.
int RunGuarded(CDialog &dlg);
