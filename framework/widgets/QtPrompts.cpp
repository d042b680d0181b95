#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTreeView>
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
const char *const kSizeKey = "OpenDialog/size";
const char *const kGameDataKey = "Items/gameDataFolder";
// The columns of the dialog's list after Name, as Qt's file dialog has them.
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

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

QSize OpenDialogSize(const QFont &font)
{
    QSize size = Settings().value(QLatin1String(kSizeKey)).toSize();
    if (!size.isValid()) {
        // Wide enough for the list's Name, Size, Type and Date Modified
        // columns beside the places, in the dialog's own font.
        const QFontMetrics metrics(font);
        size = QSize(metrics.averageCharWidth() * 130, metrics.height() * 28);
    }
    // A size kept from a larger screen still fits this one.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    return size;
}

QString GameDataFolder()
{
    return Settings().value(QLatin1String(kGameDataKey)).toString();
}

void RememberGameDataFolder(const QString &dir)
{
    if (dir.isEmpty())
        Settings().remove(QLatin1String(kGameDataKey));
    else
        Settings().setValue(QLatin1String(kGameDataKey), dir);
}

namespace {

// Widens the Size, Type and Date Modified columns of the dialog's list to their
// texts each time a folder has been read; a column the user made wider stays so.
void FitColumnsOnLoad(QFileDialog &dialog)
{
    auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *model = dialog.findChild<QFileSystemModel *>();
    if (!list || !model)
        return;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, list, [list] {
        const QAbstractItemView *view = list; // the view's own measure of a column's texts
        for (const int column : {kSizeColumn, kTypeColumn, kDateColumn})
            list->header()->resizeSection(column, qMax(list->header()->sectionSize(column), view->sizeHintForColumn(column)));
    });
}

} // namespace

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
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(OpenDialogSize(dialog.font()));
    FitColumnsOnLoad(dialog);
    const int result = dialog.exec();
    Settings().setValue(QLatin1String(kSizeKey), dialog.size());
    if (result != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    path = chosen.first();
    RememberOpenedFile(path);
    return true;
}
