// The File menu and Rename Character, driven as a user does: commands from the
// menu, values typed into the boxes, answers given to the message boxes.

#include "RenameDlg.h"
#include "Resources.h"
#include "support/ModalDriver.h"
#include "support/WindowHarness.h"

#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_w = std::make_unique<WindowHarness>();
        CharacterFixture().Name("Hero").Gold(500).WriteTo(path(QStringLiteral("Hero.d2s")));
    }

    void cleanup() { QVERIFY(!m_w->dlg.TakePendingError()); m_w.reset(); }
    void commandMessages_data()
    {
        QTest::addColumn<QString>("opened"); // the file opened first, if any
        QTest::addColumn<QString>("removed"); // removed from disk after that
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("shown"); // "caption|text" starts of the messages
        QTest::addColumn<QString>("title");
        const QString report = QStringLiteral("tst_filecommands|Failed to open document.");
        QTest::newRow("Save with no file") << "" << "" << int(ID_FILE_SAVE) << QStringList{"Save|Open a file first!"} << "QUARVINEL";
        QTest::newRow("Reload with no file") << "" << "" << int(ID_FILE_RELOAD) << QStringList{"Reload|Open a file first!"}
            << "QUARVINEL";
        QTest::newRow("Restore with no file") << "" << "" << int(ID_FILE_RESTORE)
            << QStringList{"Restore|Open a file first!"} << "QUARVINEL";
        QTest::newRow("open a 600-byte file") << "Short.d2s" << "" << int(ID_FILE_CLOSE)
            << QStringList{"Open|offset out of range"} << "QUARVINEL";
        QTest::newRow("open a named pipe") << "Pipe.d2s" << "" << int(ID_FILE_CLOSE)
            << QStringList{report + "\n\n" + "PATH/Pipe.d2s:\nit is a named pipe (FIFO), not a regular file"} << "QUARVINEL";
        QTest::newRow("open, then Save") << "Hero.d2s" << "" << int(ID_FILE_SAVE) << QStringList{} << "QUARVINEL: Hero.d2s";
        QTest::newRow("Reload of a deleted file") << "Hero.d2s" << "Hero.d2s" << int(ID_FILE_RELOAD)
            << QStringList{report, "Reload|Can't open the character file."} << "QUARVINEL";
        QTest::newRow("Restore without a backup") << "Hero.d2s" << "" << int(ID_FILE_RESTORE)
            << QStringList{report, "Restore|Can't open backup file."} << "QUARVINEL";
    }
    void commandMessages()
    {
        QFETCH(QString, opened);
        QFETCH(QString, removed);
        QFETCH(int, command);
        QFETCH(QStringList, shown);
        QFETCH(QString, title);
        CharacterFixture().Length(600).WriteTo(path(QStringLiteral("Short.d2s")));
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("Pipe.d2s"))).constData(), 0644) == 0);
        if (!opened.isEmpty())
            open(opened);
        if (!removed.isEmpty())
            QVERIFY(QFile::remove(path(removed)));
        m_w->dlg.SendCommand(command);
        const QStringList summaries = m_w->prompts.Summaries();
        QCOMPARE(summaries.size(), shown.size());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QVERIFY2(summaries[i].startsWith(shown[i].replace(QLatin1String("PATH"), m_w->dir.path())), qPrintable(summaries[i]));
        QCOMPARE(m_w->dlg.windowTitle(), title);
        if (removed.isEmpty())
            QCOMPARE(goldOnDisk(QStringLiteral("Hero.d2s")), 500u);
    }

    void saveAsksWhenAnotherProgramChangedTheFile_data()
    {
        QTest::addColumn<bool>("changedOnDisk");
        QTest::addColumn<bool>("savedBefore"); // one Save of our own comes first
        QTest::addColumn<bool>("answer");
        QTest::addColumn<quint32>("onDisk");
        QTest::newRow("file as loaded: no question") << false << false << false << 777u;
        QTest::newRow("after our own save: no question") << false << true << false << 777u;
        QTest::newRow("changed by the game, Yes: overwritten") << true << false << true << 777u;
        QTest::newRow("changed by the game, No: left alone") << true << false << false << 9u;
    }
    void saveAsksWhenAnotherProgramChangedTheFile()
    {
        QFETCH(bool, changedOnDisk);
        QFETCH(bool, savedBefore);
        QFETCH(bool, answer);
        QFETCH(quint32, onDisk);
        open(QStringLiteral("Hero.d2s"));
        if (savedBefore)
            m_w->dlg.SendCommand(ID_FILE_SAVE);
        if (changedOnDisk)
            CharacterFixture().Name("Hero").Gold(9).WriteTo(path(QStringLiteral("Hero.d2s")));
        m_w->Enter(IDC_GOLD, QStringLiteral("777"));
        m_w->prompts.yesNoAnswers = {answer};
        m_w->dlg.SendCommand(ID_FILE_SAVE);
        const QStringList question{QStringLiteral("Save|The character file was changed by another program after it was "
                                                  "opened. Overwrite it with the values shown here?")};
        QCOMPARE(m_w->prompts.Summaries(), changedOnDisk ? question : QStringList());
        QVERIFY(!changedOnDisk || m_w->prompts.messages[0].icon == MessageIcon::Exclamation);
        QCOMPARE(goldOnDisk(QStringLiteral("Hero.d2s")), onDisk);
        QCOMPARE(m_w->Text(IDC_GOLD), QStringLiteral("777")); // the edits stay in the window either way
    }

    void backupEditsRestore()
    {
        // Only the last extension of the file's own name gives way to "bak": a dot
        // in a folder's name never moves the backup elsewhere.
        const QString hero = QStringLiteral("sa.ve/Hero.old.d2s");
        QVERIFY(QDir(m_w->dir.path()).mkdir(QStringLiteral("sa.ve")));
        CharacterFixture().Name("Hero").Gold(500).WriteTo(path(hero));
        open(hero);
        m_w->Enter(IDC_GOLD, QStringLiteral("600"));
        m_w->dlg.SendCommand(ID_FILE_BACKUP);
        QCOMPARE(QDir(path(QStringLiteral("sa.ve"))).entryList(QDir::Files), (QStringList{"Hero.old.bak", "Hero.old.d2s"}));
        m_w->Enter(IDC_GOLD, QStringLiteral("700"));
        m_w->dlg.SendCommand(ID_FILE_RESTORE);
        QCOMPARE(m_w->Text(IDC_GOLD), QStringLiteral("600"));
        QCOMPARE(m_w->dlg.windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
        QCOMPARE(goldOnDisk(hero), 500u); // untouched until Save
        m_w->dlg.SendCommand(ID_FILE_SAVE); // no question: the restore is what the user chose
        QCOMPARE(goldOnDisk(hero), 600u);
        QVERIFY(m_w->prompts.messages.isEmpty());
    }

    void rename_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("planted"); // a link to nowhere under this name
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("title");
        const QStringList old{"Hero.d2s", "Hero.key", "Hero.map"};
        const QStringList taken{"Rename Character|File already exist. Try a different character name."};
        QTest::newRow("moves all three") << "Neo" << "" << QStringList{} << QStringList{"Neo.d2s", "Neo.key", "Neo.map"}
            << "QUARVINEL: Neo.d2s";
        QTest::newRow("same name") << "Hero" << "" << taken << old << "QUARVINEL";
        QTest::newRow("link under the new name") << "Neo" << "Neo.d2s" << taken << old + QStringList{"Neo.d2s"} << "QUARVINEL";
        QTest::newRow("link under the new map") << "Neo" << "Neo.map" << taken << old + QStringList{"Neo.map"} << "QUARVINEL";
        QTest::newRow("not letters only") << "Ne0" << "" << QStringList{"Rename Character|This is not a valid Diablo2 "
            "character name. Try to use only a-z, A-Z.\n"} << old << "QUARVINEL: Hero.d2s";
    }
    void rename()
    {
        QFETCH(QString, newName);
        QFETCH(QString, planted);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, files);
        QFETCH(QString, title);
        CharacterFixture::WriteFile(path(QStringLiteral("Hero.map")), "map");
        CharacterFixture::WriteFile(path(QStringLiteral("Hero.key")), "key");
        if (!planted.isEmpty())
            QVERIFY(QFile::link(QStringLiteral("../nowhere"), path(planted)));
        open(QStringLiteral("Hero.d2s"));
        m_w->Enter(IDC_GOLD, QStringLiteral("321")); // saved first, as the dialog promises
        const auto ran = WhenModal<CRenameDlg>([this, newName](CRenameDlg *dlg) {
            dlg->DlgItem<QLineEdit>(IDC_NEW_NAME)->setText(newName);
            dlg->DlgItem<QPushButton>(IDOK)->click();
            if (!m_w->prompts.messages.isEmpty()) // refused: the dialog stays up
                dlg->DlgItem<QPushButton>(IDCANCEL)->click();
        });
        m_w->dlg.SendCommand(ID_EDIT_RENAME_CHARACTER);
        QVERIFY(*ran);
        QCOMPARE(m_w->prompts.Summaries(), shown);
        QCOMPARE(QDir(m_w->dir.path()).entryList(QDir::Files | QDir::System), files);
        QCOMPARE(m_w->dlg.windowTitle(), title);
        if (shown.isEmpty()) {
            QCOMPARE(CharacterFixture::ReadFile(path(QStringLiteral("Neo.d2s"))).mid(8, 4), QByteArray("Neo\0", 4));
            QCOMPARE(goldOnDisk(QStringLiteral("Neo.d2s")), 321u);
        }
    }

private:
    QString path(const QString &name) const { return m_w->dir.filePath(name); }
    void open(const QString &name) { m_w->prompts.QueueFile(path(name)), m_w->dlg.SendCommand(ID_FILE_OPEN); }
    quint32 goldOnDisk(const QString &name) const
    { return qFromLittleEndian<quint32>(CharacterFixture::ReadFile(path(name)).constData() + 621); }

    std::unique_ptr<WindowHarness> m_w;
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
