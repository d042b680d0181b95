// The editor on the desktop: the window named as its launcher, captions that
// fit their buttons, the Open dialog starting in the folder of the last file
// opened at its last size, and the session bus's activation file.

#include "app/ActivationFile.h"
#include "app/BrennicorApp.h"
#include "mainwindow/AboutDlg.h"
#include "mainwindow/BrennicorDlg.h"
#include "resources/Resources.h"
#include "support/CharacterFixture.h"
#include "widgets/DialogBuilder.h"
#include "widgets/QtPrompts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

namespace {

bool WriteText(const QString &path, const QByteArray &text)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && CharacterFixture::WriteFile(path, text);
}

// Runs the real Open dialog, resizes it to resizeTo, chooses `choose` or cancels; returns the folder it started in,
// and with look its size and whether its list showed each file's size, type and date whole once it was read.
QStringList OpenWithDialog(const QString &choose, QSize resizeTo = {}, bool look = false)
{
    QStringList shown{QStringLiteral("no dialog")};
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            auto *list = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
            const auto whole = [list](int column) {
                const int end = list->header()->sectionViewportPosition(column) + list->header()->sectionSize(column);
                return static_cast<QAbstractItemView *>(list)->sizeHintForColumn(column) <= list->header()->sectionSize(column) && end <= list->viewport()->width();
            };
            shown = QStringList{dialog->directory().absolutePath()};
            if (look)
                shown << QStringLiteral("%1x%2").arg(dialog->width()).arg(dialog->height())
                      << (QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) > 0 && whole(1) && whole(2) && whole(3); })
                              ? "columns whole" : "columns cut");
            dialog->resize(resizeTo.isValid() ? resizeTo : dialog->size());
            dialog->selectFile(choose);
            choose.isEmpty() ? dialog->reject() : static_cast<QDialog *>(dialog)->accept();
        }
    });
    QString path;
    QtPrompts().GetOpenFileName(path, QStringLiteral("d2s"), QStringLiteral("Character (*.d2s)|*.d2s||"));
    return shown;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Docks and Wayland find the launcher by this name; the window carries the program's icon.
    void windowNamedAsItsLauncher()
    {
        const QString entry = QStringLiteral(QUARVINEL_SOURCE "/packaging/%1.desktop").arg(QGuiApplication::desktopFileName());
        QVERIFY2(QFileInfo::exists(entry), qPrintable(entry));
        QCOMPARE(CBrennicorDlg().windowIcon().availableSizes(), QList<QSize>{QSize(128, 128)});
    }

    // The banner has at least as many pixels as the screen shows, at scale 1
    // and (run again under QT_SCALE_FACTOR=2) at scale 2; each picture shows
    // as the picture smoothly reduced to its control's inside, within one grey
    // level on average (the icon in About drawn jagged is three off).
    void picturesSharpAtTheScreensScale()
    {
        CBrennicorDlg dlg;
        CAboutDlg about;
        QList<QLabel *> pictures;
        for (QLabel *label : dlg.findChildren<QLabel *>() + about.findChildren<QLabel *>()) {
            if (!label->pixmap().isNull())
                pictures.append(label);
        }
        QCOMPARE(pictures.size(), 2);
        const qreal scale = qApp->devicePixelRatio();
        const QLabel *banner = pictures.first();
        QCOMPARE(banner->pixmap().devicePixelRatio(), scale);
        QVERIFY(banner->pixmap().width() >= banner->width() * scale && banner->pixmap().width() < 1.1 * banner->width() * scale);
        for (QLabel *label : pictures) {
            const QRect inside(label->contentsRect().topLeft() * scale, label->contentsRect().size() * scale);
            const QImage shown = label->grab().toImage().copy(inside).convertToFormat(QImage::Format_RGB32);
            QImage meant(inside.size(), QImage::Format_RGB32);
            meant.fill(label->palette().color(QPalette::Window));
            QImage reduced = label->pixmap().toImage().scaled(inside.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            reduced.setDevicePixelRatio(1);
            QPainter(&meant).drawImage(0, 0, reduced);
            qint64 difference = 0;
            for (int y = 0; y < meant.height(); ++y) {
                for (int x = 0; x < meant.width(); ++x)
                    difference += qAbs(qGray(shown.pixel(x, y)) - qGray(meant.pixel(x, y)));
            }
            QVERIFY2(difference < meant.width() * meant.height(), qPrintable(QString::number(difference)));
        }
    }

    // Each group is framed, its title standing on the frame's top line: the
    // line runs through the title's height, and the title interrupts it.
    void groupsFramedWithTheirTitleOnTheTopLine()
    {
        CBrennicorDlg dlg;
        const QList<QGroupBox *> boxes = dlg.findChildren<QGroupBox *>();
        QCOMPARE(boxes.size(), 2);
        for (QGroupBox *box : boxes) {
            const QImage image = box->grab().toImage();
            const QRgb frame = box->palette().color(QPalette::Mid).rgb();
            auto inked = [&](int x, int y) { return qGray(image.pixel(x, y)) < 100; };
            int line = 0, above = 0, below = 0, onLine = 0;
            while (line < image.height() / 4 && image.pixel(2, line) != frame)
                ++line;
            const int titleEnd = 8 + box->fontMetrics().horizontalAdvance(box->title());
            for (int x = 8; x < titleEnd; ++x) {
                for (int y = 0; y < line; ++y) {
                    above += inked(x, y);
                    below += inked(x, line + 1 + y);
                }
                onLine += image.pixel(x, line) == frame;
            }
            QVERIFY2(image.pixel(0, image.height() / 2) == frame && image.pixel(image.width() - 1, image.height() / 2) == frame
                         && line < image.height() / 4 && above > 0 && below > 0 && onLine < (titleEnd - 8) / 4,
                     qPrintable(QStringLiteral("%1: line %2, text %3 %4, frame under the title %5")
                                    .arg(box->title()).arg(line).arg(above).arg(below).arg(onLine)));
        }
    }

    // Every button's caption keeps clear of its border, the narrow ">>" too, whatever font the desktop
    // gives the window. What a screen reader says and where Tab goes: in every dialog each control
    // is named (an edit or a list after its label, a check box by its text
    // first), every list has a label and Tab reaches every control; in the main
    // window Tab walks them in reading order, on along a row, then down (the
    // tools keep their fields first, then their column of buttons).
    void captionsNamesAndTabOrder()
    {
        for (const DialogTemplate *dialog : {&MainDialogTemplate(), &EditValueDialogTemplate(), &FindValueDialogTemplate(),
                                             &CompareDialogTemplate(), &RenameDialogTemplate()}) {
            QWidget client;
            client.setFont(DialogFont(*dialog));
            const auto controls = BuildDialogControls(*dialog, &client, DialogUnits(client.font()));
            for (QWidget *w : controls) {
                if (auto *button = qobject_cast<QPushButton *>(w)) {
                    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
                    QVERIFY2(QFontMetricsF(button->font()).horizontalAdvance(button->text())
                                 <= button->width() - 2 * (frame + 1), qPrintable(button->text()));
                }
            }
            QList<QWidget *> order;
            for (QWidget *w = client.nextInFocusChain(); w != &client; w = w->nextInFocusChain())
                if (controls.values().contains(w) && (w->focusPolicy() & Qt::TabFocus))
                    order << w;
            QCOMPARE(order.size(), int(std::count_if(controls.begin(), controls.end(),
                                                     [](QWidget *w) { return w->focusPolicy() & Qt::TabFocus; })));
            QSet<QWidget *> labelled;
            for (const QLabel *label : client.findChildren<QLabel *>())
                labelled << label->buddy();
            QSet<QString> names;
            for (QWidget *w : order) {
                const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
                const auto *button = qobject_cast<QAbstractButton *>(w);
                const auto *box = qobject_cast<QCheckBox *>(w);
                const QString where = QString::fromUtf8(dialog->caption) + QStringLiteral(": ") + name;
                QVERIFY2(!name.isEmpty() && (!box || name.startsWith(QString(box->text()).remove('&'))), qPrintable(where));
                QVERIFY2(!qobject_cast<QComboBox *>(w) || labelled.contains(w), qPrintable(where));
                QVERIFY2(button || !names.contains(name), qPrintable(where));
                names << name;
            }
            for (qsizetype i = 1; dialog == &MainDialogTemplate() && i < order.size(); ++i) {
                const QPoint a = order[i - 1]->geometry().center(), b = order[i]->geometry().center();
                const int row = order[i]->height() / 2;
                QVERIFY2((qAbs(b.y() - a.y()) <= row && b.x() > a.x()) || b.y() > a.y() + row,
                         qPrintable(QStringLiteral("%1: Tab from %2 back to %3").arg(QString::fromUtf8(dialog->caption),
                                                                                     order[i - 1]->objectName(), order[i]->objectName())));
            }
        }
    }

    // The dialog starts where the last file was chosen, at the size it had, and somewhere that
    // exists once that folder is gone; its list shows the files' size, type and date whole.
    void openDialogStartsInTheLastFolder()
    {
        QTemporaryDir saves;
        const QString hero = saves.filePath(QStringLiteral("deep/Hero.d2s"));
        QVERIFY(WriteText(hero, "x"));
        OpenWithDialog(hero, QSize(780, 540));
        QCOMPARE(OpenWithDialog(QString(), {}, true), QStringList({QFileInfo(hero).absolutePath(), "780x540", "columns whole"}));
        QVERIFY(QDir(QFileInfo(hero).absolutePath()).removeRecursively());
        const QString folder = OpenWithDialog(QString()).first();
        QVERIFY2(QDir(folder).exists(), qPrintable(folder));
    }

    // The user's own activation file is written only where no installed one starts this executable, and one
    // it wrote before is then taken away. Its Exec line passes the bus's key file reader and shell-like split.
    void activationFile_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("installedExec");
        QTest::addColumn<QByteArray>("userExec");
        QTest::addColumn<QByteArray>("userExecAfter"); // empty: no file of the user's
        const QString bin = QStringLiteral("/usr/bin/brennicor");
        const QByteArray self = "Exec=/usr/bin/brennicor -Automation", other = "Exec=/opt/other/brennicor -Automation";
        QTest::newRow("none installed") << bin << QByteArray() << QByteArray() << self;
        QTest::newRow("installed for another executable") << bin << other << QByteArray() << self;
        QTest::newRow("the user's own for another, none installed: rewritten") << bin << QByteArray() << other << self;
        QTest::newRow("installed for this one") << bin << self << QByteArray() << QByteArray();
        QTest::newRow("installed, and an old file of ours") << bin << self << self << QByteArray();
        QTest::newRow("installed, and the user's own for another") << bin << self << other << other;
        QTest::newRow("a quote and a backslash in the path") << "/opt/it's my\\editor/brennicor" << QByteArray()
            << QByteArray() << QByteArray("Exec='/opt/it'\\\\''s my\\\\editor/brennicor' -Automation");
        QTest::newRow("a line break in the path writes nothing") << "/opt/x\nExec=/bin/false/brennicor" << QByteArray()
            << QByteArray() << QByteArray();
    }
    void activationFile()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, installedExec);
        QFETCH(QByteArray, userExec);
        QFETCH(QByteArray, userExecAfter);
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("usr"))));
        const QByteArray head = "[D-BUS Service]\nName=Brennicor.Application\n";
        const QString installed = InstalledActivationFilePaths().value(0);
        QVERIFY(installed.startsWith(dir.path()));
        QVERIFY(installedExec.isEmpty() || WriteText(installed, head + installedExec + '\n'));
        QVERIFY(userExec.isEmpty() || WriteText(ActivationFilePath(), head + userExec + '\n'));
        UpdateActivationFile(program);
        QFile user(ActivationFilePath());
        QCOMPARE(user.exists(), !userExecAfter.isEmpty());
        if (user.open(QIODevice::ReadOnly))
            QVERIFY(user.readAll().split('\n').contains(userExecAfter));
        QVERIFY(!WriteActivationFile(QStringLiteral("/usr/bin/brennicor"), dir.path())); // a folder in the file's place: nothing written, and said so
    }
};

int main(int argc, char **argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quarvinel-test-bus");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    char name[] = "tst_desktop";
    char *appArgv[] = {name, nullptr};
    int appArgc = 1;
    CBrennicorApp app(appArgc, appArgv);
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
