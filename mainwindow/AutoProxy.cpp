#include "AutoProxy.h"

#include "BrennicorDlg.h"

namespace {

std::function<void()> g_lockApp;
std::function<void()> g_unlockApp;

} // namespace

void CBrennicorDlgAutoProxy::SetApplicationLock(std::function<void()> lock,
                                                std::function<void()> unlock)
{
    g_lockApp = std::move(lock);
    g_unlockApp = std::move(unlock);
}

CBrennicorDlgAutoProxy::CBrennicorDlgAutoProxy(CBrennicorDlg *dialog)
    : m_pDialog(dialog)
{
    if (g_lockApp)
        g_lockApp();
    if (m_pDialog)
        m_pDialog->m_pAutoProxy = this;
}

CBrennicorDlgAutoProxy::~CBrennicorDlgAutoProxy()
{
    if (m_pDialog)
        m_pDialog->m_pAutoProxy = nullptr;
    if (g_unlockApp)
        g_unlockApp();
}
