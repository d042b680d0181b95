#pragma once

#include <functional>

class CBrennicorDlg;

// The object an automation client holds to keep the program open. It has no
// methods or properties of its own: while it exists, every way of closing the
// main window only hides it. The two back pointers are set together when the
// proxy is made, and each side clears the other's in its destructor.
class CBrennicorDlgAutoProxy
{
public:
    // Locks the application and links itself with the main window.
    explicit CBrennicorDlgAutoProxy(CBrennicorDlg *dialog);
    // Unlinks itself and unlocks the application.
    virtual ~CBrennicorDlgAutoProxy();
    CBrennicorDlgAutoProxy(const CBrennicorDlgAutoProxy &) = delete;
    CBrennicorDlgAutoProxy &operator=(const CBrennicorDlgAutoProxy &) = delete;

    CBrennicorDlg *m_pDialog = nullptr;

    // The application's lock count, kept by the start-up code: lock is called
    // when a proxy is made, unlock when it goes.
    static void SetApplicationLock(std::function<void()> lock, std::function<void()> unlock);
};
