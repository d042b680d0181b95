// Start-up inside the process: a start for automation without a session bus, the last-resort guard
// around the main window's run, how the command line is read; and the automation client against an
// editor of the test's own on a private bus.
#include "app/ActivationFile.h"
#include "app/AutomationNames.h"
#include "app/BrennicorApp.h"
#include "mainwindow/BrennicorDlg.h"
#include "app/CommandLine.h"
#include "support/MainWindowAccess.h"
#include "support/ScriptedPrompts.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {
CBrennicorApp *g_app = nullptr;
} // namespace

// The editor as the client meets it on the bus: the factory refuses the first
// `refusals` requests as already used, and every call is noted.
class FakeEditor : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    int refusals = 0;
    QString calls;

public Q_SLOTS:
    QDBusObjectPath CreateInstance()
    {
        calls.append(QLatin1Char('C'));
        if (refusals-- > 0)
            sendErrorReply(QString::fromLatin1(kErrorFactoryUsed), QStringLiteral("used"));
        return QDBusObjectPath(QString::fromLatin1(kInstancePath));
    }
    void Release() { calls.append(QLatin1Char('R')); }
};

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
        QVERIFY(prompts.messages[0].icon == MessageIcon::Exclamation && !prompts.messages[0].owner);
        QVERIFY(!QFileInfo::exists(ActivationFilePath()));
    }

    // What escapes the main window's run is shown, and the program ends without saving.
    void escapedErrorsAreShown_data()
    {
        QTest::addColumn<int>("thrown"); // 0: none, the user chose Exit; 1: a C string; 2: anything else
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("File, Exit") << 0 << QStringList();
        QTest::newRow("document error") << 1 << QStringList{"Unexpected error|offset out of range"};
        QTest::newRow("anything else") << 2 << QStringList{"Unexpected error|ERROR 666"};
    }

    void escapedErrorsAreShown()
    {
        QFETCH(int, thrown);
        QFETCH(QStringList, shown);
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.PostToHandler([thrown, &dlg] {
            if (thrown == 1)
                throw "offset out of range";
            if (thrown == 2)
                throw std::runtime_error("not a C string");
            MainWindowAccess::Command(dlg, ID_FILE_EXIT);
        });
        QCOMPARE(RunGuarded(dlg), thrown ? 1 : 0);
        QCOMPARE(prompts.Summaries(), shown);
        QVERIFY(!thrown || (prompts.messages[0].icon == MessageIcon::Stop && !prompts.messages[0].owner));
        QVERIFY(!dlg.isVisible());
    }

    // The client asks again while the factory answers that it was used, holds
    // the editor it gets, and lets go on "release" or at the end of its input.
    void automationClient_data()
    {
        QTest::addColumn<int>("refusals");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("result"); // exit status, calls seen (Create, Release), printed after the held line
        QTest::newRow("refused once, then held and released") << 1 << QByteArray("release\n") << "0 CCR released";
        QTest::newRow("the end of the input releases") << 0 << QByteArray("oops\n") << "0 CR released";
        QTest::newRow("leave keeps hold") << 0 << QByteArray("leave\nrelease\n") << "0 C";
        QTest::newRow("refused five times: no editor") << 9 << QByteArray() << "1 CCCCC";
    }

    void automationClient()
    {
        QFETCH(int, refusals);
        QFETCH(QByteArray, input);
        QFETCH(QString, result);
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromLatin1(daemon.readLine().trimmed());
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("editor"));
        FakeEditor editor;
        editor.refusals = refusals;
        const auto slots = QDBusConnection::ExportAllSlots;
        QVERIFY(bus.registerObject(QString::fromLatin1(kFactoryPath), QString::fromLatin1(kFactoryInterface), &editor, slots)
                && bus.registerObject(QString::fromLatin1(kInstancePath), QString::fromLatin1(kInstanceInterface), &editor, slots)
                && bus.registerService(QString::fromLatin1(kAutomationService)));
        QProcess client;
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLatin1()); // for the client; this process's bus is settled
        client.start(QStringLiteral(AUTOMATION_CLIENT), {"--timeout", "10000"});
        client.write(input);
        client.closeWriteChannel();
        QSignalSpy finished(&client, &QProcess::finished);
        QVERIFY(finished.wait(30000)); // the editor's side answers the client while the test waits here
        const QString held = QStringLiteral("%1 %2 %3\n").arg(bus.baseService(), QString::fromLatin1(kInstancePath))
                                 .arg(QCoreApplication::applicationPid());
        QString printed = QString::fromLocal8Bit(client.readAllStandardOutput());
        if (printed.startsWith(held))
            printed.remove(0, held.size());
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(client.exitCode()).arg(editor.calls, printed).trimmed(), result);
        QDBusConnection::disconnectFromBus(QStringLiteral("editor"));
        daemon.kill();
        daemon.waitForFinished();
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
