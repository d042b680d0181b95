// Save and Backup of the main window when the file system refuses them: the
// file they would replace keeps every byte, the user hears of the failure
// through the file-error report, nothing is left behind in the folder, the
// edits stay in memory, and the same command succeeds once the fault is gone.

#include "EditorInFolder.h"
#include "support/MainWindowAccess.h"
#include "FaultInjection.h"

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

namespace {

enum class Fault {
    NoSpace,           // the write stops part way (file size limit)
    ReadOnlyFile,      // the file being replaced refuses changes
    ReadOnlyDirectory, // its folder refuses new entries
    DirectoryInPlace,  // a folder stands where the file should be
    DirectoryRemoved,  // the whole folder went away after the open
    Deleted,           // the file went away after the open
    ReplacedLonger,    // another, longer file took its place after the open
};

enum class Command { Save, Backup };

const QString kName = QStringLiteral("Hero.d2s");
const QString kBackupName = QStringLiteral("Hero.bak");

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Command)

class TestSaveFaults : public QObject, protected EditorInFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void faultLeavesFileWhole_data();
    void faultLeavesFileWhole();

};

void TestSaveFaults::init()
{
    QVERIFY(StartEditor());
}

void TestSaveFaults::cleanup()
{
    QVERIFY(FinishEditor());
}

void TestSaveFaults::faultLeavesFileWhole_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("fails");

    const struct
    {
        const char *name;
        Fault fault;
        bool fails;
    } faults[] = {
        {"no space left", Fault::NoSpace, true},
        {"read-only file", Fault::ReadOnlyFile, true},
        {"read-only folder", Fault::ReadOnlyDirectory, true},
        {"folder where the file should be", Fault::DirectoryInPlace, true},
        {"folder removed after open", Fault::DirectoryRemoved, true},
        {"file deleted after open", Fault::Deleted, false},
        {"file replaced by a longer one after open", Fault::ReplacedLonger, false},
    };
    for (Command command : {Command::Save, Command::Backup}) {
        const char *commandName = command == Command::Save ? "Save" : "Backup";
        for (const auto &f : faults)
            QTest::addRow("%s: %s", commandName, f.name) << command << f.fault << f.fails;
    }
}

void TestSaveFaults::faultLeavesFileWhole()
{
    QFETCH(Command, command);
    QFETCH(Fault, fault);
    QFETCH(bool, fails);

    const QString path = QDir(m_dir).filePath(kName);
    const QString backupPath = QDir(m_dir).filePath(kBackupName);
    QVERIFY(CharacterFixture().Name("Hero").Gold(1000).WriteTo(path));
    QVERIFY(CharacterFixture().Name("Hero").Gold(7).WriteTo(backupPath));
    const QString target = command == Command::Save ? path : backupPath;

    m_prompts->QueueFile(path);
    MainWindowAccess::Command(*m_dlg, ID_FILE_OPEN);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QCOMPARE(m_dlg->GetWindowText(), QStringLiteral("QUARVINEL: Hero.d2s"));
    // An edit that only memory holds until the command succeeds.
    m_dlg->DlgItem<QLineEdit>(IDC_GOLD)->setText(QStringLiteral("4321"));
    const QByteArray edited = DocumentImage(MainWindowAccess::Document(*m_dlg));
    QCOMPARE(edited.mid(int(Layout::GoldFirst), 4), QByteArray("\xE1\x10\x00\x00", 4));
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsModified());

    // What the folder and the file hold when the command runs.
    std::unique_ptr<Faults::ReadOnly> readOnly;
    std::unique_ptr<Faults::FileSizeLimit> sizeLimit;
    const QString marker = QStringLiteral("keep.txt");
    switch (fault) {
    case Fault::NoSpace:
        break; // set just around the command below
    case Fault::ReadOnlyFile:
        readOnly = std::make_unique<Faults::ReadOnly>(target);
        break;
    case Fault::ReadOnlyDirectory:
        readOnly = std::make_unique<Faults::ReadOnly>(m_dir);
        break;
    case Fault::DirectoryInPlace:
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir(m_dir).mkdir(QFileInfo(target).fileName()));
        QVERIFY(CharacterFixture::WriteFile(QDir(target).filePath(marker), "folder content"));
        break;
    case Fault::DirectoryRemoved:
        QVERIFY(QDir(m_dir).removeRecursively());
        break;
    case Fault::Deleted:
        QVERIFY(QFile::remove(target));
        break;
    case Fault::ReplacedLonger:
        QVERIFY(CharacterFixture().Name("Other").Length(900).WriteTo(target));
        break;
    }
    if (readOnly && !readOnly->IsActive())
        QSKIP(qPrintable(readOnly->Reason()));

    const QByteArray before = CharacterFixture::ReadFile(target);
    const QStringList entriesBefore = Faults::EntriesIn(m_dir);
    m_prompts->Reset();
    {
        if (fault == Fault::NoSpace) {
            // Less than a character file: the write runs out part way.
            sizeLimit = std::make_unique<Faults::FileSizeLimit>(100);
            QVERIFY(sizeLimit->IsActive());
        }
        if (command == Command::Save)
            MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
        else
            MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
        sizeLimit.reset();
    }

    if (!fails) {
        QCOMPARE(m_prompts->Summaries(), QStringList());
        QCOMPARE(CharacterFixture::ReadFile(target), edited);
        QCOMPARE(Faults::EntriesIn(m_dir), (QStringList{kBackupName, kName}));
        return;
    }

    // One report, the framework's, naming the file.
    QCOMPARE(m_prompts->messages.size(), 1);
    const ScriptedPrompts::Message &report = m_prompts->messages.first();
    QCOMPARE(report.caption, AfxGetAppTitle());
    QCOMPARE(report.icon, MessageIcon::Exclamation);
    QVERIFY2(report.text.startsWith(QStringLiteral("Failed to save document.\n\n") + QDir::toNativeSeparators(target)),
             qPrintable(report.text));

    // The file, or the folder in its place, as it was; nothing else in the folder.
    if (fault == Fault::DirectoryInPlace) {
        QVERIFY(QFileInfo(target).isDir());
        QCOMPARE(CharacterFixture::ReadFile(QDir(target).filePath(marker)), QByteArray("folder content"));
    } else if (fault != Fault::DirectoryRemoved) {
        QCOMPARE(CharacterFixture::ReadFile(target), before);
        QCOMPARE(before.size(), qsizetype(CharacterFixture::DefaultLength));
    }
    QCOMPARE(Faults::EntriesIn(m_dir), entriesBefore);

    // The edits are still held, and the command works once the fault is gone.
    QCOMPARE(DocumentImage(MainWindowAccess::Document(*m_dlg)), edited);
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsModified());
    if (readOnly)
        readOnly->Release();
    if (fault == Fault::DirectoryInPlace)
        QVERIFY(QDir(target).removeRecursively());
    if (fault == Fault::DirectoryRemoved)
        QVERIFY(QDir().mkpath(m_dir));
    m_prompts->Reset();
    if (command == Command::Save)
        MainWindowAccess::Command(*m_dlg, ID_FILE_SAVE);
    else
        MainWindowAccess::Command(*m_dlg, ID_FILE_BACKUP);
    QCOMPARE(m_prompts->Summaries(), QStringList());
    QCOMPARE(CharacterFixture::ReadFile(target), edited);
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsModified());
}

QTEST_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
