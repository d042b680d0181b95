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

QString ServiceFileName()
{
    return QStringLiteral("/dbus-1/services/") + QLatin1String(kAutomationService) + QStringLiteral(".service");
}

// The Exec line a file for executable holds.
QString ExecLine(const QString &executable)
{
    return QStringLiteral("Exec=%1 %2").arg(ExecValue(executable), QLatin1String(kAutomationOption));
}

} // namespace

QStringList InstalledActivationFilePaths()
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList paths;
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            paths.append(QDir::cleanPath(dir) + ServiceFileName());
    }
    return paths;
}

bool ActivationFileStarts(const QString &executable, const QStringList &paths)
{
    const QString wanted = ExecLine(executable);
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (lines.contains(wanted))
            return true;
    }
    return false;
}

QString ActivationFilePath()
{
    return DataHome() + ServiceFileName();
}

QString ActivationFileText(const QString &executable)
{
    for (const QChar c : executable) {
        if (c.category() == QChar::Other_Control)
            return QString();
    }
    if (executable.isEmpty())
        return QString();
    return QStringLiteral("# Written by the QUARVINEL editor, started where no installed file names it:\n"
                          "# the session bus starts the editor this way for an automation client.\n"
                          "[D-BUS Service]\n"
                          "Name=%1\n"
                          "%2\n")
        .arg(QLatin1String(kAutomationService), ExecLine(executable));
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
    if (ActivationFileStarts(executable, InstalledActivationFilePaths())) {
        // A file of the user's that starts some other executable is theirs to keep.
        if (ActivationFileStarts(executable, {ActivationFilePath()}))
            QFile::remove(ActivationFilePath());
        return;
    }
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
