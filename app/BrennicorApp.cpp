#include "BrennicorApp.h"

#include "ActivationFile.h"
#include "mainwindow/AutoProxy.h"
#include "AutomationServer.h"
#include "mainwindow/BrennicorDlg.h"
#include "CommandLine.h"
#include "resources/Resources.h"
#include "core/Prompts.h"
#include "core/SafeFile.h"
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The desktop entry's name without ".desktop"; the entry's StartupWMClass is
// the application name set below, which X11 windows carry as their class.
const char *const kDesktopFileName = "org.quarvinel.Quarvinel";

std::unique_ptr<QApplication> g_app;
QtPrompts g_prompts;
// Arguments as the system passed them: a file name that is not UTF-8 keeps
// its bytes, so the file it names can be opened.

QStringList ArgumentsAfterProgram(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(SafeFile::DecodeName(argv[i]));
    return arguments;
}

QString ProgramName(const char *argv0)
{
    const QString name = QFileInfo(QString::fromLocal8Bit(argv0)).completeBaseName();
    return name.isEmpty() ? QStringLiteral("brennicor") : name;
}

} // namespace

int HandleCommandLineBeforeGui(int argc, char **argv)
{
    const CCommandLineInfo info = ParseCommandLine(ArgumentsAfterProgram(argc, argv));
    const QString program = ProgramName(argc > 0 ? argv[0] : nullptr);
    switch (info.m_action) {
    case CCommandLineInfo::Action::Help:
        std::fputs(qPrintable(UsageText(program)), stdout);
        return 0;
    case CCommandLineInfo::Action::Version:
        std::fputs(qPrintable(VersionText(program)), stdout);
        return 0;
    case CCommandLineInfo::Action::Error:
        std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(program), qPrintable(info.m_strError),
                     qPrintable(UsageText(program)));
        return 2;
    case CCommandLineInfo::Action::Run:
        break;
    }
    return -1;
}

int RunGuarded(CDialog &dlg)
{
    try {
        dlg.DoModal();
        return 0;
    } catch (const char *text) {
        Prompts().MessageBox(nullptr, QString::fromLatin1(text), QStringLiteral("Unexpected error"),
                             MessageIcon::Stop);
    } catch (...) {
        Prompts().MessageBox(nullptr, QStringLiteral("ERROR 666"), QStringLiteral("Unexpected error"),
                             MessageIcon::Stop);
    }
    // The run ended without saving anything; the failure shows in the exit status.
    return 1;
}

CBrennicorApp::CBrennicorApp(int &argc, char **argv)
{
    g_app = std::make_unique<QApplication>(argc, argv);
    // The title of the framework's message boxes is the executable's name.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    // No display name: the windowing system would append it to every title,
    // and the program sets its titles and captions itself.
    QApplication::setApplicationVersion(QStringLiteral(QUARVINEL_VERSION));
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
    // Ties the window to its launcher: docks take its name and icon from the
    // desktop entry, and on Wayland this is the window's app id.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    // The main window may be hidden while a client holds it; that is no reason to end.
    QApplication::setQuitOnLastWindowClosed(false);
    SetPrompts(&g_prompts);
    // Qt has taken its own options out of argv by now.
    m_arguments = ArgumentsAfterProgram(argc, argv);
    CBrennicorDlgAutoProxy::SetApplicationLock([this] { LockApp(); }, [this] { UnlockApp(); });
}

CBrennicorApp::~CBrennicorApp()
{
    CBrennicorDlgAutoProxy::SetApplicationLock(nullptr, nullptr);
    SetPrompts(nullptr);
    g_app.reset();
}

void CBrennicorApp::LockApp()
{
    ++m_nObjectCount;
}

void CBrennicorApp::UnlockApp()
{
    if (m_nObjectCount > 0)
        --m_nObjectCount;
    if (m_nObjectCount == 0 && !m_bUserCtrl)
        OnReleaseAllObjects();
}

void CBrennicorApp::OnReleaseAllObjects()
{
    // Only a main window that takes input is ended: while one of its own modal
    // boxes or tools is open, the user finishes that first and closes the
    // window as usual, which nothing stops any more.
    if (!m_pMainWnd || !m_pMainWnd->IsInModalRun())
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_pMainWnd)
        return;
    m_pMainWnd->EndDialog(IDCANCEL);
}

int CBrennicorApp::InitInstance()
{
    const CCommandLineInfo cmdInfo = ParseCommandLine(m_arguments);
    switch (cmdInfo.m_action) {
    case CCommandLineInfo::Action::Run:
        break;
    case CCommandLineInfo::Action::Help:
        std::fputs(qPrintable(UsageText(AfxGetAppTitle())), stdout);
        return 0;
    case CCommandLineInfo::Action::Version:
        std::fputs(qPrintable(VersionText(AfxGetAppTitle())), stdout);
        return 0;
    case CCommandLineInfo::Action::Error:
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n",
                     qPrintable(AfxGetAppTitle()), qPrintable(cmdInfo.m_strError),
                     qPrintable(AfxGetAppTitle()));
        return 2;
    }

    // A start for automation needs the session bus: it is how the client
    // reaches this process. An ordinary start does without it.
    std::optional<QDBusConnection> bus;
    if (cmdInfo.m_bRunAutomated) {
        bus = QDBusConnection::sessionBus();
        if (!bus->isConnected()) {
            AfxMessageBox(LoadResourceString(IDP_OLE_INIT_FAILED));
            return 1;
        }
        m_bUserCtrl = false;
    } else {
        // The activation file lets the bus start this executable for a client.
        // Without a writable home the editor simply runs without it.
        UpdateActivationFile(QApplication::applicationFilePath());
    }

    CBrennicorDlg dlg;
    m_pMainWnd = &dlg;
    std::optional<CAutomationServer> server;
    if (bus) {
        server.emplace(*bus, [this] { return m_pMainWnd; });
        server->RegisterAll();
    }
    if (!cmdInfo.m_strFileName.isEmpty()) {
        // OpenPath makes the path absolute itself, keeping a name that is not UTF-8.
        const QString path = cmdInfo.m_strFileName;
        dlg.PostToHandler([&dlg, path] { dlg.OpenPath(path); });
    }

    const int exitCode = RunGuarded(dlg);
    // A client still holding the proxy lets go of it here, before the window goes.
    server.reset();
    m_pMainWnd = nullptr;
    return exitCode;
}
