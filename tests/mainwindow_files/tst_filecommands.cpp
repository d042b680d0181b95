#include "BrennicorDlg.h"
#include "support/MainWindowAccess.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void openShowsEveryPanel();
    void openCancelledLeavesWindowClosed();
    void openFailureLeavesWindowEmptyAndInert_data();
    void openFailureLeavesWindowEmptyAndInert();
    void openOfEmptyFileHoldsNothing();
    void openPathFromCommandLine();
    void reloadShowsDiskValuesUnderCharacterName();
    void reloadAfterFileDeleted();
    void reloadOfShortFileIsRefused();
    void commandsWithNoFileOpen_data();
    void commandsWithNoFileOpen();
    void saveWritesPanelAndNothingElse();
    void saveWithFaultyBoxWritesNothing();
    void backupEditsRestore();
    void restoreWithoutBackup();
    void backupAfterFailedReloadKeepsOldBackup();
    void exitDropsUnsavedEdits();
    void titleOfLongPath();

private:
    QString writeCharacter(const QString &fileName, const CharacterFixture &fixture = CharacterFixture());
    void open(const QString &path);
    QString text(int id) const { return m_dlg->DlgItem<QLineEdit>(id)->text(); }

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
}

void TestFileCommands::cleanup()
{
    if (m_dlg)
        QVERIFY(!m_dlg->TakePendingError());
    m_dlg.reset();
    m_prompts.reset();
    m_dir.reset();
}

QString TestFileCommands::writeCharacter(const QString &fileName, const CharacterFixture &fixture)
{
    const QString path = m_dir->filePath(fileName);
    if (!fixture.WriteTo(path))
        qFatal("cannot write the fixture");
    return path;
}

void TestFileCommands::open(const QString &path)
{
    m_prompts->QueueFile(path);
    MainWindowAccess::Command(*m_dlg, ID_FILE_OPEN);
}

void TestFileCommands::openShowsEveryPanel()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"),
                                        CharacterFixture().Name("Hero").Class(3).Gold(777).Skill(0, 9));
    open(path);
    QCOMPARE(m_prompts->lastFilter, QStringLiteral("Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||"));
    QCOMPARE(m_prompts->lastDefaultExtension, QStringLiteral("d2s"));
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
    QCOMPARE(text(IDC_NAME), QStringLiteral("Hero"));
    QCOMPARE(text(IDC_GOLD), QStringLiteral("777"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_CLASS)->currentText(), QStringLiteral("Paladin"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_SKILL)->currentText(), QStringLiteral("Sacrifice"));
    QCOMPARE(text(IDC_SKILL_LEVEL), QStringLiteral("9"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_DIFFICULTY)->currentText(), QStringLiteral("Normal"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_ACT)->currentText(), QStringLiteral("Act1"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_QUEST)->currentText(), QStringLiteral("Den of Evil"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_WAYPOINT)->currentText(), QStringLiteral("Rogue Encampment"));
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestFileCommands::openCancelledLeavesWindowClosed()
{
    open(writeCharacter(QStringLiteral("Hero.d2s")));
    m_prompts->QueueFile(QString()); // cancel
    MainWindowAccess::Command(*m_dlg, ID_FILE_OPEN);
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));
    QCOMPARE(text(IDC_NAME), QString());
    QCOMPARE(text(IDC_GOLD), QStringLiteral("0"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_SKILL)->count(), 0);
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_QUEST)->count(), 0);
}

void TestFileCommands::openFailureLeavesWindowEmptyAndInert_data()
{
    QTest::addColumn<quint32>("length");
    QTest::addColumn<QString>("message");
    // Too short for the stat block: the load itself throws.
    QTest::newRow("100 bytes") << 100u << QStringLiteral("offset out of range");
    // Long enough to load, too short to reach the skill bytes.
    QTest::newRow("600 bytes") << 600u << QStringLiteral("offset out of range");
    QTest::newRow("660 bytes") << 660u << QStringLiteral("offset out of range");
}

void TestFileCommands::openFailureLeavesWindowEmptyAndInert()
{
    QFETCH(quint32, length);
    QFETCH(QString, message);
    const QString path = writeCharacter(QStringLiteral("Short.d2s"), CharacterFixture().Length(length));
    const QByteArray before = CharacterFixture::ReadFile(path);
    open(path);
    QCOMPARE(m_prompts->Summaries(), QStringList{QStringLiteral("Open|") + message});
    QCOMPARE(m_prompts->messages[0].icon, MessageIcon::Stop);
    QCOMPARE(m_prompts->messages[0].owner, m_dlg.get());
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));

    // Nothing can reach the image that was not shown.
    m_prompts->Reset();
    QTest::keyClicks(m_dlg->DlgItem<QLineEdit>(IDC_GOLD), QStringLiteral("5"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_MAXIMIZE_SKILLS);
    MainWindowAccess::Command(*m_dlg, ID_EDIT_MAXIMIZE_ATTRIBUTES);
    MainWindowAccess::Command(*m_dlg, ID_EDIT_ACTIVATE_ALL_ACTS);
    QCOMPARE(m_prompts->Summaries(), QStringList{QStringLiteral("Activate Acts|Open a file first!")});
    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    QCOMPARE(m_prompts->Texts().last(), QStringLiteral("Open a file first!"));
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(CharacterFixture::ReadFile(path), before);
}

void TestFileCommands::openOfEmptyFileHoldsNothing()
{
    const QString path = m_dir->filePath(QStringLiteral("Empty.d2s"));
    QVERIFY(CharacterFixture::WriteFile(path, QByteArray()));
    open(path);
    QVERIFY(m_prompts->messages.isEmpty());
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Empty.d2s"));
}

void TestFileCommands::openPathFromCommandLine()
{
    const QString path = writeCharacter(QStringLiteral("Cli.d2s"), CharacterFixture().Gold(31));
    m_dlg->OpenPath(path);
    QCOMPARE(m_prompts->fileQuestions, 0);
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Cli.d2s"));
    QCOMPARE(text(IDC_GOLD), QStringLiteral("31"));

    m_dlg->OpenPath(m_dir->filePath(QStringLiteral("Missing.d2s")));
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages[0].text.startsWith(QStringLiteral("Failed to open document.")));
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));
}

void TestFileCommands::reloadShowsDiskValuesUnderCharacterName()
{
    const QString path = writeCharacter(QStringLiteral("file-name.d2s"),
                                        CharacterFixture().Name("Conan").Gold(100));
    open(path);
    QLineEdit *gold = m_dlg->DlgItem<QLineEdit>(IDC_GOLD);
    gold->selectAll();
    QTest::keyClicks(gold, QStringLiteral("999"));
    QCOMPARE(MainWindowAccess::Document(*m_dlg).GetUInt(Layout::GoldFirst, Layout::GoldLast), 999u);
    m_dlg->DlgItem<QComboBox>(IDC_DIFFICULTY)->setCurrentIndex(2);
    Q_EMIT m_dlg->DlgItem<QComboBox>(IDC_DIFFICULTY)->activated(2);

    MainWindowAccess::Command(*m_dlg, ID_FILE_RELOAD);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(text(IDC_GOLD), QStringLiteral("100"));
    QCOMPARE(MainWindowAccess::Document(*m_dlg).GetUInt(Layout::GoldFirst, Layout::GoldLast), 100u);
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Conan.d2s"));
    QCOMPARE(m_dlg->DlgItem<QComboBox>(IDC_DIFFICULTY)->currentIndex(), 0);
}

void TestFileCommands::reloadAfterFileDeleted()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    open(path);
    QVERIFY(QFile::remove(path));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RELOAD);
    QCOMPARE(m_prompts->messages.size(), 2);
    QVERIFY(m_prompts->messages[0].text.startsWith(QStringLiteral("Failed to open document.")));
    QCOMPARE(m_prompts->Summaries().last(), QStringLiteral("Reload|Can't open the character file."));
    QCOMPARE(m_prompts->messages[1].icon, MessageIcon::None);
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));
}

void TestFileCommands::reloadOfShortFileIsRefused()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    open(path);
    QVERIFY(CharacterFixture().Length(640).WriteTo(path));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RELOAD);
    QCOMPARE(m_prompts->Summaries(), QStringList{QStringLiteral("Reload|offset out of range")});
    QCOMPARE(m_prompts->messages[0].icon, MessageIcon::Stop);
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));
}

void TestFileCommands::commandsWithNoFileOpen_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<bool>("ownedByWindow");
    QTest::newRow("save") << int(ID_FILE_SAVE) << "Save|Open a file first!" << MessageIcon::Exclamation << true;
    QTest::newRow("reload") << int(ID_FILE_RELOAD) << "Reload|Open a file first!" << MessageIcon::Exclamation
                            << true;
    QTest::newRow("restore") << int(ID_FILE_RESTORE) << "Restore|Open a file first!"
                             << MessageIcon::Exclamation << true;
    QTest::newRow("backup") << int(ID_FILE_BACKUP) << "Backup Document|Open a document first!"
                            << MessageIcon::Exclamation << false;
}

void TestFileCommands::commandsWithNoFileOpen()
{
    QFETCH(int, command);
    QFETCH(QString, summary);
    QFETCH(MessageIcon, icon);
    QFETCH(bool, ownedByWindow);
    // Closing right after an open leaves nothing for the command to work on.
    open(writeCharacter(QStringLiteral("Hero.d2s")));
    MainWindowAccess::Command(*m_dlg, ID_FILE_CLOSE);
    m_dlg->SendCommand(command);
    QCOMPARE(m_prompts->Summaries(), QStringList{summary});
    QCOMPARE(m_prompts->messages[0].icon, icon);
    QCOMPARE(m_prompts->messages[0].owner, ownedByWindow ? m_dlg.get() : nullptr);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Hero.d2s")});
}

void TestFileCommands::saveWritesPanelAndNothingElse()
{
    const CharacterFixture fixture = CharacterFixture().Gold(100).WithoutGoldInStash();
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"), fixture);
    open(path);
    QLineEdit *gold = m_dlg->DlgItem<QLineEdit>(IDC_GOLD);
    gold->selectAll();
    QTest::keyClicks(gold, QStringLiteral("4242"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    QVERIFY(m_prompts->messages.isEmpty());

    QByteArray expected = fixture.Expanded();
    const quint32 gold4242 = 4242;
    for (int k = 0; k < 4; ++k)
        expected[int(Layout::GoldFirst) + k] = char((gold4242 >> (8 * k)) & 0xFF);
    QCOMPARE(CharacterFixture::ReadFile(path).toHex(), expected.toHex());
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsModified());
}

void TestFileCommands::saveWithFaultyBoxWritesNothing()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    open(path);
    const QByteArray before = CharacterFixture::ReadFile(path);
    m_dlg->DlgItem<QLineEdit>(IDC_MAX_HEALTH)->clear();
    m_prompts->Reset();
    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    QCOMPARE(m_prompts->Texts(),
             (QStringList{QStringLiteral("Please enter a positive integer."), QStringLiteral("File not saved")}));
    QCOMPARE(m_prompts->messages[1].caption, QStringLiteral("Save"));
    QCOMPARE(CharacterFixture::ReadFile(path), before);
}

void TestFileCommands::backupEditsRestore()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"), CharacterFixture().Name("Hero").Gold(100));
    open(path);
    const QByteArray onDisk = CharacterFixture::ReadFile(path);
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    const QString backup = m_dir->filePath(QStringLiteral("Hero.bak"));
    QVERIFY(QFile::exists(backup));

    QLineEdit *gold = m_dlg->DlgItem<QLineEdit>(IDC_GOLD);
    gold->selectAll();
    QTest::keyClicks(gold, QStringLiteral("5000"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RESTORE);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(text(IDC_GOLD), QStringLiteral("100"));
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
    QCOMPARE(MainWindowAccess::Document(*m_dlg).GetFileName(), path);
    QCOMPARE(CharacterFixture::ReadFile(path), onDisk);

    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    QCOMPARE(CharacterFixture::ReadFile(path), CharacterFixture::ReadFile(backup));
}

void TestFileCommands::restoreWithoutBackup()
{
    open(writeCharacter(QStringLiteral("Hero.d2s")));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RESTORE);
    QCOMPARE(m_prompts->messages.size(), 2);
    QVERIFY(m_prompts->messages[0].text.startsWith(QStringLiteral("Failed to open document.")));
    QCOMPARE(m_prompts->Summaries().last(), QStringLiteral("Restore|Can't open backup file."));
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));
}

void TestFileCommands::backupAfterFailedReloadKeepsOldBackup()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    open(path);
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    const QString backup = m_dir->filePath(QStringLiteral("Hero.bak"));
    const QByteArray saved = CharacterFixture::ReadFile(backup);
    QVERIFY(QFile::remove(path));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RELOAD);
    m_prompts->Reset();
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    QCOMPARE(m_prompts->Summaries(), QStringList{QStringLiteral("Backup Document|Open a document first!")});
    QCOMPARE(CharacterFixture::ReadFile(backup), saved);
}

void TestFileCommands::exitDropsUnsavedEdits()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    const QByteArray before = CharacterFixture::ReadFile(path);
    CBrennicorDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        dlg.OpenPath(path);
        QLineEdit *gold = dlg.DlgItem<QLineEdit>(IDC_GOLD);
        gold->selectAll();
        QTest::keyClicks(gold, QStringLiteral("12345"));
        dlg.MenuAction(ID_FILE_EXIT)->trigger();
    });
    QCOMPARE(dlg.DoModal(), IDCANCEL);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(CharacterFixture::ReadFile(path), before);
}

void TestFileCommands::titleOfLongPath()
{
    QString dir = m_dir->path();
    for (int i = 0; i < 12; ++i) {
        dir += QStringLiteral("/a-rather-long-folder-name-%1").arg(i);
        QVERIFY(QDir().mkpath(dir));
    }
    QVERIFY(dir.size() > 256);
    const QString path = dir + QStringLiteral("/Deep.d2s");
    QVERIFY(CharacterFixture().WriteTo(path));
    open(path);
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Deep.d2s"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    QVERIFY(QFile::exists(dir + QStringLiteral("/Deep.bak")));
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
