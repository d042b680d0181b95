// brennicor-automation-client: asks the session bus for an editor and holds it.
//
// The editor stays open while this program holds its instance; closing the
// editor's window then only hides it. The instance is let go with the command
// "release" on standard input, or at the end of the input; "leave" exits
// without releasing, which the editor notices as well.

#include "app/AutomationNames.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kAttempts = 5;

void PrintUsage(FILE *to)
{
    std::fputs("Usage: brennicor-automation-client [--timeout MILLISECONDS]\n"
               "Asks the session bus for a QUARVINEL editor (Brennicor.Application), which\n"
               "starts a new editor process, and holds it: the editor stays open until this\n"
               "program lets go. Once it holds the editor it prints one line:\n"
               "  <bus name of the editor> <instance object path> <process id>\n"
               "then reads commands from standard input, one per line:\n"
               "  release   let go of the editor and exit (also at the end of the input)\n"
               "  leave     exit without letting go; the editor notices the client is gone\n"
               "Exit status: 0 done, 1 no editor could be had or released, 2 bad usage.\n",
               to);
}

QString ErrorText(const QDBusMessage &reply)
{
    return reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("MILLISECONDS"),
                                     QStringLiteral("25000"));
    parser.addOptions({help, timeout});
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && parser.isSet(help)) {
        PrintUsage(stdout);
        return 0;
    }
    bool ok = false;
    const int timeoutMs = parser.value(timeout).toInt(&ok);
    if (!parsed || !ok || timeoutMs <= 0 || !parser.positionalArguments().isEmpty()) {
        const QString error = !parsed ? parser.errorText() : QStringLiteral("bad arguments");
        std::fprintf(stderr, "brennicor-automation-client: %s\n", qPrintable(error));
        PrintUsage(stderr);
        return 2;
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "brennicor-automation-client: no session bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }

    // A process whose factory has just been used answers FactoryUsed; by then it
    // has given up the name, and asking again reaches (or starts) another one.
    QDBusMessage reply;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kAutomationService), QString::fromLatin1(kFactoryPath),
            QString::fromLatin1(kFactoryInterface), QStringLiteral("CreateInstance"));
        reply = bus.call(call, QDBus::Block, timeoutMs);
        if (reply.type() != QDBusMessage::ErrorMessage
            || reply.errorName() != QLatin1String(kErrorFactoryUsed))
            break;
        QThread::msleep(50);
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        std::fprintf(stderr, "brennicor-automation-client: no editor: %s\n", qPrintable(ErrorText(reply)));
        if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
            std::fputs("Start the editor once without options: that lets the bus start it.\n", stderr);
        return 1;
    }
    const QString editor = reply.service();
    const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    const uint pid = bus.interface()->servicePid(editor).value();
    std::printf("%s %s %u\n", qPrintable(editor), qPrintable(path), pid);
    std::fflush(stdout);

    // The bus connection lives on its own thread; waiting here keeps it open.
    std::string line;
    char buffer[256];
    bool release = true;
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line == "release")
            break;
        if (line == "leave") {
            release = false;
            break;
        }
        if (!line.empty())
            std::fprintf(stderr, "brennicor-automation-client: unknown command '%s'\n", line.c_str());
    }
    if (!release)
        return 0;

    const QDBusMessage call = QDBusMessage::createMethodCall(
        editor, path, QString::fromLatin1(kInstanceInterface), QStringLiteral("Release"));
    const QDBusMessage released = bus.call(call, QDBus::Block, timeoutMs);
    if (released.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "brennicor-automation-client: release failed: %s\n",
                     qPrintable(ErrorText(released)));
        return 1;
    }
    std::puts("released");
    return 0;
}
