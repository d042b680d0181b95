// The document and its files: loading with the stat-block expansion, saving,
// the backup beside the character file and what happens when a file fails.

#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include "Diablo2Doc.h"
#include "Layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QString kOutOfRange = QStringLiteral("offset out of range");
const QString kOpenFirst = QStringLiteral("Open a document first!");
const QString kFailedToOpen = QStringLiteral("Failed to open document.");
const QString kFailedToSave = QStringLiteral("Failed to save document.");

QString OptionalNames(unsigned mask)
{
    static const char *const names[] = {"AttributePoints", "SkillPoints", "Experience", "Gold",
                                        "GoldInStash"};
    QStringList parts;
    for (int k = 0; k < 5; ++k) {
        if (mask & (1u << k))
            parts.append(QString::fromLatin1(names[k]));
    }
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char('+'));
}

QStringList EntriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The file-error report of the framework: shown once, under the application's
// title, starting with the fallback text.
bool ReportedOnce(const ScriptedPrompts &prompts, const QString &fallback)
{
    return prompts.messages.size() == 1 && prompts.messages.first().text.startsWith(fallback)
           && prompts.messages.first().icon == MessageIcon::Exclamation;
}

#ifdef Q_OS_UNIX
// Lets writes of this process beyond `bytes` fail, as on a full disk. The limit
// binds the superuser too, which a permission does not.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};
#endif

} // namespace

class TestDocFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void expansionOfEveryAbsentCombination_data();
    void expansionOfEveryAbsentCombination();
    void emptyFileOpensEmpty();
    void filesShorterThanTheMaskThrow();
    void truncatedStatBlock_data();
    void truncatedStatBlock();
    void unreadableFiles_data();
    void unreadableFiles();
    void fileLargerThanFourGigabytesIsRefused();
    void openFileDropsThePreviousImage();

    void roundTripWritesTheExpandedForm();
    void savedEditsReachTheFile();

    void openWithDialog_data();
    void openWithDialog();

    void refusalsWriteNothing_data();
    void refusalsWriteNothing();

    void backupPath_data();
    void backupPath();
    void backupAndRestore_data();
    void backupAndRestore();
    void restoreWithoutBackupFile();

    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();

private:
    QString Path(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
};

void TestDocFiles::init()
{
    QVERIFY(m_dir.isValid());
    // Every test starts from an empty folder.
    for (const QString &entry : EntriesOf(m_dir.path())) {
        const QString path = Path(entry);
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

void TestDocFiles::expansionOfEveryAbsentCombination_data()
{
    QTest::addColumn<unsigned>("absent");
    for (unsigned mask = 0; mask < 32; ++mask)
        QTest::newRow(qPrintable(QStringLiteral("absent: ") + OptionalNames(mask))) << mask;
}

void TestDocFiles::expansionOfEveryAbsentCombination()
{
    QFETCH(unsigned, absent);
    ScriptedPrompts prompts;

    // Mask bits other than the five are kept clear here, so that mask bytes
    // left alone and mask bytes set to 0xFF tell apart.
    const CharacterFixture fixture = CharacterFixture().MaskBits(0x01, 0x02).Without(absent);
    const QByteArray file = fixture.Build();
    const quint32 shift = 4 * quint32(std::popcount(absent));
    QCOMPARE(quint32(file.size()), CharacterFixture::DefaultLength - shift);
    QVERIFY(CharacterFixture::WriteFile(Path("Hero.d2s"), file));

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!doc.IsModified());
    QCOMPARE(doc.GetSize(), quint32(file.size()) + shift);

    const QByteArray image = DocumentImage(doc);
    QCOMPARE(image.toHex(' '), fixture.Expanded().toHex(' '));

    // Up to the first optional value nothing moves, mask bytes aside.
    QCOMPARE(image.left(562), file.left(562));
    QCOMPARE(image.mid(564, 17), file.mid(564, 17));
    if (absent == 0) {
        QCOMPARE(image, file);
        QCOMPARE(doc.GetByte(Layout::StatPresenceMaskLow), quint8(0x31));
        QCOMPARE(doc.GetByte(Layout::StatPresenceMaskHigh), quint8(0xE2));
    } else {
        QCOMPARE(doc.GetByte(Layout::StatPresenceMaskLow), quint8(0xFF));
        QCOMPARE(doc.GetByte(Layout::StatPresenceMaskHigh), quint8(0xFF));
    }
    // Every value at its fixed offset: the fixture's, or 0 when left out.
    auto expect = [&](unsigned bit, quint32 given) { return (absent & bit) ? 0u : given; };
    using O = CharacterFixture::Optional;
    QCOMPARE(doc.GetUInt(Layout::StrengthFirst, Layout::StrengthLast), 15u);
    QCOMPARE(doc.GetUInt(Layout::VitalityFirst, Layout::VitalityLast), 10u);
    QCOMPARE(doc.GetUInt(Layout::AttributePointsToAddFirst, Layout::AttributePointsToAddLast),
             expect(O::AttributePoints, 5));
    QCOMPARE(doc.GetUInt(Layout::SkillPointsToAddFirst, Layout::SkillPointsToAddLast),
             expect(O::SkillPoints, 1));
    QCOMPARE(doc.GetUInt(Layout::HealthFirst, Layout::HealthLast), 300u);
    QCOMPARE(doc.GetUInt(Layout::MaxStaminaFirst, Layout::MaxStaminaLast), 700u);
    QCOMPARE(doc.GetUInt(Layout::StaminaFirst, Layout::StaminaLast), 650u);
    QCOMPARE(doc.GetUInt(Layout::StatLevel), 10u);
    QCOMPARE(doc.GetUInt(Layout::ExperienceFirst, Layout::ExperienceLast), expect(O::Experience, 57715));
    QCOMPARE(doc.GetUInt(Layout::GoldFirst, Layout::GoldLast), expect(O::Gold, 1234));
    QCOMPARE(doc.GetUInt(Layout::GoldInStashFirst, Layout::GoldInStashLast), expect(O::GoldInStash, 5678));
    // Everything after the stat block moved up by 4 bytes per value left out.
    QCOMPARE(image.mid(629).toHex(' '), file.mid(629 - int(shift)).toHex(' '));
    QCOMPARE(doc.GetUInt(Layout::SkillLevelFirst), 1u);
    QCOMPARE(doc.GetUInt(Layout::SkillLevelLast), 10u);
    QCOMPARE(doc.GetByte(699), CharacterFixture::FillByte(699));
}

void TestDocFiles::emptyFileOpensEmpty()
{
    ScriptedPrompts prompts;
    QVERIFY(CharacterFixture::WriteFile(Path("Empty.d2s"), QByteArray()));

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Empty.d2s")));
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetFileName(), Path("Empty.d2s"));
    QVERIFY(!doc.IsModified());
    QVERIFY(prompts.messages.isEmpty());
}

void TestDocFiles::filesShorterThanTheMaskThrow()
{
    // Any file of 1 to 563 bytes ends before the high mask byte.
    const QByteArray full = CharacterFixture().Build();
    for (int length = 1; length <= 563; ++length) {
        const QString path = Path(QStringLiteral("Short%1.d2s").arg(length));
        QVERIFY(CharacterFixture::WriteFile(path, full.left(length)));
        CDiablo2Doc doc;
        bool opened = false;
        const QString error = ThrownText([&] { opened = doc.OpenFile(path); });
        if (error != kOutOfRange)
            QFAIL(qPrintable(QStringLiteral("length %1 gave \"%2\"").arg(length).arg(error)));
        // The short image is held as read, under the name that was tried.
        QCOMPARE(doc.GetSize(), quint32(length));
        QCOMPARE(doc.GetFileName(), path);
        QFile::remove(path);
    }
}

void TestDocFiles::truncatedStatBlock_data()
{
    QTest::addColumn<unsigned>("absent");
    QTest::addColumn<int>("lengthFromRequired"); // file length - the length the load needs

    using O = CharacterFixture::Optional;
    const struct { unsigned absent; const char *name; } cases[] = {
        {O::Gold, "Gold left out"},
        {O::All, "all left out"},
        {O::AttributePoints, "AttributePoints left out"},
        {O::Experience | O::GoldInStash, "Experience and GoldInStash left out"},
    };
    for (const auto &c : cases) {
        QTest::newRow(qPrintable(QStringLiteral("%1, one byte short").arg(QLatin1String(c.name))))
            << c.absent << -1;
        QTest::newRow(qPrintable(QStringLiteral("%1, four bytes short").arg(QLatin1String(c.name))))
            << c.absent << -4;
        QTest::newRow(qPrintable(QStringLiteral("%1, just long enough").arg(QLatin1String(c.name))))
            << c.absent << 0;
    }
    QTest::newRow("nothing left out, 564 bytes: nothing to copy") << 0u << 0;
}

void TestDocFiles::truncatedStatBlock()
{
    QFETCH(unsigned, absent);
    QFETCH(int, lengthFromRequired);

    CharacterFixture fixture = CharacterFixture().Without(absent);
    const quint32 length = quint32(int(fixture.RequiredLength()) + lengthFromRequired);
    fixture.Length(length);
    const QByteArray file = fixture.Build();
    QCOMPARE(quint32(file.size()), length);
    QVERIFY(CharacterFixture::WriteFile(Path("Hero.d2s"), file));

    CDiablo2Doc doc;
    bool opened = false;
    const QString error = ThrownText([&] { opened = doc.OpenFile(Path("Hero.d2s")); });
    if (lengthFromRequired < 0) {
        QCOMPARE(error, kOutOfRange);
        // Nothing was copied: the image is the file as read, mask bytes included.
        QCOMPARE(DocumentImage(doc).toHex(' '), file.toHex(' '));
    } else {
        QCOMPARE(error, QString());
        QVERIFY(opened);
        QCOMPARE(DocumentImage(doc).toHex(' '), fixture.Expanded().toHex(' '));
        QCOMPARE(doc.GetSize(), length + fixture.Removed());
    }
}

void TestDocFiles::unreadableFiles_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("makeFolder");
    QTest::newRow("missing file") << QStringLiteral("Missing.d2s") << false;
    QTest::newRow("a folder") << QStringLiteral("Folder.d2s") << true;
}

void TestDocFiles::unreadableFiles()
{
    QFETCH(QString, relative);
    QFETCH(bool, makeFolder);
    if (makeFolder)
        QVERIFY(QDir(m_dir.path()).mkdir(relative));
    ScriptedPrompts prompts;

    CDiablo2Doc doc;
    QVERIFY(!doc.OpenFile(Path(relative)));
    QVERIFY(ReportedOnce(prompts, kFailedToOpen));
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetFileName(), Path(relative));
}

void TestDocFiles::fileLargerThanFourGigabytesIsRefused()
{
    // A sparse file: its length is one past what 32-bit offsets can address.
    {
        QFile big(Path("Huge.d2s"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        if (!big.resize(qint64(1) << 32))
            QSKIP("this file system cannot hold a sparse 4 GiB file");
    }
    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    QVERIFY(!doc.OpenFile(Path("Huge.d2s")));
    QVERIFY(ReportedOnce(prompts, kFailedToOpen));
    QVERIFY(prompts.messages.first().text.contains(QStringLiteral("larger than 4294967295 bytes")));
    QVERIFY(doc.IsEmpty());
    QFile::remove(Path("Huge.d2s"));
}

void TestDocFiles::openFileDropsThePreviousImage()
{
    ScriptedPrompts prompts;
    QVERIFY(CharacterFixture().WriteTo(Path("Hero.d2s")));
    QVERIFY(CharacterFixture::WriteFile(Path("Empty.d2s"), QByteArray()));

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QVERIFY(doc.OpenFile(Path("Empty.d2s")));
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetFileName(), Path("Empty.d2s"));

    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QVERIFY(!doc.OpenFile(Path("Missing.d2s")));
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetFileName(), Path("Missing.d2s"));

    // Loading over a held image keeps the name just given.
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QCOMPARE(doc.GetFileName(), Path("Hero.d2s"));
    QCOMPARE(doc.GetSize(), CharacterFixture::DefaultLength);
}

void TestDocFiles::roundTripWritesTheExpandedForm()
{
    ScriptedPrompts prompts;
    using O = CharacterFixture::Optional;
    const CharacterFixture fixture = CharacterFixture().Without(O::Experience | O::Gold | O::GoldInStash);
    QVERIFY(fixture.WriteTo(Path("Hero.d2s")));

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    QVERIFY(doc.Save());
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!doc.IsModified());

    // The file grew by the 12 inserted bytes and holds the expanded form.
    const QByteArray saved = CharacterFixture::ReadFile(Path("Hero.d2s"));
    QCOMPARE(saved.size(), fixture.Build().size() + 12);
    QCOMPARE(saved.toHex(' '), fixture.Expanded().toHex(' '));
    QCOMPARE(EntriesOf(m_dir.path()), QStringList{QStringLiteral("Hero.d2s")});

    // Loading the saved file changes nothing more.
    CDiablo2Doc again;
    QVERIFY(again.OpenFile(Path("Hero.d2s")));
    QCOMPARE(DocumentImage(again), saved);
}

void TestDocFiles::savedEditsReachTheFile()
{
    ScriptedPrompts prompts;
    QVERIFY(CharacterFixture().WriteTo(Path("Hero.d2s")));
    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));
    doc.SetUInt(Layout::GoldFirst, Layout::GoldLast, 987654);
    doc.SetCharName(QStringLiteral("Zed"));
    QVERIFY(doc.IsModified());
    QVERIFY(doc.Save());
    QVERIFY(!doc.IsModified());

    const QByteArray expected = CharacterFixture().Gold(987654).Name("Zed").Build();
    QCOMPARE(CharacterFixture::ReadFile(Path("Hero.d2s")).toHex(' '), expected.toHex(' '));
}

void TestDocFiles::openWithDialog_data()
{
    QTest::addColumn<QString>("answer"); // relative path chosen; empty: cancel
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("reported");

    QTest::newRow("cancelled") << QString() << false << false;
    QTest::newRow("a character file") << QStringLiteral("Hero.d2s") << true << false;
    QTest::newRow("a name that does not exist") << QStringLiteral("Nobody.d2s") << false << true;
}

void TestDocFiles::openWithDialog()
{
    QFETCH(QString, answer);
    QFETCH(bool, result);
    QFETCH(bool, reported);

    const CharacterFixture hero = CharacterFixture().Name("Hero").WithoutGold();
    QVERIFY(hero.WriteTo(Path("Hero.d2s")));
    QVERIFY(CharacterFixture().Name("Before").WriteTo(Path("Before.d2s")));
    ScriptedPrompts prompts;

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Before.d2s")));
    prompts.QueueFile(answer.isEmpty() ? QString() : Path(answer));
    QCOMPARE(doc.OpenWithDialog(), result);

    QCOMPARE(prompts.fileQuestions, 1);
    QCOMPARE(prompts.lastDefaultExtension, QStringLiteral("d2s"));
    QCOMPARE(prompts.lastFilter, QStringLiteral("Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||"));
    QCOMPARE(reported, !prompts.messages.isEmpty());
    if (reported)
        QVERIFY(ReportedOnce(prompts, kFailedToOpen));

    // The document held before is gone in every case.
    QCOMPARE(doc.GetFileName(), answer.isEmpty() ? QString() : Path(answer));
    if (result) {
        QCOMPARE(DocumentImage(doc).toHex(' '), hero.Expanded().toHex(' '));
        QCOMPARE(doc.GetCharName(), QStringLiteral("Hero"));
        QVERIFY(!doc.IsModified());
    } else {
        QVERIFY(doc.IsEmpty());
    }
}

void TestDocFiles::refusalsWriteNothing_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<QString>("state");

    for (bool backup : {false, true}) {
        const char *op = backup ? "Backup" : "Save";
        QTest::newRow(qPrintable(QStringLiteral("%1, no file name").arg(QLatin1String(op))))
            << backup << QStringLiteral("no name");
        QTest::newRow(qPrintable(QStringLiteral("%1, after a failed load").arg(QLatin1String(op))))
            << backup << QStringLiteral("failed load");
        QTest::newRow(qPrintable(QStringLiteral("%1, after an empty file").arg(QLatin1String(op))))
            << backup << QStringLiteral("empty file");
        QTest::newRow(qPrintable(QStringLiteral("%1, after Clear").arg(QLatin1String(op))))
            << backup << QStringLiteral("cleared");
    }
}

void TestDocFiles::refusalsWriteNothing()
{
    QFETCH(bool, backup);
    QFETCH(QString, state);

    // An earlier backup and the character file exist; neither may change.
    const QByteArray oldBackup = CharacterFixture().Name("OldBackup").Build();
    QVERIFY(CharacterFixture::WriteFile(Path("Hero.bak"), oldBackup));
    QVERIFY(CharacterFixture::WriteFile(Path("Empty.bak"), oldBackup));
    QVERIFY(CharacterFixture::WriteFile(Path("Empty.d2s"), QByteArray()));
    const QStringList before = EntriesOf(m_dir.path());

    ScriptedPrompts prompts;
    std::unique_ptr<CDiablo2Doc> subject;
    if (state == QLatin1String("no name")) {
        subject = std::make_unique<FixtureDoc>(CharacterFixture().Build());
    } else {
        subject = std::make_unique<CDiablo2Doc>();
        if (state == QLatin1String("failed load")) {
            QVERIFY(!subject->OpenFile(Path("Hero.d2s"))); // there is no Hero.d2s
        } else if (state == QLatin1String("empty file")) {
            QVERIFY(subject->OpenFile(Path("Empty.d2s")));
        } else {
            QVERIFY(CharacterFixture().WriteTo(Path("Loaded.d2s")));
            QVERIFY(subject->OpenFile(Path("Loaded.d2s")));
            subject->Clear();
            QFile::remove(Path("Loaded.d2s"));
        }
    }
    prompts.Reset();

    QVERIFY(!(backup ? subject->Backup() : subject->Save()));
    QCOMPARE(prompts.messages.size(), 1);
    const ScriptedPrompts::Message &m = prompts.messages.first();
    QCOMPARE(m.text, kOpenFirst);
    QCOMPARE(m.caption, backup ? QStringLiteral("Backup Document") : QStringLiteral("Save Document"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(m.owner, nullptr);

    QCOMPARE(EntriesOf(m_dir.path()), before);
    QCOMPARE(CharacterFixture::ReadFile(Path("Hero.bak")), oldBackup);
    QCOMPARE(CharacterFixture::ReadFile(Path("Empty.bak")), oldBackup);
    QCOMPARE(CharacterFixture::ReadFile(Path("Empty.d2s")), QByteArray());
}

void TestDocFiles::backupPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("backup");

    QTest::newRow("extension replaced") << QStringLiteral("/games/save/Hero.d2s")
                                        << QStringLiteral("/games/save/Hero.bak");
    QTest::newRow("only the last extension") << QStringLiteral("/games/save/Hero.old.d2s")
                                             << QStringLiteral("/games/save/Hero.old.bak");
    QTest::newRow("dotted folder, no extension") << QStringLiteral("/games/save.v1/Hero")
                                                 << QStringLiteral("/games/save.v1/Hero.bak");
    QTest::newRow("dotted folder with extension") << QStringLiteral("/games/save.v1/Hero.d2s")
                                                  << QStringLiteral("/games/save.v1/Hero.bak");
    QTest::newRow("dotted folders all the way") << QStringLiteral("/a.b/c.d/Hero")
                                                << QStringLiteral("/a.b/c.d/Hero.bak");
    QTest::newRow("bare name") << QStringLiteral("Hero") << QStringLiteral("Hero.bak");
    QTest::newRow("relative with folder") << QStringLiteral("save.v1/Hero")
                                          << QStringLiteral("save.v1/Hero.bak");
    QTest::newRow("name ending in a dot") << QStringLiteral("/games/Hero.") << QStringLiteral("/games/Hero.bak");
    QTest::newRow("backslash path") << QStringLiteral("C:\\Games\\save\\Hero.d2s")
                                    << QStringLiteral("C:\\Games\\save\\Hero.bak");
#ifdef Q_OS_WIN
    QTest::newRow("backslash, dotted folder") << QStringLiteral("C:\\Games\\save.v1\\Hero")
                                              << QStringLiteral("C:\\Games\\save.v1\\Hero.bak");
#endif
    const QString deep = QStringLiteral("/games/") + QString(300, QLatin1Char('x')) + QStringLiteral(".v2/");
    QTest::newRow("long path is not cut") << deep + QStringLiteral("Hero.d2s") << deep + QStringLiteral("Hero.bak");
}

void TestDocFiles::backupPath()
{
    QFETCH(QString, path);
    QFETCH(QString, backup);
    QCOMPARE(CDiablo2Doc::BackupPathOf(path), backup);
}

void TestDocFiles::backupAndRestore_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("backupFile");

    QTest::newRow("plain") << QStringLiteral("save/Hero.d2s") << QStringLiteral("save/Hero.bak");
    QTest::newRow("dotted folder") << QStringLiteral("save.v1/Hero.d2s") << QStringLiteral("save.v1/Hero.bak");
    QTest::newRow("no extension in a dotted folder") << QStringLiteral("save.v1/Hero")
                                                     << QStringLiteral("save.v1/Hero.bak");
    QTest::newRow("two extensions") << QStringLiteral("save/Hero.old.d2s") << QStringLiteral("save/Hero.old.bak");
}

void TestDocFiles::backupAndRestore()
{
    QFETCH(QString, character);
    QFETCH(QString, backupFile);
    ScriptedPrompts prompts;

    QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(character).path()));
    const CharacterFixture fixture = CharacterFixture().Name("Hero").Gold(100).WithoutSkillPoints();
    QVERIFY(fixture.WriteTo(Path(character)));
    const QByteArray onDisk = fixture.Build();

    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path(character)));
    doc.SetUInt(Layout::GoldFirst, Layout::GoldLast, 200);
    QVERIFY(doc.Backup());
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!doc.IsModified());
    QCOMPARE(doc.GetFileName(), Path(character));

    // The backup is the image in memory, beside the character file, which is untouched.
    const QByteArray backedUp = DocumentImage(doc);
    QCOMPARE(CharacterFixture::ReadFile(Path(backupFile)), backedUp);
    QCOMPARE(CharacterFixture::ReadFile(Path(character)), onDisk);
    QCOMPARE(EntriesOf(QFileInfo(Path(character)).path()).size(), 2);

    // Later edits are dropped by the restore, and the character file stays the file.
    doc.SetUInt(Layout::GoldFirst, Layout::GoldLast, 300);
    QVERIFY(doc.OpenBackup(Path(character)));
    QCOMPARE(DocumentImage(doc), backedUp);
    QCOMPARE(doc.GetUInt(Layout::GoldFirst, Layout::GoldLast), 200u);
    QCOMPARE(doc.GetFileName(), Path(character));
    QVERIFY(!doc.IsModified());

    QVERIFY(doc.Save());
    QCOMPARE(CharacterFixture::ReadFile(Path(character)), backedUp);
    QCOMPARE(CharacterFixture::ReadFile(Path(backupFile)), backedUp);
}

void TestDocFiles::restoreWithoutBackupFile()
{
    ScriptedPrompts prompts;
    QVERIFY(CharacterFixture().WriteTo(Path("Hero.d2s")));
    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(Path("Hero.d2s")));

    QVERIFY(!doc.OpenBackup(Path("Hero.d2s")));
    QVERIFY(ReportedOnce(prompts, kFailedToOpen));
    QVERIFY(prompts.messages.first().text.contains(QStringLiteral("Hero.bak")));
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetFileName(), Path("Hero.d2s"));
}

void TestDocFiles::failedWriteLeavesTheOldFile_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<QString>("failure");

    for (bool backup : {false, true}) {
        const char *op = backup ? "Backup" : "Save";
        QTest::newRow(qPrintable(QStringLiteral("%1, a folder in the file's place").arg(QLatin1String(op))))
            << backup << QStringLiteral("folder");
        QTest::newRow(qPrintable(QStringLiteral("%1, the parent is a file").arg(QLatin1String(op))))
            << backup << QStringLiteral("parent file");
        QTest::newRow(qPrintable(QStringLiteral("%1, the write is cut short").arg(QLatin1String(op))))
            << backup << QStringLiteral("cut short");
    }
}

void TestDocFiles::failedWriteLeavesTheOldFile()
{
    QFETCH(bool, backup);
    QFETCH(QString, failure);

    const QByteArray original = CharacterFixture().Name("Original").Build();
    const QByteArray edited = CharacterFixture().Name("Edited").Gold(4242).Build();
    const QString target = backup ? QStringLiteral("Hero.bak") : QStringLiteral("Hero.d2s");

    QString characterPath = Path("Hero.d2s");
    QString watched; // the file or folder that must come through as it was
    if (failure == QLatin1String("folder")) {
        QVERIFY(QDir(m_dir.path()).mkpath(target + QStringLiteral("/inside")));
        watched = Path(target + QStringLiteral("/inside"));
    } else if (failure == QLatin1String("parent file")) {
        QVERIFY(CharacterFixture::WriteFile(Path("Games"), original));
        characterPath = Path("Games/Hero.d2s");
        watched = Path("Games");
    } else {
        QVERIFY(CharacterFixture::WriteFile(Path(target), original));
        watched = Path(target);
    }
    const QStringList before = EntriesOf(m_dir.path());

    FixtureDoc doc(edited, characterPath);
    doc.SetByte(0, edited[0]);
    ScriptedPrompts prompts;

    bool result = true;
    if (failure == QLatin1String("cut short")) {
#ifdef Q_OS_UNIX
        FileSizeLimit limit(100);
        if (!limit.ok())
            QSKIP("the file size limit cannot be set");
        result = backup ? doc.Backup() : doc.Save();
#else
        QSKIP("needs a file size limit");
#endif
    } else {
        result = backup ? doc.Backup() : doc.Save();
    }

    QVERIFY(!result);
    QVERIFY(ReportedOnce(prompts, kFailedToSave));
    QVERIFY(doc.IsModified());
    QCOMPARE(DocumentImage(doc), edited);
    // No temporary file is left behind and the old file is whole.
    QCOMPARE(EntriesOf(m_dir.path()), before);
    if (QFileInfo(watched).isDir())
        QVERIFY(EntriesOf(watched).isEmpty());
    else
        QCOMPARE(CharacterFixture::ReadFile(watched).toHex(' '), original.toHex(' '));
}

QTEST_GUILESS_MAIN(TestDocFiles)
#include "tst_docfiles.moc"
