// The character document: its checked byte access, its name field, search and
// compare, the load with its stat-block expansion and the save of the expanded
// form, the refusals that keep a file from being replaced by nothing, and the
// game's tables and field rules the panel shows.

#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include "Compare.h"
#include "Diablo2Doc.h"
#include "FieldRules.h"
#include "GameData.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every byte tells its own offset: 0x10, 0x11, ...
QByteArray Counting(int n = 16)
{
    QByteArray bytes;
    for (int k = 0; k < n; ++k)
        bytes.append(char(0x10 + k));
    return bytes;
}

QString Names(const char *const *names, int count)
{
    QStringList out;
    for (int k = 0; k < count; ++k)
        out.append(QString::fromLatin1(names[k]));
    return out.join(QLatin1Char('|'));
}

template <class T>
QString Numbers(const T *values, int count)
{
    QStringList out;
    for (int k = 0; k < count; ++k)
        out.append(QString::number(values[k]));
    return out.join(QLatin1Char(','));
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void access_data();
    void access();
    void charName();
    void findValue_data();
    void findValue();
    void findValueWhereItsBytesAreEverywhere();
    void findDifference_data();
    void findDifference();
    void loadExpandsAndSaveWritesTheExpandedForm_data();
    void loadExpandsAndSaveWritesTheExpandedForm();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void tablesAndRules_data();
    void tablesAndRules();
};

void TestDocument::access_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("value"); // written, or expected when read
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("image");

    const QByteArray same = Counting();
    const QString none;
    QTest::newRow("read one byte") << false << 3u << 3u << 0x13u << none << same;
    QTest::newRow("read four bytes, lowest first") << false << 12u << 15u << 0x1F1E1D1Cu << none << same;
    QTest::newRow("read past the end") << false << 15u << 16u << 0u << "offset out of range" << same;
    QTest::newRow("read backwards") << false << 5u << 4u << 0u << "negative delta offset" << same;
    QTest::newRow("read five bytes") << false << 0u << 4u << 0u << "an UINT can only hold 4 bytes of data" << same;
    QTest::newRow("write two bytes") << true << 1u << 2u << 0xBEEFu << none
                                     << QByteArray(same).replace(1, 2, QByteArray::fromHex("efbe"));
    QTest::newRow("write five bytes") << true << 0u << 4u << 1u << "an UINTerger can only hold 4 bytes of data" << same;
    QTest::newRow("write running off the end keeps what it wrote")
        << true << 14u << 17u << 0xAABBCCDDu << "offset out of range"
        << QByteArray(same).replace(14, 2, QByteArray::fromHex("ddcc"));
}

void TestDocument::access()
{
    QFETCH(bool, write);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(quint32, value);
    QFETCH(QString, error);
    QFETCH(QByteArray, image);
    FixtureDoc doc(Counting());
    quint32 read = 0;
    QCOMPARE(ThrownText([&] { write ? doc.SetUInt(first, last, value) : void(read = doc.GetUInt(first, last)); }), error);
    QCOMPARE(read, write || !error.isEmpty() ? 0u : value);
    QCOMPARE(doc.ImageCopy(), image);
    QCOMPARE(doc.IsModified(), image != Counting());
}

// A short name is zero-filled, past 15 characters is dropped, empty clears.
void TestDocument::charName()
{
    const QList<QPair<QString, QByteArray>> rows = {{"Conan", "Conan"}, {"Abcdefghijklmnopq", "Abcdefghijklmno"}, {"", ""}};
    for (const auto &[name, kept] : rows) {
        FixtureDoc doc(CharacterFixture().Name("LongerOldName").Expanded());
        doc.SetCharName(name);
        QCOMPARE(doc.GetCharName(), QString::fromLatin1(kept));
        QCOMPARE(doc.ImageCopy().mid(8, 15), kept.leftJustified(15, '\0'));
    }
}

void TestDocument::findValue_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::newRow("one byte from the beginning") << 0xFFFFFFFFu << 0x12u << true << 2u << 2u;
    QTest::newRow("two bytes") << 0xFFFFFFFFu << 0x1312u << true << 2u << 3u;
    QTest::newRow("four bytes at the very end") << 0xFFFFFFFFu << 0x1F1E1D1Cu << true << 12u << 15u;
    QTest::newRow("the search starts after first") << 2u << 0x12u << false << 3u << 4242u;
    QTest::newRow("absent") << 0xFFFFFFFFu << 0x1111u << false << 0u << 4242u;
    QTest::newRow("start past the end") << 20u << 0x10u << false << 21u << 4242u;
}

void TestDocument::findValue()
{
    QFETCH(quint32, start);
    QFETCH(quint32, value);
    QFETCH(bool, found);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    FixtureDoc doc(Counting());
    quint32 from = start, to = 4242;
    QCOMPARE(doc.FindValue(from, to, value), found);
    QCOMPARE(from, first);
    QCOMPARE(to, last);
}

// A value made of a byte that fills the whole image and one byte that stands
// once, at every offset in turn: the search must find it wherever the long
// runs of the common byte make it read byte by byte.
void TestDocument::findValueWhereItsBytesAreEverywhere()
{
    for (quint32 width = 2; width <= 4; ++width) {
        const quint32 value = 0x80808081u & (width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1);
        for (quint32 at = 0; at + width <= 3000; ++at) {
            QByteArray image(3000, char(0x80));
            image[at] = char(0x81);
            FixtureDoc doc(image);
            quint32 first = 0xFFFFFFFF, last = 0;
            QVERIFY2(doc.FindValue(first, last, value) && first == at && last == at + width - 1,
                     qPrintable(QStringLiteral("width %1 at %2: found %3").arg(width).arg(at).arg(first)));
        }
    }
}

void TestDocument::findDifference_data()
{
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("expected");
    const QByteArray big = Counting(10000), two = QByteArray(big).replace(5, 1, "x").replace(9000, 1, "y");
    QTest::newRow("first difference") << two << 0u << 5u;
    QTest::newRow("from a later start, past a block") << two << 6u << 9000u;
    QTest::newRow("bytes past the shorter image do not count") << big.left(100) << 0u << NoDifference;
    QTest::newRow("start past the end") << two << 20000u << NoDifference;
}

void TestDocument::findDifference()
{
    QFETCH(QByteArray, other);
    QFETCH(quint32, start);
    QFETCH(quint32, expected);
    QCOMPARE(FindDifference(FixtureDoc(Counting(10000)), FixtureDoc(other), start), expected);
}

void TestDocument::loadExpandsAndSaveWritesTheExpandedForm_data()
{
    QTest::addColumn<unsigned>("without");
    QTest::addColumn<int>("length"); // of the file; -1: the fixture's own
    QTest::addColumn<QString>("thrown");
    using O = CharacterFixture::Optional;
    QTest::newRow("every value present: unchanged") << 0u << -1 << QString();
    QTest::newRow("no experience, gold, stash: 12 bytes longer") << (O::Experience | O::Gold | O::GoldInStash) << -1 << QString();
    QTest::newRow("no points to add: 8 bytes longer") << (O::AttributePoints | O::SkillPoints) << -1 << QString();
    QTest::newRow("empty file: opens empty") << 0u << 0 << QString();
    QTest::newRow("563 bytes: no stat mask") << 0u << 563 << QStringLiteral("offset out of range");
    QTest::newRow("609 bytes lacking every value: just long enough") << O::All << 609 << QString();
    QTest::newRow("608 bytes lacking every value: cannot expand") << O::All << 608 << QStringLiteral("offset out of range");
}

void TestDocument::loadExpandsAndSaveWritesTheExpandedForm()
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
    QVERIFY(opened && !doc.IsModified());
    const QByteArray expected = length == 0 ? QByteArray() : fixture.Expanded();
    QCOMPARE(DocumentImage(doc), expected);
    QCOMPARE(doc.Save(), length != 0);
    QCOMPARE(CharacterFixture::ReadFile(path), expected);
}

void TestDocument::refusalsWriteNothing_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<bool>("afterFailedLoad");
    QTest::newRow("Save with no file") << false << false;
    QTest::newRow("Backup with no file") << true << false;
    QTest::newRow("Save after a failed load") << false << true;
    QTest::newRow("Backup after a failed load") << true << true;
}

void TestDocument::refusalsWriteNothing()
{
    QFETCH(bool, backup);
    QFETCH(bool, afterFailedLoad);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("Hero.bak")), "old backup"));
    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    if (afterFailedLoad) // the file is gone: the name stays, the image does not
        QVERIFY(!doc.OpenFile(path));
    prompts.Reset();
    QVERIFY(!(backup ? doc.Backup() : doc.Save()));
    QCOMPARE(prompts.Summaries(), QStringList{backup ? "Backup Document|Open a document first!" : "Save Document|Open a document first!"});
    QVERIFY(!QFile::exists(path));
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath(QStringLiteral("Hero.bak"))), QByteArray("old backup"));
}

// The game's tables at a few anchor rows a player can check in the game (the
// misspellings players know from this editor kept), a digest of every table
// so that any other change shows, and what the panel derives from them.
void TestDocument::tablesAndRules_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("classes, difficulties, acts, quest states")
        << Names(g_strClassNames, ClassCount) + ' ' + Names(g_strDifficultyNames, 3) + ' ' + Names(g_strActNames, 4) + ' '
               + Names(g_strQuestStateNames, 4)
        << "Amazon|Sorceress|Necromancer|Paladin|Barbarian Normal|Nightmare|Hell Act1|Act2|Act3|Act4 "
           "Not Started|Started|Reward|Done";
    QTest::newRow("experience of levels 1, 2, 10, 99 and the bound of 99")
        << Numbers(LevelExperienceTable, 2) + ',' + QString::number(LevelExperienceTable[9]) + ','
               + Numbers(LevelExperienceTable + 98, 2)
        << "0,500,57715,3520485254,3837739017";
    QTest::newRow("a skill of the first and last class, spellings kept; a quest; a waypoint; the first act byte")
        << QStringList{SkillNames[0], SkillNames[51], SkillNames[149], g_strQuestNames[4], g_strWaypointNames[15]}.join('|')
               + ' ' + Numbers(&g_nQuestOffsets[2][3][0], 3) + ' ' + Numbers(&g_nActOffsets[0][1], 1)
        << "Magic Arrow|Thunder Strom|Battle Command|Tools of the trade|Pallace Cellar 382,386,384 154";
    // Taken from tables checked entry by entry against the game: a change of
    // any entry must come with a new digest, on purpose.
    QTest::newRow("digest of every table")
        << QString::fromLatin1(QCryptographicHash::hash(
                                   (Names(SkillNames, ClassCount * 30) + Names(g_strQuestNames, 24)
                                    + Names(g_strWaypointNames, 36) + Numbers(LevelExperienceTable, 100)
                                    + Numbers(&g_nQuestOffsets[0][0][0], 72) + Numbers(&g_nActOffsets[0][0], 12)
                                    + Numbers(g_nWaypointOffsets, 3)).toLatin1(),
                                   QCryptographicHash::Sha256).toHex().left(16))
        << "e74427ac8174d99e";
    QTest::newRow("quests and waypoints of acts -1, 1, 4 and 5")
        << Numbers(QList<int>{QuestCountOfAct(-1), QuestCountOfAct(0), QuestCountOfAct(3), QuestCountOfAct(4),
                              WaypointCountOfAct(-1), WaypointCountOfAct(0), WaypointCountOfAct(3), WaypointCountOfAct(4)}.constData(), 8)
        << "0,6,3,0,0,9,3,0";
    QTest::newRow("level index of experience 0, 499, 500, 57715, level 99's and the most")
        << Numbers(QList<int>{LevelIndexFromExperience(0), LevelIndexFromExperience(499), LevelIndexFromExperience(500),
                              LevelIndexFromExperience(57715), LevelIndexFromExperience(3520485254u),
                              LevelIndexFromExperience(0xFFFFFFFFu)}.constData(), 6)
        << "0,0,1,9,98,98";
    QTest::newRow("waypoint set: Rogue Encampment, the last of act 4, past the set, cleared")
        << Numbers(QList<quint32>{WithWaypoint(0, 0, 0, true), WithWaypoint(0, 3, 2, true), WithWaypoint(0, 3, 5, true),
                                  WithWaypoint(AllWaypointsSet, 0, 0, false)}.constData(), 4)
        << "1,536870912,0,1073741822";
}

void TestDocument::tablesAndRules()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
