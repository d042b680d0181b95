// Start-up inside the process: the message of a start for automation without a
// session bus, how the command line is read, and the activation file's writing.

#include "ActivationFile.h"
#include "BrennicorApp.h"
#include "CommandLine.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

CBrennicorApp *g_app = nullptr;

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The process was started with -Automation and its bus address leads
    // nowhere: the framework's message box shows string 100 under the
    // application's title, and the program ends without its window.
    void automationWithoutBusShowsString100()
    {
        ScriptedPrompts prompts;
        QCOMPARE(g_app->InitInstance(), 1);
        QCOMPARE(prompts.messages.size(), 1);
        const ScriptedPrompts::Message &message = prompts.messages.constFirst();
        QCOMPARE(message.text, QStringLiteral("OLE initialization failed.  Make sure that the OLE "
                                              "libraries are the correct version."));
        QCOMPARE(message.caption, QStringLiteral("tst_startup"));
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(message.owner, nullptr);
        QVERIFY(!QFileInfo::exists(ActivationFilePath()));
    }

    // Options and the file name: a leading "/" is a path unless it names an
    // automation option, and "--" ends the options.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("automated");
        QTest::addColumn<QString>("file");
        using A = CCommandLineInfo::Action;
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << false << QString();
        QTest::newRow("absolute path") << QStringList{QStringLiteral("/home/hero/Hero.d2s")} << int(A::Run)
                                       << false << QStringLiteral("/home/hero/Hero.d2s");
        QTest::newRow("option and path")
            << QStringList{QStringLiteral("/aUtOmAtIoN"), QStringLiteral("/tmp/Hero.d2s")} << int(A::Run) << true
            << QStringLiteral("/tmp/Hero.d2s");
        QTest::newRow("path after --") << QStringList{QStringLiteral("--"), QStringLiteral("/Automation")}
                                       << int(A::Run) << false << QStringLiteral("/Automation");
        QTest::newRow("--help as a file") << QStringList{QStringLiteral("--"), QStringLiteral("--help")}
                                          << int(A::Run) << false << QStringLiteral("--help");
        QTest::newRow("option without a name") << QStringList{QStringLiteral("-")} << int(A::Error) << false
                                               << QString();
        QTest::newRow("empty file name") << QStringList{QString()} << int(A::Error) << false << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(bool, automated);
        QFETCH(QString, file);
        const CCommandLineInfo info = ParseCommandLine(arguments);
        QCOMPARE(int(info.m_action), action);
        if (info.m_action == CCommandLineInfo::Action::Error) {
            QVERIFY(!info.m_strError.isEmpty());
            return;
        }
        QCOMPARE(info.m_bRunAutomated, automated);
        QCOMPARE(info.m_strFileName, file);
    }

    // The file is written whole or not at all, and start-up learns whether its
    // text changed (then the bus must read it again).
    void activationFileWriting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("services/Brennicor.Application.service"));
        bool changed = false;
        QVERIFY(WriteActivationFile(QStringLiteral("/opt/quarvinel/brennicor"), path, &changed));
        QVERIFY(changed);
        const QByteArray first = CharacterFixture::ReadFile(path);
        QVERIFY(first.contains("\nExec=/opt/quarvinel/brennicor -Automation\n"));

        QVERIFY(WriteActivationFile(QStringLiteral("/opt/quarvinel/brennicor"), path, &changed));
        QVERIFY(!changed);
        // Quoted for the shell-like split, and backslashes doubled for the key file.
        QVERIFY(WriteActivationFile(QStringLiteral("/opt/it's my\\editor/brennicor"), path, &changed));
        QVERIFY(changed);
        const QByteArray quoted = "\nExec='/opt/it'\\\\''s my\\\\editor/brennicor' -Automation\n";
        QVERIFY2(CharacterFixture::ReadFile(path).contains(quoted), CharacterFixture::ReadFile(path).constData());

        // A line break in the path would add lines of its own to the file.
        QVERIFY(!WriteActivationFile(QStringLiteral("/opt/x\nExec=/bin/false/brennicor"), path, &changed));
        QVERIFY(!changed);
        QVERIFY(CharacterFixture::ReadFile(path).contains(quoted));

        // A folder that cannot be made: nothing is written, nothing breaks.
        QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("plain")), "x"));
        QVERIFY(!WriteActivationFile(QStringLiteral("/opt/quarvinel/brennicor"),
                                     dir.filePath(QStringLiteral("plain/dbus-1/services/x.service"))));
    }
};

int main(int argc, char **argv)
{
    // No session bus and a data folder of the test's own.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quarvinel-test-bus");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));

    char name[] = "tst_startup";
    char option[] = "-Automation";
    char *appArgv[] = {name, option, nullptr};
    int appArgc = 2;
    CBrennicorApp app(appArgc, appArgv);
    g_app = &app;
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
