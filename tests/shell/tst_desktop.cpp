// The editor on the desktop: the window named as its launcher, controls whose
// spoken names hold their visible text, the Open dialog starting in the folder
// of the last file opened, and the session bus's activation file left to the
// package where the package installed one.

#include "ActivationFile.h"
#include "BrennicorApp.h"
#include "Resources.h"
#include "widgets/DialogBuilder.h"
#include "widgets/QtPrompts.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

bool WriteText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Runs the real Open dialog; act gets it while it is up and closes it.
QString OpenWithDialog(const std::function<void(QFileDialog *)> &act)
{
    QTimer::singleShot(0, [&] { act(qobject_cast<QFileDialog *>(QApplication::activeModalWidget())); });
    QString path;
    QtPrompts prompts;
    return prompts.GetOpenFileName(path, QStringLiteral("d2s"), QStringLiteral("Character (*.d2s)|*.d2s||"))
        ? path : QString();
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Docks and Wayland find the launcher by this name.
    void windowNamedAsItsLauncher()
    {
        const QString entry = QStringLiteral(QUARVINEL_SOURCE "/packaging/%1.desktop")
                                  .arg(QGuiApplication::desktopFileName());
        QVERIFY2(QFileInfo::exists(entry), qPrintable(entry));
    }

    // Every dialog: a voice-control user says what they see, so a control with
    // a label of its own and a spoken name says the label first; and every
    // button's caption keeps clear of its border, the narrow ">>" too, whatever
    // font the desktop gives the window.
    void spokenNamesAndCaptionsFit()
    {
        int spoken = 0;
        for (const DialogTemplate *dialog : {&MainDialogTemplate(), &EditValueDialogTemplate(),
                                             &FindValueDialogTemplate(), &CompareDialogTemplate(),
                                             &RenameDialogTemplate()}) {
            for (const ControlTemplate &c : dialog->controls) {
                const QString text = QString::fromUtf8(c.text).remove(QLatin1Char('&'));
                if (c.accessibleName && c.kind != ControlKind::Bitmap
                    && std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isLetter(); })
                    && ++spoken)
                    QVERIFY2(QString::fromUtf8(c.accessibleName).startsWith(text),
                             qPrintable(QStringLiteral("\"%1\" is spoken as \"%2\"").arg(text, c.accessibleName)));
            }
            QWidget client;
            client.setFont(DialogFont(*dialog));
            for (QWidget *w : BuildDialogControls(*dialog, &client, DialogUnits(client.font()))) {
                if (auto *button = qobject_cast<QPushButton *>(w)) {
                    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
                    QVERIFY2(QFontMetricsF(button->font()).horizontalAdvance(button->text())
                                 <= button->width() - 2 * (frame + 1), qPrintable(button->text()));
                }
            }
        }
        QVERIFY(spoken >= 3);
    }

    // The dialog starts where the last file was chosen, and somewhere that
    // exists once that folder is gone.
    void openDialogStartsInTheLastFolder()
    {
        QTemporaryDir saves;
        const QString hero = saves.filePath(QStringLiteral("deep/Hero.d2s"));
        QVERIFY(WriteText(hero, "x"));
        QString shown;
        auto showAndCancel = [&](QFileDialog *dialog) {
            shown = dialog ? dialog->directory().absolutePath() : QStringLiteral("no dialog");
            if (dialog)
                dialog->reject();
        };
        QCOMPARE(OpenWithDialog([&](QFileDialog *dialog) {
                     if (dialog) {
                         dialog->selectFile(hero);
                         static_cast<QDialog *>(dialog)->accept();
                     }
                 }),
                 hero);
        QCOMPARE(OpenWithDialog(showAndCancel), QString());
        QCOMPARE(shown, QFileInfo(hero).absolutePath());
        QVERIFY(QDir(QFileInfo(hero).absolutePath()).removeRecursively());
        OpenWithDialog(showAndCancel);
        QVERIFY2(QDir(shown).exists(), qPrintable(shown));
    }

    // The user's own activation file is written only where no installed one
    // starts this executable, and one it wrote before is then taken away.
    void activationFileOnlyWhereNoneIsInstalled_data()
    {
        QTest::addColumn<QByteArray>("installedExec");
        QTest::addColumn<QByteArray>("userExec");
        QTest::addColumn<QByteArray>("userExecAfter");
        const QByteArray self = "Exec=/usr/bin/brennicor -Automation";
        const QByteArray other = "Exec=/opt/other/brennicor -Automation";
        QTest::newRow("none installed") << QByteArray() << QByteArray() << self;
        QTest::newRow("installed for another executable") << other << QByteArray() << self;
        QTest::newRow("installed for this one") << self << QByteArray() << QByteArray();
        QTest::newRow("installed, and an old file of ours") << self << self << QByteArray();
        QTest::newRow("installed, and the user's own for another") << self << other << other;
    }
    void activationFileOnlyWhereNoneIsInstalled()
    {
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

        UpdateActivationFile(QStringLiteral("/usr/bin/brennicor"));
        QFile user(ActivationFilePath());
        QCOMPARE(user.exists(), !userExecAfter.isEmpty());
        if (user.open(QIODevice::ReadOnly))
            QVERIFY(user.readAll().split('\n').contains(userExecAfter));
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
