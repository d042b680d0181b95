// The document and its files: the load with its stat-block expansion, the
// save of the expanded form, and the refusals that keep a file from being
// replaced by nothing.

#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include "Diablo2Doc.h"

#include <QTemporaryDir>
#include <QTest>

class TestDocFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadExpandsAndSaveWritesTheExpandedForm_data();
    void loadExpandsAndSaveWritesTheExpandedForm();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
};

void TestDocFiles::loadExpandsAndSaveWritesTheExpandedForm_data()
{
    QTest::addColumn<unsigned>("without");
    QTest::addColumn<int>("length"); // of the file; -1: the fixture's own
    QTest::addColumn<QString>("thrown");
    using O = CharacterFixture::Optional;
    QTest::newRow("every value present: unchanged") << 0u << -1 << QString();
    QTest::newRow("no experience, gold, stash: 12 bytes longer") << (O::Experience | O::Gold | O::GoldInStash) << -1 << QString();
    QTest::newRow("no optional value at all") << O::All << -1 << QString();
    QTest::newRow("empty file: opens empty") << 0u << 0 << QString();
    QTest::newRow("563 bytes: no stat mask") << 0u << 563 << QStringLiteral("offset out of range");
    QTest::newRow("600 bytes lacking values: cannot expand") << O::All << 600 << QStringLiteral("offset out of range");
}

void TestDocFiles::loadExpandsAndSaveWritesTheExpandedForm()
{
    QFETCH(unsigned, without);
    QFETCH(int, length);
    QFETCH(QString, thrown);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    CharacterFixture fixture;
    fixture.Without(without);
    if (length >= 0)
        fixture.Length(quint32(length));
    QVERIFY(fixture.WriteTo(path));
    CDiablo2Doc doc;
    bool opened = false;
    QCOMPARE(ThrownText([&] { opened = doc.OpenFile(path); }), thrown);
    if (!thrown.isEmpty())
        return;
    QVERIFY(opened);
    QVERIFY(!doc.IsModified());
    const QByteArray expected = fixture.Build().isEmpty() ? QByteArray() : fixture.Expanded();
    QCOMPARE(DocumentImage(doc), expected);
    if (doc.IsEmpty())
        return;
    QVERIFY(doc.Save());
    QCOMPARE(CharacterFixture::ReadFile(path), expected);
}

void TestDocFiles::refusalsWriteNothing_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<bool>("afterFailedLoad");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Save with no file") << false << false << "Save Document";
    QTest::newRow("Backup with no file") << true << false << "Backup Document";
    QTest::newRow("Save after a failed load") << false << true << "Save Document";
    QTest::newRow("Backup after a failed load") << true << true << "Backup Document";
}

void TestDocFiles::refusalsWriteNothing()
{
    QFETCH(bool, backup);
    QFETCH(bool, afterFailedLoad);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("Hero.bak")), "old backup"));
    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    if (afterFailedLoad) // the file is gone: the name stays, the image does not
        QVERIFY(!doc.OpenFile(path));
    prompts.Reset();
    QVERIFY(!(backup ? doc.Backup() : doc.Save()));
    QCOMPARE(prompts.Summaries(), QStringList{caption + QStringLiteral("|Open a document first!")});
    QVERIFY(!QFile::exists(path));
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath(QStringLiteral("Hero.bak"))), QByteArray("old backup"));
}

QTEST_GUILESS_MAIN(TestDocFiles)
#include "tst_docfiles.moc"
