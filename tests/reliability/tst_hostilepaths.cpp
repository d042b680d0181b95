// The file commands on paths and names that trip up careless code: letters
// outside ASCII, very long names and paths, blanks, leading dots, names
// without an extension, and symbolic links, through which a save must write
// the file the link points to and keep the link.

#include "FaultInjection.h"
#include "support/MainWindowAccess.h"

#include "BrennicorDlg.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

QString Repeat(const QString &piece, int times)
{
    QString text;
    for (int k = 0; k < times; ++k)
        text += piece;
    return text;
}

// The text of a symbolic link as stored, not resolved.
QByteArray LinkText(const QString &path)
{
    QByteArray buffer(4096, '\0');
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer.data(), size_t(buffer.size()));
    return n < 0 ? QByteArray() : buffer.left(n);
}

QByteArray GoldBytes(quint32 gold)
{
    QByteArray bytes;
    for (int k = 0; k < 4; ++k)
        bytes.append(char((gold >> (8 * k)) & 0xFF));
    return bytes;
}

enum class Links {
    RelativeLink,    // the character file is a relative link to the real one
    AbsoluteLink,    // ... an absolute link
    ChainOfLinks,    // ... a link to a link to the real one
    FolderLink,      // a folder on the way is a link
    BackupLink,      // the backup file is a link to a file elsewhere
    TargetDeleted,   // the file a link points to is deleted after the open
};

} // namespace

Q_DECLARE_METATYPE(Links)

class TestHostilePaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fileCommandsOnPath_data();
    void fileCommandsOnPath();
    void savingThroughLinks_data();
    void savingThroughLinks();

private:
    void open(const QString &path);
    void typeGold(const QString &text) { m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->setText(text); }
    QString where(const QString &relative) const { return m_root->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CBrennicorDlg> m_dlg;
};

void TestHostilePaths::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_dlg = std::make_unique<CBrennicorDlg>();
    m_dlg->Create();
}

void TestHostilePaths::cleanup()
{
    if (m_dlg)
        QVERIFY(!m_dlg->TakePendingError());
    m_dlg.reset();
    m_prompts.reset();
    m_root.reset();
}

void TestHostilePaths::open(const QString &path)
{
    m_prompts->QueueFile(path);
    MainWindowAccess::Command(*m_dlg, ID_FILE_OPEN);
}

void TestHostilePaths::fileCommandsOnPath_data()
{
    QTest::addColumn<QString>("relative");  // below the temporary folder
    QTest::addColumn<QString>("backup");    // the backup's relative path
    QTest::addColumn<QString>("renamed");   // the character file's relative path after the rename
    // Saving writes a temporary file named after the file plus 7 characters
    // beside it; for a name of more than 248 bytes that name cannot exist.
    QTest::addColumn<bool>("tempNameTooLong");

    QTest::newRow("accented letters") << QStringLiteral("Sauvegardés/Hérô.d2s") << QStringLiteral("Sauvegardés/Hérô.bak")
                                      << QStringLiteral("Sauvegardés/Renamed.d2s") << false;
    QTest::newRow("Japanese") << QStringLiteral("セーブ/勇者.d2s") << QStringLiteral("セーブ/勇者.bak")
                              << QStringLiteral("セーブ/Renamed.d2s") << false;
    QTest::newRow("blanks") << QStringLiteral("My Saves/Big Hero.d2s") << QStringLiteral("My Saves/Big Hero.bak")
                            << QStringLiteral("My Saves/Renamed.d2s") << false;
    QTest::newRow("leading dots") << QStringLiteral(".saves/.Hero.d2s") << QStringLiteral(".saves/.Hero.bak")
                                  << QStringLiteral(".saves/Renamed.d2s") << false;
    QTest::newRow("only an extension") << QStringLiteral("saves/.d2s") << QStringLiteral("saves/.bak")
                                       << QStringLiteral("saves/Renamed.d2s") << false;
    QTest::newRow("no extension") << QStringLiteral("saves/Hero") << QStringLiteral("saves/Hero.bak")
                                  << QStringLiteral("saves/Renamed.d2s") << false;
    QTest::newRow("dot in the folder only") << QStringLiteral("v1.09/Hero") << QStringLiteral("v1.09/Hero.bak")
                                            << QStringLiteral("v1.09/Renamed.d2s") << false;

    // The longest name whose save can still make its temporary name.
    QTest::newRow("248-byte name") << QStringLiteral("saves/") + Repeat(QStringLiteral("a"), 244) + QStringLiteral(".d2s")
                                   << QStringLiteral("saves/") + Repeat(QStringLiteral("a"), 244) + QStringLiteral(".bak")
                                   << QStringLiteral("saves/Renamed.d2s") << false;
    QTest::newRow("248-byte name of two-byte letters")
        << QStringLiteral("saves/") + Repeat(QStringLiteral("é"), 122) + QStringLiteral(".d2s")
        << QStringLiteral("saves/") + Repeat(QStringLiteral("é"), 122) + QStringLiteral(".bak")
        << QStringLiteral("saves/Renamed.d2s") << false;
    // 255 bytes, the longest name a Linux file system takes.
    QTest::newRow("255-byte name") << QStringLiteral("saves/") + Repeat(QStringLiteral("a"), 251) + QStringLiteral(".d2s")
                                   << QString() << QString() << true;
    QTest::newRow("255-byte name of two-byte letters")
        << QStringLiteral("saves/") + Repeat(QStringLiteral("é"), 125) + QStringLiteral("a.d2s") << QString() << QString()
        << true;

    const QString folder100 = Repeat(QStringLiteral("b"), 100);
    const QString path400 = Repeat(folder100 + QLatin1Char('/'), 4);
    QTest::newRow("path over 255 bytes") << path400 + QStringLiteral("Hero.d2s") << path400 + QStringLiteral("Hero.bak")
                                         << path400 + QStringLiteral("Renamed.d2s") << false;
    const QString folder250 = Repeat(QStringLiteral("d"), 249) + QStringLiteral("é");
    const QString path3000 = Repeat(folder250 + QLatin1Char('/'), 12);
    QTest::newRow("path of 3000 bytes") << path3000 + QStringLiteral("Héro.d2s") << path3000 + QStringLiteral("Héro.bak")
                                        << path3000 + QStringLiteral("Renamed.d2s") << false;
}

void TestHostilePaths::fileCommandsOnPath()
{
    QFETCH(QString, relative);
    QFETCH(QString, backup);
    QFETCH(QString, renamed);
    QFETCH(bool, tempNameTooLong);

    const QString path = where(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY2(CharacterFixture().Name("Hero").Gold(1000).WriteTo(path), qPrintable(path));

    // Open: the title names the file.
    open(path);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->GetWindowText(), QStringLiteral("QUARVINEL: ") + QFileInfo(path).fileName());

    // Save writes the edit to the very file.
    const QByteArray original = CharacterFixture::ReadFile(path);
    typeGold(QStringLiteral("4321"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    if (tempNameTooLong && !m_prompts->messages.isEmpty()) {
        // The save that cannot be made at least fails safely: reported, the
        // file as it was, nothing left beside it, the edit still held.
        QCOMPARE(m_prompts->messages.size(), 1);
        QVERIFY(m_prompts->messages.first().text.startsWith(QStringLiteral("Failed to save document.")));
        QCOMPARE(CharacterFixture::ReadFile(path), original);
        QCOMPARE(Faults::EntriesIn(QFileInfo(path).absolutePath()), QStringList{QFileInfo(path).fileName()});
        QCOMPARE(m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->text(), QStringLiteral("4321"));
    }
    if (tempNameTooLong)
        QEXPECT_FAIL("", "Qt's QSaveFile names its temporary file after the target plus 7 characters, "
                         "which no file system takes beyond 255 bytes", Abort);
    QVERIFY2(m_prompts->Summaries().isEmpty(), qPrintable(m_prompts->Summaries().join(QLatin1Char(10))));
    const QByteArray saved = CharacterFixture::ReadFile(path);
    QCOMPARE(saved, DocumentImage(MainWindowAccess::Document(*m_dlg)));
    QCOMPARE(saved.mid(int(Layout::GoldFirst), 4), GoldBytes(4321));

    // Backup beside it.
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QCOMPARE(CharacterFixture::ReadFile(where(backup)), saved);

    // Reload shows the file again, Restore the backup.
    typeGold(QStringLiteral("77"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RELOAD);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QCOMPARE(m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->text(), QStringLiteral("4321"));
    QCOMPARE(m_dlg->GetWindowText(), QStringLiteral("QUARVINEL: Hero.d2s"));
    typeGold(QStringLiteral("77"));
    MainWindowAccess::Command(*m_dlg, ID_FILE_RESTORE);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QCOMPARE(m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->text(), QStringLiteral("4321"));

    // Rename moves the file within its folder.
    MainWindowAccess::RenameCharacter(*m_dlg, QStringLiteral("Renamed"));
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QVERIFY(!QFileInfo::exists(path));
    const QByteArray moved = CharacterFixture::ReadFile(where(renamed));
    QCOMPARE(moved.size(), saved.size());
    QCOMPARE(moved.mid(int(Layout::CharNameFirst), 8), QByteArray("Renamed\0", 8));
    QCOMPARE(moved.mid(int(Layout::GoldFirst), 4), GoldBytes(4321));
    QCOMPARE(m_dlg->GetWindowText(), QStringLiteral("QUARVINEL: Renamed.d2s"));
}

void TestHostilePaths::savingThroughLinks_data()
{
    QTest::addColumn<Links>("links");
    QTest::newRow("relative link") << Links::RelativeLink;
    QTest::newRow("absolute link") << Links::AbsoluteLink;
    QTest::newRow("chain of links") << Links::ChainOfLinks;
    QTest::newRow("folder link") << Links::FolderLink;
    QTest::newRow("backup is a link") << Links::BackupLink;
    QTest::newRow("linked file deleted after open") << Links::TargetDeleted;
}

void TestHostilePaths::savingThroughLinks()
{
    QFETCH(Links, links);

    // real/ holds the files, links/ what the user opens.
    QVERIFY(QDir().mkpath(where(QStringLiteral("real"))));
    QVERIFY(QDir().mkpath(where(QStringLiteral("links"))));
    const QString real = where(QStringLiteral("real/Hero.d2s"));
    const QString realBackup = where(QStringLiteral("real/Elsewhere.bak"));
    QVERIFY(CharacterFixture().Name("Hero").Gold(1000).WriteTo(real));
    QString opened = where(QStringLiteral("links/Hero.d2s"));
    QStringList linkPaths; // every link that must still be a link afterwards

    switch (links) {
    case Links::RelativeLink:
    case Links::TargetDeleted:
        QVERIFY(QFile::link(QStringLiteral("../real/Hero.d2s"), opened));
        linkPaths << opened;
        break;
    case Links::AbsoluteLink:
        QVERIFY(QFile::link(real, opened));
        linkPaths << opened;
        break;
    case Links::ChainOfLinks:
        QVERIFY(QFile::link(QStringLiteral("../real/Hero.d2s"), where(QStringLiteral("links/middle.d2s"))));
        QVERIFY(QFile::link(QStringLiteral("middle.d2s"), opened));
        linkPaths << opened << where(QStringLiteral("links/middle.d2s"));
        break;
    case Links::FolderLink:
        QVERIFY(QFile::link(QStringLiteral("../real"), where(QStringLiteral("links/folder"))));
        opened = where(QStringLiteral("links/folder/Hero.d2s"));
        linkPaths << where(QStringLiteral("links/folder"));
        break;
    case Links::BackupLink:
        QVERIFY(QFile::copy(real, opened));
        QVERIFY(CharacterFixture().Name("Old").WriteTo(realBackup));
        QVERIFY(QFile::link(QStringLiteral("../real/Elsewhere.bak"), where(QStringLiteral("links/Hero.bak"))));
        linkPaths << where(QStringLiteral("links/Hero.bak"));
        break;
    }
    QHash<QString, QByteArray> linkTexts;
    for (const QString &link : linkPaths)
        linkTexts.insert(link, LinkText(link));

    open(opened);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    typeGold(QStringLiteral("4321"));
    const QByteArray image = DocumentImage(MainWindowAccess::Document(*m_dlg));
    if (links == Links::TargetDeleted)
        QVERIFY(QFile::remove(real));

    MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    QCOMPARE(m_prompts->Summaries(), QStringList());

    // The links are links still, with the same text, and the files they lead
    // to hold the image.
    for (const QString &link : linkPaths) {
        QVERIFY2(QFileInfo(link).isSymLink(), qPrintable(link));
        QCOMPARE(LinkText(link), linkTexts.value(link));
    }
    const QString characterFile = links == Links::BackupLink ? opened : real;
    QCOMPARE(CharacterFixture::ReadFile(characterFile), image);
    QCOMPARE(CharacterFixture::ReadFile(opened), image);
    const QString backupOpened = CDiablo2Doc::BackupPathOf(opened);
    QCOMPARE(CharacterFixture::ReadFile(backupOpened), image);
    if (links == Links::BackupLink)
        QCOMPARE(CharacterFixture::ReadFile(realBackup), image);

    // Nothing else appeared beside the real files.
    QStringList expectedReal{QStringLiteral("Hero.d2s")};
    if (links == Links::BackupLink)
        expectedReal << QStringLiteral("Elsewhere.bak");
    if (links == Links::FolderLink)
        expectedReal << QStringLiteral("Hero.bak");
    expectedReal.sort();
    QCOMPARE(Faults::EntriesIn(where(QStringLiteral("real"))), expectedReal);
}

QTEST_MAIN(TestHostilePaths)
#include "tst_hostilepaths.moc"
