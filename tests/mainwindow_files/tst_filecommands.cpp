// The File menu and Rename Character, driven as a user does: commands from the
// menu, values typed into the boxes, answers given to the message boxes.

#include "mainwindow/RenameDlg.h"
#include "resources/Resources.h"
#include "support/ModalDriver.h"
#include "support/WindowHarness.h"

#include <QMimeData>
#include <QPushButton>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_w = std::make_unique<WindowHarness>();
        CharacterFixture().Name("Hero").Gold(500).WriteTo(path(QStringLiteral("Hero.d2s")));
    }
    void cleanup()
    {
        QVERIFY(!m_w->dlg.TakePendingError());
        m_w.reset();
        if (m_held >= 0)
            ::close(m_held);
        m_held = -1;
    }

    // Steps: a File command with the file chosen for it ("Open Hero.d2s"), "gold N" or "health N" typed into the
    // gold or maximum health box, "answer Yes" queued for the next question, "delete NAME", "game saves gold N",
    // "link NAME" to nowhere, "v96 NAME" a version-96 character there, "Rename NAME" typed into Rename Character
    // (cancelled when refused), "drop NAME..." dropped from a file manager, "press KEYS [NAME]" with the file chosen
    // for the question it opens.
    void fileCommands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown"); // the messages, "caption|text (icon: 1 exclamation)", each up to its length
        QTest::addColumn<QString>("window"); // title|gold box
        QTest::addColumn<QString>("disk"); // FILE=gold, FILE:name in it, FILE there, -FILE not there
        const QString report = QStringLiteral("tst_filecommands|Failed to open document.");
        const QString hero = QStringLiteral("QUARVINEL: Hero.d2s|");
        const QString changed = QStringLiteral("Save|The character file was changed by another program after it was "
                                               "opened. Overwrite it with the values shown here? (1)");
        using L = QStringList;
        QTest::newRow("Ctrl+O opens, F5 reloads") << L{"press Ctrl+O Hero.d2s", "gold 777", "press F5"} << L{}
            << hero + "500" << "Hero.d2s=500";
        QTest::newRow("Ctrl+S saves, Ctrl+F4 closes") << L{"press Ctrl+O Hero.d2s", "gold 777", "press Ctrl+S", "press Ctrl+F4"}
            << L{} << "QUARVINEL|0" << "Hero.d2s=777";
        QTest::newRow("a character file dropped opens") << L{"drop Hero.d2s"} << L{} << hero + "500" << "";
        QTest::newRow("a drop of several opens the first") << L{"drop sa.ve/Hero.old.d2s Hero.d2s Hero.map"}
            << L{"Open|3 files were dropped; only the first, Hero.old.d2s, is opened. (3)"} << "QUARVINEL: Hero.old.d2s|500" << "";
        QTest::newRow("anything else dropped is refused") << L{"drop Hero.map Hero.d2s"} << L{} << "QUARVINEL|0" << "";
        QTest::newRow("a short file dropped: as Open") << L{"drop Short.d2s"} << L{"Open|offset out of range"}
            << "QUARVINEL|0" << "";
        QTest::newRow("Save with no file") << L{"Save"} << L{"Save|Open a file first!"} << "QUARVINEL|0" << "Hero.d2s=500";
        QTest::newRow("Reload with no file") << L{"Reload"} << L{"Reload|Open a file first!"} << "QUARVINEL|0" << "";
        QTest::newRow("Restore with no file") << L{"Restore"} << L{"Restore|Open a file first!"} << "QUARVINEL|0" << "";
        QTest::newRow("open a 600-byte file") << L{"Open Short.d2s"} << L{"Open|offset out of range"} << "QUARVINEL|0" << "";
        QTest::newRow("open a named pipe") << L{"Open Pipe.d2s"}
            << L{report + "\n\nPATH/Pipe.d2s:\nit is a named pipe (FIFO), not a regular file"} << "QUARVINEL|0" << "";
        QTest::newRow("Reload drops the edits and shows the file") << L{"Open Hero.d2s", "gold 777", "Reload"} << L{}
            << hero + "500" << "Hero.d2s=500";
        QTest::newRow("Reload of a deleted file") << L{"Open Hero.d2s", "delete Hero.d2s", "Reload"}
            << L{report, "Reload|Can't open the character file."} << "QUARVINEL|0" << "";
        QTest::newRow("Restore without a backup") << L{"Open Hero.d2s", "Restore"}
            << L{report, "Restore|Can't open backup file."} << "QUARVINEL|0" << "Hero.d2s=500";
        QTest::newRow("Save of the file as loaded: no question") << L{"Open Hero.d2s", "gold 777", "Save"} << L{}
            << hero + "777" << "Hero.d2s=777";
        QTest::newRow("Save after our own Save: no question") << L{"Open Hero.d2s", "Save", "gold 777", "Save"} << L{}
            << hero + "777" << "Hero.d2s=777";
        QTest::newRow("changed by the game, Yes: overwritten") << L{"Open Hero.d2s", "game saves gold 9", "gold 777",
            "answer Yes", "Save"} << L{changed} << hero + "777" << "Hero.d2s=777";
        QTest::newRow("changed by the game, No: left alone, edits kept") << L{"Open Hero.d2s", "game saves gold 9",
            "gold 777", "answer No", "Save"} << L{changed} << hero + "777" << "Hero.d2s=9";
        // Rewritten in place with the same size and its time put back: only the bytes tell.
        QTest::newRow("rewritten in place within the same time, No: left alone") << L{"Open Hero.d2s",
            "game rewrites gold 9", "gold 777", "answer No", "Save"} << L{changed} << hero + "777" << "Hero.d2s=9";
        const QString busy = QStringLiteral("Save|PATH/Hero.d2s is being saved by another program. Try again? (1)");
        QTest::newRow("folder held by another program: asked, not waited on") << L{"Open Hero.d2s", "busy", "gold 777",
            "answer Yes", "answer No", "Save"} << L{busy, busy} << hero + "777" << "Hero.d2s=500";
        QTest::newRow("changed by the game, a box no number: nothing asked, nothing written") << L{"Open Hero.d2s",
            "game saves gold 9", "health 12x", "answer Yes", "Save"} << L{"tst_filecommands|Please enter a positive integer. (1)",
            "tst_filecommands|Please enter a positive integer. (1)", "Save|File not saved (1)"} << hero + "500" << "Hero.d2s=9";
        // Only the last extension of the file's own name gives way to "bak", never a dot in a folder's name.
        QTest::newRow("Backup, edit, Restore: the backup's values, the file untouched") << L{"Open sa.ve/Hero.old.d2s",
            "gold 600", "Backup", "gold 700", "Restore"} << L{} << hero + "600" << "sa.ve/Hero.old.bak=600 sa.ve/Hero.old.d2s=500";
        QTest::newRow("then Save asks nothing") << L{"Open sa.ve/Hero.old.d2s", "gold 600", "Backup", "gold 700", "Restore",
            "Save"} << L{} << hero + "600" << "sa.ve/Hero.old.d2s=600";
        const QStringList taken{"Rename Character|File already exist. Try a different character name."};
        QTest::newRow("Rename to two letters moves every companion, saved first") << L{"Open Hero.d2s", "gold 321", "Rename Ne"} << L{}
            << "QUARVINEL: Ne.d2s|321" << "Ne.d2s=321 Ne.d2s:Ne Ne.key Ne.map Ne.ma0 Ne.ctl -Hero.d2s -Hero.key -Hero.map -Hero.ctl";
        QTest::newRow("Rename to the same name") << L{"Open Hero.d2s", "gold 321", "Rename Hero"} << taken << "QUARVINEL|0"
            << "Hero.d2s=321 Hero.key Hero.map";
        QTest::newRow("Rename over a link under the new name") << L{"link Neo.d2s", "Open Hero.d2s", "Rename Neo"} << taken
            << "QUARVINEL|0" << "Hero.d2s Hero.key Hero.map -Neo.key -Neo.map";
        QTest::newRow("Rename over a link under the new .ctl") << L{"link Neo.ctl", "Open Hero.d2s", "Rename Neo"}
            << L{"Rename Character|Neo.ctl already exists. Try a different character name."}
            << "QUARVINEL|0" << "Hero.d2s Hero.key Hero.map Hero.ctl -Neo.d2s -Neo.map";
        // The box holds 14 characters: the fifteenth letter typed never reaches it.
        QTest::newRow("Rename to a name of 15 letters: the box keeps 14") << L{"Open Hero.d2s", "Rename Abcdefghijklmno"}
            << L{} << "QUARVINEL: Abcdefghijklmn.d2s|500"
            << "Abcdefghijklmn.d2s:Abcdefghijklmn Abcdefghijklmn.key Abcdefghijklmn.map -Hero.d2s -Abcdefghijklmno.d2s";
        const QStringList letters{"Rename Character|This is not a valid Diablo2 character name. Try to use only a-z, A-Z.\n"};
        QTest::newRow("Rename to a name not of letters only") << L{"Open Hero.d2s", "gold 321", "Rename Ne0"} << letters
            << "QUARVINEL: Hero.d2s|321" << "Hero.d2s Hero.key Hero.map -Neo.d2s -Neo.key -Neo.map";
        QTest::newRow("Rename to one letter") << L{"Open Hero.d2s", "Rename A"} << L{"Rename Character|Please enter at least 2 characters. (0)"}
            << "QUARVINEL: Hero.d2s|500" << "Hero.d2s -A.d2s";
        // From version 92 the box keeps 15 characters, with one - or _ inside.
        QTest::newRow("Rename, version 96: 15 with one _") << L{"v96 Hero.d2s", "Open Hero.d2s", "Rename Thor_isMYbitchhh"} << L{}
            << "QUARVINEL: Thor_isMYbitchh.d2s|458536" << "Thor_isMYbitchh.d2s Thor_isMYbitchh.ma0 -Hero.d2s -Hero.ma0";
        QTest::newRow("Rename, version 96: _ first") << L{"v96 Hero.d2s", "Open Hero.d2s", "Rename _Thor"}
            << L{"Rename Character|This is not a valid Diablo2 character name. Use at most one - or _, and neither first nor last. (0)"}
            << "QUARVINEL: Hero.d2s|458536" << "Hero.d2s -_Thor.d2s";
    }
    void fileCommands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        QFETCH(QString, window);
        QFETCH(QString, disk);
        CharacterFixture().Length(600).WriteTo(path(QStringLiteral("Short.d2s")));
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("Pipe.d2s"))).constData(), 0644) == 0);
        QVERIFY(QDir(m_w->dir.path()).mkdir(QStringLiteral("sa.ve")));
        CharacterFixture().Name("Hero").Gold(500).WriteTo(path(QStringLiteral("sa.ve/Hero.old.d2s")));
        for (const char *companion : {"map", "key", "ma0", "ctl"})
            CharacterFixture::WriteFile(path(QStringLiteral("Hero.") + companion), companion);
        const QHash<QString, int> commands{{"Open", ID_FILE_OPEN}, {"Save", ID_FILE_SAVE}, {"Reload", ID_FILE_RELOAD},
                                           {"Backup", ID_FILE_BACKUP}, {"Restore", ID_FILE_RESTORE}};
        for (const QString &step : steps) {
            const QString last = step.section(QLatin1Char(' '), -1);
            if (step.startsWith(QLatin1String("Open ")) || step.startsWith(QLatin1String("press Ctrl+O ")))
                m_w->prompts.QueueFile(path(last));
            if (step.startsWith(QLatin1String("press ")))
                press(QKeySequence(step.section(QLatin1Char(' '), 1, 1)));
            else if (step.startsWith(QLatin1String("drop ")))
                drop(step.section(QLatin1Char(' '), 1).split(QLatin1Char(' ')));
            else if (commands.contains(step.section(QLatin1Char(' '), 0, 0)))
                m_w->dlg.SendCommand(commands[step.section(QLatin1Char(' '), 0, 0)]);
            else if (step.startsWith(QLatin1String("gold ")) || step.startsWith(QLatin1String("health ")))
                m_w->Enter(step.startsWith(QLatin1Char('g')) ? IDC_GOLD : IDC_MAX_HEALTH, last);
            else if (step.startsWith(QLatin1String("answer ")))
                m_w->prompts.yesNoAnswers.append(last == QLatin1String("Yes"));
            else if (step.startsWith(QLatin1String("delete ")))
                QVERIFY(QFile::remove(path(last)));
            else if (step.startsWith(QLatin1String("v96 ")))
                QVERIFY(QFile::remove(path(last)) && QFile::copy(qEnvironmentVariable("QUARVINEL_TEST_DATA") + "/v96_sorceress_level94.d2s", path(last)));
            else if (step.startsWith(QLatin1String("link ")))
                QVERIFY(QFile::link(QStringLiteral("../nowhere"), path(last)));
            else if (step.startsWith(QLatin1String("Rename ")))
                rename(last);
            else if (step == QLatin1String("busy"))
                QVERIFY(hold(m_w->dir.path()));
            else if (step.startsWith(QLatin1String("game rewrites ")))
                QVERIFY(rewriteInPlace(path(QStringLiteral("Hero.d2s")), last.toUInt()));
            else
                QVERIFY(CharacterFixture().Name("Hero").Gold(last.toUInt()).WriteTo(path(QStringLiteral("Hero.d2s"))));
        }
        QCOMPARE(m_w->prompts.messages.size(), shown.size());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const auto &m = m_w->prompts.messages[i];
            const QString seen = QStringLiteral("%1|%2 (%3)").arg(m.caption, m.text).arg(int(m.icon));
            QVERIFY2(seen.startsWith(shown[i].replace(QLatin1String("PATH"), m_w->dir.path())), qPrintable(seen));
        }
        QCOMPARE(m_w->dlg.windowTitle() + '|' + m_w->Text(IDC_GOLD), window);
        // Whatever ran, the window holds no lock on the folder afterwards.
        if (m_held < 0)
            QVERIFY2(hold(m_w->dir.path()), "the window keeps the folder locked");
        for (const QString &file : disk.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = file.section(QRegularExpression(QStringLiteral("[=:]")), 0, 0).remove(QLatin1Char('-'));
            const QByteArray bytes = CharacterFixture::ReadFile(path(name));
            QVERIFY(file.startsWith('-') || QFile::permissions(path(name)).testFlags(QFile::ReadOwner | QFile::WriteOwner));
            if (file.contains(QLatin1Char('=')))
                QCOMPARE(QString::number(qFromLittleEndian<quint32>(bytes.constData() + 621)), file.section(QLatin1Char('='), 1));
            else if (file.contains(QLatin1Char(':'))) {
                const QByteArray named = file.section(QLatin1Char(':'), 1).toLatin1() + '\0';
                QCOMPARE(bytes.mid(8, named.size()), named);
            }
            else
                QVERIFY2(QFileInfo::exists(path(name)) != file.startsWith(QLatin1Char('-')), qPrintable(file));
        }
    }

private:
    QString path(const QString &name) const { return m_w->dir.filePath(name); }
    // Holds the folder's lock as another program's save would.
    bool hold(const QString &folder)
    {
        m_held = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        return m_held >= 0 && ::flock(m_held, LOCK_EX | LOCK_NB) == 0;
    }
    // Writes the character's gold in place and puts the file's times back.
    static bool rewriteInPlace(const QString &file, quint32 gold)
    {
        struct stat before{};
        const QByteArray name = QFile::encodeName(file);
        QFile f(file);
        if (::stat(name.constData(), &before) != 0 || !f.open(QIODevice::ReadWrite) || !f.seek(621))
            return false;
        const quint32 le = qToLittleEndian(gold);
        const bool written = f.write(reinterpret_cast<const char *>(&le), 4) == 4;
        f.close();
        const timespec times[2] = {before.st_atim, before.st_mtim};
        return written && ::utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
    }
    // The keys pressed in the gold box of the active window.
    void press(const QKeySequence &keys)
    {
        m_w->dlg.show(), m_w->dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_w->dlg));
        QTest::keyClick(m_w->dlg.DlgItem<QLineEdit>(IDC_GOLD), keys[0].key(), keys[0].keyboardModifiers());
        QVERIFY(!m_w->dlg.TakePendingError());
    }
    // Files dragged from a file manager and let go over the window when it takes them.
    void drop(const QStringList &names)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &name : names)
            urls.append(QUrl::fromLocalFile(path(name)));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (QCoreApplication::sendEvent(&m_w->dlg, &enter), enter.isAccepted())
            QCoreApplication::sendEvent(&m_w->dlg, &dropped), QCoreApplication::processEvents();
        QVERIFY(dropped.isAccepted() == enter.isAccepted() && !m_w->dlg.TakePendingError());
    }
    void open(const QString &name) { m_w->prompts.QueueFile(path(name)), m_w->dlg.SendCommand(ID_FILE_OPEN); }
    void rename(const QString &newName)
    {
        const auto ran = WhenModal<CRenameDlg>([this, newName](CRenameDlg *dlg) {
            dlg->DlgItem<QLineEdit>(IDC_NEW_NAME)->setText(newName);
            dlg->DlgItem<QPushButton>(IDOK)->click();
            if (!m_w->prompts.messages.isEmpty()) // refused: the dialog stays up
                dlg->DlgItem<QPushButton>(IDCANCEL)->click();
        });
        m_w->dlg.SendCommand(ID_EDIT_RENAME_CHARACTER);
        QVERIFY(*ran);
    }

    std::unique_ptr<WindowHarness> m_w;
    int m_held = -1;
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
