#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

const char *const kLastFolderKey = "OpenDialog/lastFolder";

// The one settings file of the program: ~/.config/quarvinel/brennicor.conf.
QSettings Settings()
{
    return QSettings(QStringLiteral("quarvinel"), QStringLiteral("brennicor"));
}

} // namespace

QString OpenDialogStartFolder()
{
    const QString folder = Settings().value(QLatin1String(kLastFolderKey)).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void RememberOpenedFile(const QString &path)
{
    Settings().setValue(QLatin1String(kLastFolderKey), QFileInfo(path).absolutePath());
}

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString name = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, with or without an extension.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // The name already shows its patterns in brackets; Qt reads the last
        // bracket of an entry as its patterns.
        const int bracket = name.lastIndexOf(QLatin1Char('('));
        if (bracket >= 0)
            name = name.left(bracket).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(name, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

void QtPrompts::MessageBox(QObject *owner, const QString &text, const QString &caption,
                           MessageIcon icon)
{
    QWidget *parent = qobject_cast<QWidget *>(owner);
    if (parent && !parent->isVisible())
        parent = nullptr;
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtPrompts::AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon)
{
    QWidget *parent = qobject_cast<QWidget *>(owner);
    if (parent && !parent->isVisible())
        parent = nullptr;
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    // Enter, or a hasty click on the default, takes the answer that changes nothing.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::GetOpenFileName(QString &path, const QString &defaultExtension,
                                const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), OpenDialogStartFolder(), QtFileFilter(filter));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultExtension);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    path = chosen.first();
    RememberOpenedFile(path);
    return true;
}
