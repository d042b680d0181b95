// The editor's start-up on the real executable: the command line, the
// activation file, and automation clients that hold an editor open.
//
// Runs on a private session bus and X display (run-on-private-session.sh).
// Editors started by the bus draw offscreen; editors whose windows the test
// looks at or closes are started here on the X display, and driven with
// xdotool and, for the close box, a window manager's close message.

#include "AutomationNames.h"
#include "support/CharacterFixture.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/types.h>

namespace {

constexpr int kWaitMs = 15000;

const QString kActivationName = QStringLiteral("Brennicor.Application.service");

QString Editor()
{
    return qEnvironmentVariable("QUARVINEL_BRENNICOR");
}

QString ClientProgram()
{
    return qEnvironmentVariable("QUARVINEL_AUTOMATION_CLIENT");
}

// Polls condition until it holds or the time is up, serving events meanwhile.
bool WaitUntil(const std::function<bool()> &condition, int ms = kWaitMs)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

// Whether a process exists and has not ended (a zombie has ended).
bool IsRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() && line[close + 2] != 'Z';
}

QDBusConnection Bus()
{
    return QDBusConnection::sessionBus();
}

// The process id behind the automation name, or 0 while nobody holds it.
qint64 AutomationOwnerPid()
{
    QDBusConnectionInterface *bus = Bus().interface();
    const QString name = QString::fromLatin1(kAutomationService);
    if (!bus->isServiceRegistered(name).value())
        return 0;
    return bus->servicePid(name).value();
}

// Runs a short helper program to its end; its standard output.
QString Run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(2000);
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Window
{
    QString id;
    QString title;
};

// The mapped top-level windows of a process on the test's display.
QList<Window> VisibleWindows(qint64 pid)
{
    QList<Window> windows;
    const QString ids = Run(QStringLiteral("xdotool"),
                            {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--pid"), QString::number(pid)});
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString title = Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
        windows.append({id, title.trimmed()});
    }
    return windows;
}

QStringList Titles(const QList<Window> &windows)
{
    QStringList titles;
    for (const Window &window : windows)
        titles.append(window.title);
    titles.sort();
    return titles;
}

// Waits for a mapped window of pid whose title is title; its id or empty.
QString WaitForWindow(qint64 pid, const QString &title)
{
    QString found;
    WaitUntil([&] {
        for (const Window &window : VisibleWindows(pid)) {
            if (window.title == title)
                found = window.id;
        }
        return !found.isEmpty();
    });
    return found;
}

// Keys typed into a window, after giving it the input focus.
bool TypeKeys(const QString &window, const QStringList &keys)
{
    int exitCode = -1;
    Run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key")}
            + keys,
        &exitCode);
    return exitCode == 0;
}

// What a window manager sends when the user clicks a window's close box.
bool SendCloseBox(const QString &window)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    auto atom = [connection](const char *name) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window.toUInt();
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
    // A round trip before the connection closes: a server that sees a client
    // hang up may drop what it has not read from it yet.
    xcb_get_input_focus_reply_t *focus =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const bool ok = focus != nullptr && event.type != XCB_ATOM_NONE;
    free(focus);
    xcb_disconnect(connection);
    return ok;
}

// An automation client: our client program holding one instance.
class Client
{
public:
    ~Client()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    // Starts the client and waits until it holds an instance.
    bool Acquire()
    {
        m_process.start(ClientProgram(), {});
        if (!m_process.waitForStarted(5000))
            return false;
        if (!WaitUntil([this] {
                return m_process.canReadLine() || m_process.state() == QProcess::NotRunning;
            }))
            return false;
        const QStringList fields =
            QString::fromUtf8(m_process.readLine()).trimmed().split(QLatin1Char(' '));
        if (fields.size() != 3)
            return false;
        busName = fields[0];
        path = fields[1];
        pid = fields[2].toLongLong();
        return pid > 0;
    }

    void Say(const char *command)
    {
        m_process.write(command);
        m_process.write("\n");
        m_process.waitForBytesWritten(2000);
    }

    // Exit code once it has ended, -1 when it did not end in time or crashed.
    int Finish()
    {
        if (!m_process.waitForFinished(kWaitMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    void Kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    QString Output() { return QString::fromUtf8(m_process.readAllStandardOutput()); }
    QString Errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

    QString busName;
    QString path;
    qint64 pid = 0;

private:
    QProcess m_process;
};

// Calls Release on an instance from the test's own connection, which does not
// hold it; the error name of the answer (empty for a plain reply).
QString ReleaseAsStranger(const Client &client)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        client.busName, client.path, QString::fromLatin1(kInstanceInterface), QStringLiteral("Release"));
    const QDBusMessage reply = Bus().call(call, QDBus::Block, kWaitMs);
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QString();
}

} // namespace

class TestAutomation : public QObject
{
    Q_OBJECT

private:
    // An editor process of the test's own; killed at the end of the test
    // function if it is still there.
    QProcess *StartEditor(const QStringList &arguments, const QString &platform,
                          const QString &dataHome, bool withBus = true)
    {
        auto *process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        if (!withBus)
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=%1/no-bus-here").arg(m_scratch->path()));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(m_scratch->path());
        process->start(Editor(), arguments);
        process->waitForStarted(5000);
        m_editors.append(process);
        return process;
    }

    // What became of an editor, for failure messages.
    static QByteArray Describe(QProcess *editor)
    {
        QString text = editor->state() == QProcess::Running
            ? QStringLiteral("running, windows: %1").arg(Titles(VisibleWindows(editor->processId())).join(QLatin1Char(',')))
            : QStringLiteral("ended (status %1, exit code %2)").arg(int(editor->exitStatus())).arg(editor->exitCode());
        text += QStringLiteral("; stderr: ") + QString::fromLocal8Bit(editor->readAllStandardError());
        return text.toLocal8Bit();
    }

    // Exit code of an editor of ours once it has ended; -1 when it has not in time.
    static int ExitCodeOf(QProcess *editor)
    {
        if (!editor->waitForFinished(kWaitMs))
            return -1;
        return editor->exitStatus() == QProcess::NormalExit ? editor->exitCode() : -1;
    }

    void Forget(qint64 pid) { m_strays.append(pid); }

    // A data folder of its own, so that a test sees what this start wrote.
    QString FreshDataHome()
    {
        static int count = 0;
        const QString path = m_scratch->filePath(QStringLiteral("data%1").arg(++count));
        QDir().mkpath(path);
        return path;
    }

    // The folder the test's bus reads activation files from.
    static QString BusDataHome() { return qEnvironmentVariable("XDG_DATA_HOME"); }

    static QString ActivationFileIn(const QString &dataHome)
    {
        return dataHome + QStringLiteral("/dbus-1/services/") + kActivationName;
    }

    // An ordinary start of the executable at editorPath, with the bus's data
    // folder: once its window is up, its start-up has written the activation
    // file and told the bus. The editor is closed again afterwards.
    bool RegisterWithBus(const QString &editorPath)
    {
        auto *process = new QProcess(this);
        m_editors.append(process);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(m_scratch->path());
        process->start(editorPath, {});
        const bool up = !WaitForWindow(process->processId(), QStringLiteral("QUARVINEL")).isEmpty();
        process->kill();
        process->waitForFinished(5000);
        return up && QFileInfo::exists(ActivationFileIn(BusDataHome()));
    }

    QList<QProcess *> m_editors;
    QList<qint64> m_strays;
    std::unique_ptr<QTemporaryDir> m_scratch;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Editor()).isExecutable(), "QUARVINEL_BRENNICOR names no program");
        QVERIFY2(QFileInfo(ClientProgram()).isExecutable(), "QUARVINEL_AUTOMATION_CLIENT names no program");
        QVERIFY2(Bus().isConnected(), "no private session bus: run through run-on-private-session.sh");
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "no X display");
        QVERIFY(BusDataHome().startsWith(QDir::tempPath()));
    }

    void init()
    {
        m_scratch = std::make_unique<QTemporaryDir>();
        QVERIFY(m_scratch->isValid());
    }

    void cleanup()
    {
        for (QProcess *editor : std::as_const(m_editors)) {
            if (editor->state() != QProcess::NotRunning) {
                editor->kill();
                editor->waitForFinished(5000);
            }
            delete editor;
        }
        m_editors.clear();
        for (qint64 pid : std::as_const(m_strays)) {
            if (IsRunning(pid))
                ::kill(pid_t(pid), SIGKILL);
        }
        m_strays.clear();
        QVERIFY(WaitUntil([] { return AutomationOwnerPid() == 0; }));
        m_scratch.reset();
    }

    // --help and --version answer without any window system; a wrong command
    // line is refused before the editor starts (it would write its
    // activation file).
    void commandLineWithoutWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                              << QStringLiteral("^Usage: brennicor \\[OPTION\\]\\.\\.\\. \\[FILE\\]\\n")
                              << QString();
        QTest::newRow("help after a file") << QStringList{QStringLiteral("Hero.d2s"), QStringLiteral("-h")} << 0
                                           << QStringLiteral("-Automation, /Automation") << QString();
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0
                                 << QStringLiteral("^brennicor %1\\n$").arg(
                                        QRegularExpression::escape(QStringLiteral(QUARVINEL_VERSION)))
                                 << QString();
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--automation")} << 2 << QStringLiteral("^$")
                                        << QStringLiteral("unknown option '--automation'");
        QTest::newRow("misspelt automation") << QStringList{QStringLiteral("-Automate")} << 2
                                             << QStringLiteral("^$") << QStringLiteral("'-Automate'");
        QTest::newRow("two files") << QStringList{QStringLiteral("a.d2s"), QStringLiteral("b.d2s")} << 2
                                   << QStringLiteral("^$") << QStringLiteral("'b.d2s'");
    }

    void commandLineWithoutWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, error);

        const QString dataHome = FreshDataHome();
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        if (exitCode == 0) {
            // No display at all: the answer must not need one.
            env.remove(QStringLiteral("DISPLAY"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        } else {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        process.setProcessEnvironment(env);
        process.start(Editor(), arguments);
        QVERIFY(process.waitForFinished(kWaitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString stdoutText = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString stderrText = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(QRegularExpression(output).match(stdoutText).hasMatch(), qPrintable(stdoutText));
        if (!error.isEmpty()) {
            QVERIFY2(stderrText.contains(error), qPrintable(stderrText));
            QVERIFY2(stderrText.contains(QStringLiteral("--help")), qPrintable(stderrText));
        }
        QVERIFY(!QFileInfo::exists(ActivationFileIn(dataHome)));
    }

    // Each way of writing the option starts the editor for a client: it claims
    // the automation name, hands its instance to the client and ends when the
    // client lets go. It leaves the activation file alone.
    void automationOptionsAreAlike_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("-automation") << QStringLiteral("-automation");
        QTest::newRow("/Automation") << QStringLiteral("/Automation");
        QTest::newRow("-EMBEDDING") << QStringLiteral("-EMBEDDING");
        QTest::newRow("/embedding") << QStringLiteral("/embedding");
    }

    void automationOptionsAreAlike()
    {
        QFETCH(QString, option);
        const QString dataHome = FreshDataHome();
        QProcess *editor = StartEditor({option}, QStringLiteral("offscreen"), dataHome);
        QVERIFY(WaitUntil([&] { return AutomationOwnerPid() == editor->processId(); }));

        Client client;
        QVERIFY(client.Acquire());
        QCOMPARE(client.pid, editor->processId());
        QCOMPARE(client.path, QString::fromLatin1(kInstancePath));
        // The name is free again for the next client's own editor.
        QVERIFY(WaitUntil([] { return AutomationOwnerPid() == 0; }));
        QCOMPARE(editor->state(), QProcess::Running);

        client.Say("release");
        QCOMPARE(client.Finish(), 0);
        QCOMPARE(client.Output().trimmed(), QStringLiteral("released"));
        QCOMPARE(ExitCodeOf(editor), 0);
        QVERIFY(!QFileInfo::exists(ActivationFileIn(dataHome)));
        QVERIFY(!QFileInfo::exists(dataHome + QStringLiteral("/dbus-1")));
    }

    // Every ordinary start rewrites the activation file with the absolute path
    // of the executable, in one piece, and does not claim the name.
    void ordinaryStartWritesActivationFile()
    {
        const QString dataHome = FreshDataHome();
        const QString file = ActivationFileIn(dataHome);
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        const QByteArray stale = "[D-BUS Service]\nName=Brennicor.Application\nExec=/old/brennicor -Automation\n";
        QVERIFY(CharacterFixture::WriteFile(file, stale));

        QProcess *editor = StartEditor({}, QStringLiteral("offscreen"), dataHome);
        QVERIFY(WaitUntil([&] { return CharacterFixture::ReadFile(file) != stale; }));
        const QStringList lines = QString::fromUtf8(CharacterFixture::ReadFile(file)).split(QLatin1Char('\n'));
        QVERIFY(lines.contains(QStringLiteral("[D-BUS Service]")));
        QVERIFY(lines.contains(QStringLiteral("Name=Brennicor.Application")));
        const QString exec = QStringLiteral("Exec=%1 -Automation").arg(QFileInfo(Editor()).canonicalFilePath());
        QVERIFY2(lines.contains(exec), qPrintable(lines.join(QLatin1Char('\n'))));
        // Nothing but the file itself: no temporary left beside it.
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden), QStringList{kActivationName});
        QCOMPARE(editor->state(), QProcess::Running);
        QCOMPARE(AutomationOwnerPid(), 0);
    }

    // Through the activation file every client gets an editor of its own. Only
    // the holder can release it; the release, or the holder's disappearance,
    // ends that editor and no other.
    void oneEditorPerClient()
    {
        QVERIFY(RegisterWithBus(Editor()));

        Client first;
        QVERIFY(first.Acquire());
        Forget(first.pid);
        Client second;
        QVERIFY(second.Acquire());
        Forget(second.pid);
        QVERIFY(first.pid != second.pid);
        for (const Client *client : {&first, &second}) {
            QVERIFY(IsRunning(client->pid));
            QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(client->pid)).canonicalFilePath(),
                     QFileInfo(Editor()).canonicalFilePath());
            const QByteArray cmdline = CharacterFixture::ReadFile(QStringLiteral("/proc/%1/cmdline").arg(client->pid));
            QCOMPARE(cmdline.split('\0').value(1), QByteArray("-Automation"));
        }

        QCOMPARE(ReleaseAsStranger(first), QString::fromLatin1(kErrorNotHolder));
        QVERIFY(IsRunning(first.pid));

        first.Say("release");
        QCOMPARE(first.Finish(), 0);
        QVERIFY(WaitUntil([&] { return !IsRunning(first.pid); }));
        QVERIFY(IsRunning(second.pid));

        // A client that dies without a word lets go all the same.
        second.Kill();
        QVERIFY(WaitUntil([&] { return !IsRunning(second.pid); }));
    }

    // The activation file names an executable whose path has blanks, quotes,
    // a dollar and a backslash in a form the bus reads back as that path.
    void activationFileQuotesThePath()
    {
        const QString folder = m_scratch->filePath(QStringLiteral("it's \"a\" $folder\\x"));
        QVERIFY(QDir().mkpath(folder));
        const QString copy = folder + QStringLiteral("/brennicor");
        QVERIFY(QFile::copy(Editor(), copy));
        QVERIFY(RegisterWithBus(copy));

        Client client;
        QVERIFY2(client.Acquire(), qPrintable(client.Errors()));
        Forget(client.pid);
        QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(client.pid)).canonicalFilePath(),
                 QFileInfo(copy).canonicalFilePath());
        client.Say("release");
        QCOMPARE(client.Finish(), 0);
        QVERIFY(WaitUntil([&] { return !IsRunning(client.pid); }));
    }

    // While a client holds the editor, every way of closing its window only
    // hides it, and the editor goes on serving; when the client lets go, the
    // editor ends.
    void closingWhileHeldOnlyHides_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("end");
        QTest::newRow("Esc, then release") << QStringLiteral("Esc") << QStringLiteral("release");
        QTest::newRow("File Exit, then the client leaves") << QStringLiteral("File Exit") << QStringLiteral("leave");
        QTest::newRow("close box, then the client dies") << QStringLiteral("close box") << QStringLiteral("kill");
    }

    void closingWhileHeldOnlyHides()
    {
        QFETCH(QString, close);
        QFETCH(QString, end);
        const QString dataHome = FreshDataHome();
        QProcess *editor = StartEditor({QStringLiteral("-Automation")}, QStringLiteral("xcb"), dataHome);
        const QString window = WaitForWindow(editor->processId(), QStringLiteral("QUARVINEL"));
        QVERIFY2(!window.isEmpty(), Describe(editor).constData());
        QVERIFY(WaitUntil([&] { return AutomationOwnerPid() == editor->processId(); }));
        Client client;
        QVERIFY(client.Acquire());
        QCOMPARE(client.pid, editor->processId());

        if (close == QLatin1String("Esc"))
            QVERIFY(TypeKeys(window, {QStringLiteral("Escape")}));
        else if (close == QLatin1String("File Exit"))
            QVERIFY(TypeKeys(window, {QStringLiteral("alt+f"), QStringLiteral("x")}));
        else
            QVERIFY(SendCloseBox(window));
        QVERIFY2(WaitUntil([&] { return VisibleWindows(editor->processId()).isEmpty(); }),
                 qPrintable(Titles(VisibleWindows(editor->processId())).join(QLatin1Char(','))));
        // The editor still answers on the bus after the close was handled.
        QCOMPARE(ReleaseAsStranger(client), QString::fromLatin1(kErrorNotHolder));
        QCOMPARE(editor->state(), QProcess::Running);

        if (end == QLatin1String("release")) {
            client.Say("release");
            QCOMPARE(client.Finish(), 0);
        } else if (end == QLatin1String("leave")) {
            client.Say("leave");
            QCOMPARE(client.Finish(), 0);
        } else {
            client.Kill();
        }
        QCOMPARE(ExitCodeOf(editor), 0);
    }

    // A release while one of the editor's own boxes is open does not pull the
    // editor away from the user: it runs on, and closes as usual later.
    void releaseWhileBoxIsOpen()
    {
        QProcess *editor = StartEditor({QStringLiteral("-Automation")}, QStringLiteral("xcb"), FreshDataHome());
        const QString window = WaitForWindow(editor->processId(), QStringLiteral("QUARVINEL"));
        QVERIFY2(!window.isEmpty(), Describe(editor).constData());
        QVERIFY(WaitUntil([&] { return AutomationOwnerPid() == editor->processId(); }));
        Client client;
        QVERIFY(client.Acquire());

        const QStringList helpAbout{QStringLiteral("alt+h"), QStringLiteral("a")};
        const QString about = QStringLiteral("About QUARVINEL");
        QVERIFY(TypeKeys(window, helpAbout));
        QString box = WaitForWindow(editor->processId(), about);
        QVERIFY(!box.isEmpty());
        client.Say("release");
        QCOMPARE(client.Finish(), 0);

        QVERIFY(TypeKeys(box, {QStringLiteral("Escape")}));
        QVERIFY(WaitUntil([&] { return !Titles(VisibleWindows(editor->processId())).contains(about); }));
        // The main window still takes commands: the box opens once more.
        QVERIFY(TypeKeys(window, helpAbout));
        box = WaitForWindow(editor->processId(), about);
        QVERIFY(!box.isEmpty());
        QVERIFY(TypeKeys(box, {QStringLiteral("Escape")}));
        QVERIFY(WaitUntil([&] { return !Titles(VisibleWindows(editor->processId())).contains(about); }));
        QCOMPARE(editor->state(), QProcess::Running);
        QVERIFY(TypeKeys(window, {QStringLiteral("Escape")}));
        QCOMPARE(ExitCodeOf(editor), 0);
    }

    // An editor started for automation that no client has taken closes like
    // any editor.
    void automationStartWithoutClientCloses()
    {
        QProcess *editor = StartEditor({QStringLiteral("/Automation")}, QStringLiteral("xcb"), FreshDataHome());
        const QString window = WaitForWindow(editor->processId(), QStringLiteral("QUARVINEL"));
        QVERIFY2(!window.isEmpty(), Describe(editor).constData());
        QVERIFY(WaitUntil([&] { return AutomationOwnerPid() == editor->processId(); }));
        QVERIFY(TypeKeys(window, {QStringLiteral("Escape")}));
        QCOMPARE(ExitCodeOf(editor), 0);
    }

    // Without a session bus an ordinary start is a plain editor: its window and
    // nothing else, and Esc ends it.
    void withoutBusPlainEditor()
    {
        const QString dataHome = FreshDataHome();
        QProcess *editor = StartEditor({}, QStringLiteral("xcb"), dataHome, false);
        const QString window = WaitForWindow(editor->processId(), QStringLiteral("QUARVINEL"));
        QVERIFY2(!window.isEmpty(), Describe(editor).constData());
        QCOMPARE(Titles(VisibleWindows(editor->processId())), QStringList{QStringLiteral("QUARVINEL")});
        QVERIFY(QFileInfo::exists(ActivationFileIn(dataHome)));
        QVERIFY(TypeKeys(window, {QStringLiteral("Escape")}));
        QCOMPARE(ExitCodeOf(editor), 0);
    }

    // A start for automation without a session bus shows the framework's
    // message box (the executable's name as caption; its text is checked in
    // tst_startup) instead of the main window, and ends when it is confirmed.
    void automationWithoutBusFails()
    {
        const QString dataHome = FreshDataHome();
        QProcess *editor = StartEditor({QStringLiteral("-Automation")}, QStringLiteral("xcb"), dataHome, false);
        const QString box = WaitForWindow(editor->processId(), QStringLiteral("brennicor"));
        QVERIFY(!box.isEmpty());
        QCOMPARE(Titles(VisibleWindows(editor->processId())), QStringList{QStringLiteral("brennicor")});

        QVERIFY(TypeKeys(box, {QStringLiteral("Return")}));
        QCOMPARE(ExitCodeOf(editor), 1);
        QVERIFY(!QFileInfo::exists(ActivationFileIn(dataHome)));
    }

    // A file named on the command line is open once the window is up.
    void opensFileFromCommandLine()
    {
        QVERIFY(CharacterFixture().Name("Hero").WriteTo(m_scratch->filePath(QStringLiteral("Hero.d2s"))));
        QProcess *editor = StartEditor({QStringLiteral("Hero.d2s")}, QStringLiteral("xcb"), FreshDataHome());
        QVERIFY(!WaitForWindow(editor->processId(), QStringLiteral("QUARVINEL: Hero.d2s")).isEmpty());
        QCOMPARE(Titles(VisibleWindows(editor->processId())), QStringList{QStringLiteral("QUARVINEL: Hero.d2s")});
    }
};

QTEST_GUILESS_MAIN(TestAutomation)

#include "tst_automation.moc"
