// Start-up inside the process: a start for automation without a session bus,
// how the command line is read, and how the activation file is written.
#include "ActivationFile.h"
#include "BrennicorApp.h"
#include "CommandLine.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

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
    // Started with -Automation and a bus address that leads nowhere: string 100
    // under the application's title, and no window.
    void automationWithoutBusShowsString100()
    {
        ScriptedPrompts prompts;
        QCOMPARE(g_app->InitInstance(), 1);
        QCOMPARE(prompts.Summaries(), QStringList{"tst_startup|OLE initialization failed.  Make sure that the OLE "
                                                  "libraries are the correct version."});
        QCOMPARE(prompts.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(prompts.messages[0].owner, nullptr);
        QVERIFY(!QFileInfo::exists(ActivationFilePath()));
    }

    // A leading "/" is a path unless it names an automation option; "--" ends the options.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("read"); // "automated file", "help", "version" or "error"
        QTest::newRow("nothing") << QStringList{} << "0 ";
        QTest::newRow("absolute path") << QStringList{"/home/hero/Hero.d2s"} << "0 /home/hero/Hero.d2s";
        QTest::newRow("option in any case, then a path") << QStringList{"/aUtOmAtIoN", "/tmp/H.d2s"} << "1 /tmp/H.d2s";
        QTest::newRow("-Embedding") << QStringList{"-Embedding"} << "1 ";
        QTest::newRow("a path after --") << QStringList{"--", "/Automation"} << "0 /Automation";
        QTest::newRow("--help after --") << QStringList{"--", "--help"} << "0 --help";
        QTest::newRow("-h after a file") << QStringList{"Hero.d2s", "-h"} << "help";
        QTest::newRow("--version after an option") << QStringList{"-Automation", "--version"} << "version";
        QTest::newRow("Qt's options, with and without a value") << QStringList{"-style", "Fusion", "-reverse", "H.d2s"} << "0 H.d2s";
        QTest::newRow("an option without a name") << QStringList{"-"} << "error";
        QTest::newRow("an empty file name") << QStringList{QString()} << "error";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, read);
        const CCommandLineInfo info = ParseCommandLine(arguments);
        using A = CCommandLineInfo::Action;
        QCOMPARE(info.m_action == A::Error ? QStringLiteral("error") : info.m_action == A::Help ? QStringLiteral("help")
                     : info.m_action == A::Version ? QStringLiteral("version")
                     : QStringLiteral("%1 %2").arg(int(info.m_bRunAutomated)).arg(info.m_strFileName),
                 read);
        QCOMPARE(info.m_strError.isEmpty(), read != QLatin1String("error"));
        // Help and version are answered before any window system is asked for.
        QCOMPARE(WantsHelpOrVersion(arguments), read == QLatin1String("help") || read == QLatin1String("version"));
    }

    // Written whole or not at all; start-up learns whether the text changed
    // (then the bus must read it again).
    void activationFile_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("exec"); // the Exec line written; empty: refused
        QTest::newRow("plain") << "/opt/quarvinel/brennicor" << QByteArray("\nExec=/opt/quarvinel/brennicor -Automation\n");
        QTest::newRow("quoted for the split, backslashes doubled for the key file")
            << "/opt/it's my\\editor/brennicor" << QByteArray("\nExec='/opt/it'\\\\''s my\\\\editor/brennicor' -Automation\n");
        QTest::newRow("a line break would add lines of its own") << "/opt/x\nExec=/bin/false/brennicor" << QByteArray();
    }

    void activationFile()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, exec);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("services/Brennicor.Application.service"));
        bool changed = false;
        QCOMPARE(WriteActivationFile(program, path, &changed), !exec.isEmpty());
        QCOMPARE(changed, !exec.isEmpty());
        QVERIFY(CharacterFixture::ReadFile(path).contains(exec));
        QCOMPARE(QFileInfo::exists(path), !exec.isEmpty());
        QCOMPARE(WriteActivationFile(program, path, &changed), !exec.isEmpty());
        QVERIFY(!changed); // the same text again is no change
        // A folder that cannot be made: nothing is written, nothing breaks.
        QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("plain")), "x"));
        QVERIFY(!WriteActivationFile(program, dir.filePath(QStringLiteral("plain/dbus-1/services/x.service"))));
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
