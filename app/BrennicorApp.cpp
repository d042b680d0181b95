#include "BrennicorApp.h"

#include "BrennicorDlg.h"
#include "Resources.h"
#include "core/Prompts.h"
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <memory>

namespace {

std::unique_ptr<QApplication> g_app;
QtPrompts g_prompts;

} // namespace

CBrennicorApp::CBrennicorApp(int &argc, char **argv)
{
    g_app = std::make_unique<QApplication>(argc, argv);
    // The title of the framework's message boxes is the executable's name.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    QApplication::setApplicationDisplayName(QStringLiteral("QUARVINEL"));
    QApplication::setApplicationVersion(QStringLiteral(QUARVINEL_VERSION));
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
    // The main window may be hidden while a client holds it; that is no reason to end.
    QApplication::setQuitOnLastWindowClosed(false);
    SetPrompts(&g_prompts);
    m_arguments = QApplication::arguments();
}

CBrennicorApp::~CBrennicorApp()
{
    SetPrompts(nullptr);
    g_app.reset();
}

int CBrennicorApp::InitInstance()
{
    CBrennicorDlg dlg;
    try {
        dlg.DoModal();
    } catch (const char *text) {
        Prompts().MessageBox(nullptr, QString::fromLatin1(text), QStringLiteral("Unexpected error"),
                             MessageIcon::Stop);
    } catch (...) {
        Prompts().MessageBox(nullptr, QStringLiteral("ERROR 666"), QStringLiteral("Unexpected error"),
                             MessageIcon::Stop);
    }
    return 0;
}
