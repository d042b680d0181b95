// Rename Character when the file system gets in the way part way through:
// every file of the character ends up under its old name or its new one, with
// its bytes, and nothing that stood in the way is touched.

#include "EditorInFolder.h"
#include "support/MainWindowAccess.h"
#include "FaultInjection.h"

#include "BrennicorDlg.h"
#include "Layout.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

enum class Blocker {
    MapNameIsFolder,       // a folder already has the map file's new name
    KeyNameIsFolder,       // a folder already has the key file's new name
    MapNameIsOtherFile,    // another character's map file has the new name
    CharacterNameIsLink,   // a dangling link has the character file's new name
    ReadOnlyFolder,        // the folder refuses every change
    NoSpace,               // no write fits (file size limit)
};

const QByteArray kMap("map of Hero");
const QByteArray kKey("key of Hero");
const QByteArray kOtherMap("map of another Conan");

} // namespace

Q_DECLARE_METATYPE(Blocker)

class TestRenameFaults : public QObject, protected EditorInFolder
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void noFileLost_data();
    void noFileLost();

};

void TestRenameFaults::init()
{
    QVERIFY(StartEditor());
}

void TestRenameFaults::cleanup()
{
    QVERIFY(FinishEditor());
}

void TestRenameFaults::noFileLost_data()
{
    QTest::addColumn<Blocker>("blocker");
    // Where each of the character's files must be afterwards.
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("key");
    // The captions of the messages shown, in order.
    QTest::addColumn<QStringList>("captions");

    const QString app = QStringLiteral("(application)");
    const QString rename = QStringLiteral("Rename Character");
    // A companion that cannot follow is named in a message after the save.
    QTest::newRow("map's new name taken by a folder")
        << Blocker::MapNameIsFolder << "Conan.d2s" << "Hero.map" << "Conan.key" << QStringList{rename};
    QTest::newRow("key's new name taken by a folder")
        << Blocker::KeyNameIsFolder << "Conan.d2s" << "Conan.map" << "Hero.key" << QStringList{rename};
    QTest::newRow("map's new name taken by another file")
        << Blocker::MapNameIsOtherFile << "Conan.d2s" << "Hero.map" << "Conan.key" << QStringList{rename};
    // A link under the new name, even one pointing nowhere, makes the name taken.
    QTest::newRow("character's new name taken by a dangling link")
        << Blocker::CharacterNameIsLink << "Hero.d2s" << "Hero.map" << "Hero.key" << QStringList{rename};
    QTest::newRow("read-only folder")
        << Blocker::ReadOnlyFolder << "Hero.d2s" << "Hero.map" << "Hero.key" << QStringList{app};
    QTest::newRow("no space left")
        << Blocker::NoSpace << "Hero.d2s" << "Hero.map" << "Hero.key" << QStringList{app};
}

void TestRenameFaults::noFileLost()
{
    QFETCH(Blocker, blocker);
    QFETCH(QString, character);
    QFETCH(QString, map);
    QFETCH(QString, key);
    QFETCH(QStringList, captions);

    QVERIFY(CharacterFixture().Name("Hero").Gold(1000).WriteTo(file(QStringLiteral("Hero.d2s"))));
    const QByteArray original = CharacterFixture::ReadFile(file(QStringLiteral("Hero.d2s")));
    QVERIFY(CharacterFixture::WriteFile(file(QStringLiteral("Hero.map")), kMap));
    QVERIFY(CharacterFixture::WriteFile(file(QStringLiteral("Hero.key")), kKey));
    m_dlg->OpenPath(file(QStringLiteral("Hero.d2s")));
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsEmpty());

    // What stands in the way, and what it holds.
    QStringList blockers;
    std::unique_ptr<Faults::ReadOnly> readOnly;
    std::unique_ptr<Faults::FileSizeLimit> sizeLimit;
    switch (blocker) {
    case Blocker::MapNameIsFolder:
    case Blocker::KeyNameIsFolder: {
        const QString folder = blocker == Blocker::MapNameIsFolder ? QStringLiteral("Conan.map") : QStringLiteral("Conan.key");
        QVERIFY(QDir(m_dir).mkdir(folder));
        QVERIFY(CharacterFixture::WriteFile(QDir(file(folder)).filePath(QStringLiteral("inside")), "kept"));
        blockers << folder;
        break;
    }
    case Blocker::MapNameIsOtherFile:
        QVERIFY(CharacterFixture::WriteFile(file(QStringLiteral("Conan.map")), kOtherMap));
        blockers << QStringLiteral("Conan.map");
        break;
    case Blocker::CharacterNameIsLink:
        QVERIFY(QFile::link(file(QStringLiteral("nowhere/Conan.d2s")), file(QStringLiteral("Conan.d2s"))));
        blockers << QStringLiteral("Conan.d2s");
        break;
    case Blocker::ReadOnlyFolder:
        readOnly = std::make_unique<Faults::ReadOnly>(m_dir);
        if (!readOnly->IsActive())
            QSKIP(qPrintable(readOnly->Reason()));
        break;
    case Blocker::NoSpace:
        break;
    }

    m_prompts->Reset();
    {
        if (blocker == Blocker::NoSpace) {
            sizeLimit = std::make_unique<Faults::FileSizeLimit>(100);
            QVERIFY(sizeLimit->IsActive());
        }
        MainWindowAccess::RenameCharacter(*m_dlg, QStringLiteral("Conan"));
        sizeLimit.reset();
    }
    if (readOnly)
        readOnly->Release();

    QStringList shownCaptions;
    for (const ScriptedPrompts::Message &m : m_prompts->messages)
        shownCaptions << (m.caption == AfxGetAppTitle() ? QStringLiteral("(application)") : m.caption);
    QCOMPARE(shownCaptions, captions);
    // The companion left behind is named.
    for (const QString &left : {map, key})
        if (character == QStringLiteral("Conan.d2s") && left.startsWith(QStringLiteral("Hero.")))
            QCOMPARE(m_prompts->Texts().last(), left + QStringLiteral(" could not be renamed and keeps its old name."));

    // Each file under exactly one of its names, with its bytes; the character
    // file, when it moved, also carries the new name inside.
    QStringList expected = blockers;
    expected << character << map << key;
    expected.sort();
    QCOMPARE(Faults::EntriesIn(m_dir), expected);
    const QByteArray characterBytes = CharacterFixture::ReadFile(file(character));
    if (character == QStringLiteral("Conan.d2s"))
        QCOMPARE(characterBytes, CharacterFixture().Name("Conan").Gold(1000).Build());
    else
        QCOMPARE(characterBytes, original);
    QCOMPARE(CharacterFixture::ReadFile(file(map)), kMap);
    QCOMPARE(CharacterFixture::ReadFile(file(key)), kKey);

    // What stood in the way is as it was.
    switch (blocker) {
    case Blocker::MapNameIsFolder:
        QCOMPARE(CharacterFixture::ReadFile(QDir(file(QStringLiteral("Conan.map"))).filePath(QStringLiteral("inside"))),
                 QByteArray("kept"));
        break;
    case Blocker::KeyNameIsFolder:
        QCOMPARE(CharacterFixture::ReadFile(QDir(file(QStringLiteral("Conan.key"))).filePath(QStringLiteral("inside"))),
                 QByteArray("kept"));
        break;
    case Blocker::MapNameIsOtherFile:
        QCOMPARE(CharacterFixture::ReadFile(file(QStringLiteral("Conan.map"))), kOtherMap);
        break;
    case Blocker::CharacterNameIsLink:
        QVERIFY(QFileInfo(file(QStringLiteral("Conan.d2s"))).isSymLink());
        break;
    case Blocker::ReadOnlyFolder:
    case Blocker::NoSpace:
        // The save before the move failed: the character stays open.
        QVERIFY(!MainWindowAccess::Document(*m_dlg).IsEmpty());
        QCOMPARE(MainWindowAccess::Document(*m_dlg).GetFileName(), file(QStringLiteral("Hero.d2s")));
        break;
    }
}

QTEST_MAIN(TestRenameFaults)
#include "tst_renamefaults.moc"
