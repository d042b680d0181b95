// The File menu and Rename Character, driven as a user does: commands from the
// menu, values typed into the boxes, answers given to the message boxes.

#include "BrennicorDlg.h"
#include "MainDialogIds.h"
#include "RenameDlg.h"
#include "Resources.h"
#include "support/CharacterFixture.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void commandMessages_data();
    void commandMessages();
    void saveAsksWhenAnotherProgramChangedTheFile_data();
    void saveAsksWhenAnotherProgramChangedTheFile();
    void backupEditsRestore();
    void rename_data();
    void rename();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void open(const QString &name) { m_prompts->QueueFile(path(name)), m_dlg->SendCommand(ID_FILE_OPEN); }
    void typeGold(const QString &gold) { m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->setText(gold); }
    QString gold() const { return m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->text(); }
    quint32 goldOnDisk(const QString &name) const
    { return qFromLittleEndian<quint32>(CharacterFixture::ReadFile(path(name)).constData() + 621); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CBrennicorDlg> m_dlg;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_dlg = std::make_unique<CBrennicorDlg>();
    m_dlg->Create();
    CharacterFixture().Name("Hero").Gold(500).WriteTo(path(QStringLiteral("Hero.d2s")));
}

void TestFileCommands::cleanup()
{
    QVERIFY(!m_dlg->TakePendingError());
    m_dlg.reset();
    m_prompts.reset();
    m_dir.reset();
}

void TestFileCommands::commandMessages_data()
{
    QTest::addColumn<QString>("opened"); // the file opened first, if any
    QTest::addColumn<QString>("removed"); // removed from disk after that
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("shown"); // "caption|text" starts of the messages
    QTest::addColumn<QString>("title");
    const QString report = QStringLiteral("tst_filecommands|Failed to open document.");
    QTest::newRow("Save with no file") << "" << "" << int(ID_FILE_SAVE) << QStringList{"Save|Open a file first!"} << "QUARVINEL";
    QTest::newRow("Reload with no file") << "" << "" << int(ID_FILE_RELOAD) << QStringList{"Reload|Open a file first!"} << "QUARVINEL";
    QTest::newRow("Restore with no file") << "" << "" << int(ID_FILE_RESTORE) << QStringList{"Restore|Open a file first!"} << "QUARVINEL";
    QTest::newRow("open a 600-byte file") << "Short.d2s" << "" << int(ID_FILE_CLOSE) << QStringList{"Open|offset out of range"} << "QUARVINEL";
    QTest::newRow("open a named pipe") << "Pipe.d2s" << "" << int(ID_FILE_CLOSE)
                                       << QStringList{report + "\n\n" + "PATH/Pipe.d2s:\nit is a named pipe (FIFO), not a regular file"} << "QUARVINEL";
    QTest::newRow("open, then Save") << "Hero.d2s" << "" << int(ID_FILE_SAVE) << QStringList{} << "QUARVINEL: Hero.d2s";
    QTest::newRow("Reload of a deleted file") << "Hero.d2s" << "Hero.d2s" << int(ID_FILE_RELOAD)
                                              << QStringList{report, "Reload|Can't open the character file."} << "QUARVINEL";
    QTest::newRow("Restore without a backup") << "Hero.d2s" << "" << int(ID_FILE_RESTORE)
                                              << QStringList{report, "Restore|Can't open backup file."} << "QUARVINEL";
}

void TestFileCommands::commandMessages()
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
    m_dlg->SendCommand(command);
    const QStringList summaries = m_prompts->Summaries();
    QCOMPARE(summaries.size(), shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i)
        QVERIFY2(summaries[i].startsWith(shown[i].replace(QLatin1String("PATH"), m_dir->path())), qPrintable(summaries[i]));
    QCOMPARE(m_dlg->windowTitle(), title);
    if (removed.isEmpty())
        QCOMPARE(goldOnDisk(QStringLiteral("Hero.d2s")), 500u);
}

void TestFileCommands::saveAsksWhenAnotherProgramChangedTheFile_data()
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

void TestFileCommands::saveAsksWhenAnotherProgramChangedTheFile()
{
    QFETCH(bool, changedOnDisk);
    QFETCH(bool, savedBefore);
    QFETCH(bool, answer);
    QFETCH(quint32, onDisk);
    open(QStringLiteral("Hero.d2s"));
    if (savedBefore)
        m_dlg->SendCommand(ID_FILE_SAVE);
    if (changedOnDisk)
        CharacterFixture().Name("Hero").Gold(9).WriteTo(path(QStringLiteral("Hero.d2s")));
    typeGold(QStringLiteral("777"));
    m_prompts->yesNoAnswers = {answer};
    m_dlg->SendCommand(ID_FILE_SAVE);
    const QStringList question{QStringLiteral("Save|The character file was changed by another program after it was "
                                              "opened. Overwrite it with the values shown here?")};
    QCOMPARE(m_prompts->Summaries(), changedOnDisk ? question : QStringList());
    QVERIFY(!changedOnDisk || m_prompts->messages[0].icon == MessageIcon::Exclamation);
    QCOMPARE(goldOnDisk(QStringLiteral("Hero.d2s")), onDisk);
    QCOMPARE(gold(), QStringLiteral("777")); // the edits stay in the window either way
}

void TestFileCommands::backupEditsRestore()
{
    // Only the last extension of the file's own name gives way to "bak": a dot
    // in a folder's name never moves the backup elsewhere.
    const QString hero = QStringLiteral("sa.ve/Hero.old.d2s");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sa.ve")));
    CharacterFixture().Name("Hero").Gold(500).WriteTo(path(hero));
    open(hero);
    typeGold(QStringLiteral("600"));
    m_dlg->SendCommand(ID_FILE_BACKUP);
    QCOMPARE(QDir(path(QStringLiteral("sa.ve"))).entryList(QDir::Files), (QStringList{"Hero.old.bak", "Hero.old.d2s"}));
    typeGold(QStringLiteral("700"));
    m_dlg->SendCommand(ID_FILE_RESTORE);
    QCOMPARE(gold(), QStringLiteral("600"));
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
    QCOMPARE(goldOnDisk(hero), 500u); // untouched until Save
    m_dlg->SendCommand(ID_FILE_SAVE); // no question: the restore is what the user chose
    QCOMPARE(goldOnDisk(hero), 600u);
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestFileCommands::rename_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("planted"); // a link to nowhere under this name
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("title");
    const QStringList old{"Hero.d2s", "Hero.key", "Hero.map"};
    QTest::newRow("moves all three") << "Neo" << "" << QStringList{} << QStringList{"Neo.d2s", "Neo.key", "Neo.map"} << "QUARVINEL: Neo.d2s";
    QTest::newRow("same name") << "Hero" << "" << QStringList{"Rename Character|File already exist. Try a different character name."} << old << "QUARVINEL";
    QTest::newRow("link under the new name") << "Neo" << "Neo.d2s" << QStringList{"Rename Character|File already exist. Try a different character name."} << old + QStringList{"Neo.d2s"} << "QUARVINEL";
    QTest::newRow("link under the new map") << "Neo" << "Neo.map" << QStringList{"Rename Character|File already exist. Try a different character name."} << old + QStringList{"Neo.map"} << "QUARVINEL";
    QTest::newRow("not letters only") << "Ne0" << "" << QStringList{"Rename Character|This is not a valid Diablo2 character name. Try to use only a-z, A-Z.\n"} << old << "QUARVINEL: Hero.d2s";
}

void TestFileCommands::rename()
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
    typeGold(QStringLiteral("321")); // saved first, as the dialog promises
    const auto ran = WhenModal<CRenameDlg>([this, newName](CRenameDlg *dlg) {
        dlg->DlgItem<QLineEdit>(IDC_NEW_NAME)->setText(newName);
        dlg->DlgItem<QPushButton>(IDOK)->click();
        if (!m_prompts->messages.isEmpty()) // refused: the dialog stays up
            dlg->DlgItem<QPushButton>(IDCANCEL)->click();
    });
    m_dlg->SendCommand(ID_EDIT_RENAME_CHARACTER);
    QVERIFY(*ran);
    QCOMPARE(m_prompts->Summaries(), shown);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System), files);
    QCOMPARE(m_dlg->windowTitle(), title);
    if (shown.isEmpty()) {
        QCOMPARE(CharacterFixture::ReadFile(path(QStringLiteral("Neo.d2s"))).mid(8, 4), QByteArray("Neo\0", 4));
        QCOMPARE(goldOnDisk(QStringLiteral("Neo.d2s")), 321u);
    }
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
