#include "ActivationFile.h"

#include "AutomationNames.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString DataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// The Exec value passes two readers: the bus first reads it as a key file
// value, where a backslash starts an escape (two stand for one), then
// splits it the way a shell would, where a path in single quotes is taken
// literally and a single quote inside it is closed, escaped and reopened.
QString ExecValue(const QString &path)
{
    static const QString plain = QStringLiteral(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:@");
    bool quote = path.isEmpty();
    for (const QChar c : path) {
        if (!plain.contains(c)) {
            quote = true;
            break;
        }
    }
    if (!quote)
        return path;
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    quoted = QLatin1Char('\'') + quoted + QLatin1Char('\'');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

} // namespace

QString ActivationFilePath()
{
    return DataHome() + QStringLiteral("/dbus-1/services/") + QLatin1String(kAutomationService)
        + QStringLiteral(".service");
}

QString ActivationFileText(const QString &executable)
{
    for (const QChar c : executable) {
        if (c.category() == QChar::Other_Control)
            return QString();
    }
    if (executable.isEmpty())
        return QString();
    return QStringLiteral("# Written by the QUARVINEL editor at every ordinary start: the session bus\n"
                          "# starts the editor this way when an automation client asks for it.\n"
                          "[D-BUS Service]\n"
                          "Name=%1\n"
                          "Exec=%2 %3\n")
        .arg(QLatin1String(kAutomationService), ExecValue(executable),
             QLatin1String(kAutomationOption));
}

bool WriteActivationFile(const QString &executable, const QString &path, bool *changed)
{
    const QString text = ActivationFileText(executable);
    if (changed)
        *changed = false;
    if (text.isEmpty())
        return false;
    const QByteArray bytes = text.toUtf8();
    QFile old(path);
    // A file that already says the same is left as it is: nothing to write,
    // and no disk sync at start-up.
    if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
        return true;
    old.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.commit())
        return false;
    if (changed)
        *changed = true;
    return true;
}

void UpdateActivationFile(const QString &executable)
{
    bool changed = false;
    if (!WriteActivationFile(executable, ActivationFilePath(), &changed) || !changed)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QDBusMessage reload = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig"));
    bus.call(reload, QDBus::Block, 2000);
}
