// The character document: bytes, name, search, compare, load and save, refusals, the game's tables.

#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include "document/BulkEdits.h"
#include "document/Character.h"
#include "document/Compare.h"
#include "document/Diablo2Doc.h"
#include "document/FieldRules.h"
#include "document/FileVersion.h"
#include "document/GameData.h"

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

template <class T>
QString List(const T *values, int count)
{
    QStringList out;
    for (int k = 0; k < count; ++k)
        out.append(QVariant(values[k]).toString());
    return out.join(std::is_pointer_v<T> ? '|' : ',');
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void access_data()
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

    void access()
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
    void charName()
    {
        const QList<QPair<QString, QByteArray>> rows = {{"Conan", "Conan"}, {"Abcdefghijklmnopq", "Abcdefghijklmno"}, {"", ""}};
        for (const auto &[name, kept] : rows) {
            FixtureDoc doc(CharacterFixture().Name("LongerOldName").Expanded());
            Character(doc).SetName(name);
            QCOMPARE(CharacterView(doc).Name(), QString::fromLatin1(kept));
            QCOMPARE(doc.ImageCopy().mid(8, 15), kept.leftJustified(15, '\0'));
        }
    }

    // A later version's character is read anew after each change of its image, by a byte or
    // whole (version 96: the class at 40, "gf" at 765); the view before a change reads the old one.
    void laterVersionReadAfterEveryChange()
    {
        const QByteArray original = CharacterFixture::ReadFile(qEnvironmentVariable("QUARVINEL_TEST_DATA") + "/v96_sorceress_level94.d2s");
        FixtureDoc doc(original);
        const CharacterView before(doc);
        doc.SetByte(40, 3);
        QVERIFY(before.ClassByte() == 1 && CharacterView(doc).ClassByte() == 3 && FileVersion::KindOf(doc) == FileVersion::Kind::Later);
        doc.SetByte(765, 0);
        QVERIFY(FileVersion::KindOf(doc) == FileVersion::Kind::Held);
        doc.ReplaceImage(original);
        QVERIFY(FileVersion::KindOf(doc) == FileVersion::Kind::Later && CharacterView(doc).ClassByte() == 1);
    }

    void findValue_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("result"); // found or not, then first and last (4242: untouched)
        QTest::newRow("one byte from the beginning") << 0xFFFFFFFFu << 0x12u << "found 2 2";
        QTest::newRow("two bytes") << 0xFFFFFFFFu << 0x1312u << "found 2 3";
        QTest::newRow("four bytes at the very end") << 0xFFFFFFFFu << 0x1F1E1D1Cu << "found 12 15";
        QTest::newRow("the search starts after first") << 2u << 0x12u << "absent 3 4242";
        QTest::newRow("absent") << 0xFFFFFFFFu << 0x1111u << "absent 0 4242";
        QTest::newRow("start past the end") << 20u << 0x10u << "absent 21 4242";
    }

    void findValue()
    {
        QFETCH(quint32, start);
        QFETCH(quint32, value);
        QFETCH(QString, result);
        quint32 to = 4242;
        const bool found = FixtureDoc(Counting()).FindValue(start, to, value);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(found ? "found" : "absent").arg(start).arg(to), result);
    }

    // One byte in an image full of another at every offset: found wherever the search reads byte by byte.
    // The widest value of each width is read as that many bytes.
    void findValueWhereItsBytesAreEverywhere()
    {
        for (quint32 width = 1, first = 0xFFFFFFFF, last = 0; width <= 3; ++width, first = 0xFFFFFFFF) {
            QVERIFY(FixtureDoc(QByteArray(2, '\0') + QByteArray(4, '\xFF')).FindValue(first, last, (1u << (8 * width)) - 1));
            QCOMPARE(QStringLiteral("%1..%2").arg(first).arg(last), QStringLiteral("2..%1").arg(1 + width));
        }
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

    // The first difference, from a later start past a block, none past the shorter image or the end.
    void findDifference()
    {
        const QByteArray big = Counting(10000), two = QByteArray(big).replace(5, 1, "x").replace(9000, 1, "y");
        const FixtureDoc edited(big);
        QCOMPARE(FindDifference(edited, FixtureDoc(two), 0), 5u);
        QCOMPARE(FindDifference(edited, FixtureDoc(two), 6), 9000u);
        QCOMPARE(FindDifference(edited, FixtureDoc(big.left(100)), 0), NoDifference);
        QCOMPARE(FindDifference(edited, FixtureDoc(two), 20000), NoDifference);
    }

    // Opening everything writes the difficulty flags, every act byte and waypoint set, and nothing else.
    void openAllWritesOnlyItsBytes()
    {
        FixtureDoc doc(CharacterFixture().Expanded());
        OpenAll(doc, OpenStep::Waypoints);
        CharacterFixture opened = CharacterFixture().DifficultyFlags(0x14);
        for (int difficulty = 0; difficulty < 3; ++difficulty)
            opened.ActByte(difficulty, 1, 1).ActByte(difficulty, 2, 1).ActByte(difficulty, 3, 1).WaypointSet(difficulty, 0x3FFFFFFF);
        QCOMPARE(doc.ImageCopy(), opened.Expanded());
    }

    void loadExpandsAndSaveWritesTheExpandedForm_data()
    {
        QTest::addColumn<unsigned>("without");
        QTest::addColumn<int>("length"); // of the file; -1: the fixture's own
        QTest::addColumn<QString>("thrown");
        using O = CharacterFixture::Optional;
        QTest::newRow("every value present: unchanged") << 0u << -1 << QString();
        QTest::newRow("empty file: opens empty") << 0u << 0 << QString();
        QTest::newRow("563 bytes: no stat mask") << 0u << 563 << QStringLiteral("offset out of range");
        QTest::newRow("609 bytes lacking every value: just long enough") << O::All << 609 << QString();
        QTest::newRow("608 bytes lacking every value: cannot expand") << O::All << 608 << QStringLiteral("offset out of range");
    }

    void loadExpandsAndSaveWritesTheExpandedForm()
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

    // Save and Backup with no file, or after a load that failed, tell and write nothing.
    void refusalsWriteNothing()
    {
        for (const auto &[backup, afterFailedLoad] : {std::pair(false, false), {true, false}, {false, true}, {true, true}}) {
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
    }

    // The game's tables at a few anchor rows a player can check in the game (misspellings players know
    // kept), a digest of every table so that any other change shows, and what the panel derives from them.
    void tablesAndRules_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("classes, difficulties, acts, quest states, skills of the first and last class, a quest, a waypoint")
            << List(g_strClassNames, kClassCount) + ' ' + List(g_strDifficultyNames, 3) + ' ' + List(g_strActNames, 4) + ' '
                   + List(g_strQuestStateNames, 4) + ' ' + List(SkillNames, 1) + '|' + List(SkillNames + 51, 1) + '|'
                   + List(SkillNames + 149, 1) + '|' + List(g_strQuestNames + 4, 1) + '|' + List(g_strWaypointNames + 15, 1)
            << "Amazon|Sorceress|Necromancer|Paladin|Barbarian Normal|Nightmare|Hell Act1|Act2|Act3|Act4 Not Started|Started|"
               "Reward|Done Magic Arrow|Thunder Strom|Battle Command|Tools of the trade|Pallace Cellar";
        // From tables checked entry by entry against the game: a change of any entry needs a new digest.
        QTest::newRow("digest of every table")
            << QString::fromLatin1(QCryptographicHash::hash(
                                       (List(SkillNames, kClassCount * 30) + List(g_strQuestNames, 24)
                                        + List(g_strWaypointNames, 36) + List(LevelExperienceTable, 100)).toLatin1(),
                                       QCryptographicHash::Sha256).toHex().left(16))
            << "1489eb2a6fc0140c";
        QTest::newRow("quests and waypoints of acts -1, 1, 4 and 5")
            << List(QList<int>{QuestCountOfAct(-1), QuestCountOfAct(0), QuestCountOfAct(3), QuestCountOfAct(4),
                                  WaypointCountOfAct(-1), WaypointCountOfAct(0), WaypointCountOfAct(3), WaypointCountOfAct(4)}.constData(), 8)
            << "0,6,3,0,0,9,3,0";
        QTest::newRow("level index of experience 0, 499, 500, 57715, level 99's and the most")
            << List(QList<int>{LevelIndexFromExperience(0), LevelIndexFromExperience(499), LevelIndexFromExperience(500),
                                  LevelIndexFromExperience(57715), LevelIndexFromExperience(3520485254u),
                                  LevelIndexFromExperience(0xFFFFFFFFu)}.constData(), 6)
            << "0,0,1,9,98,98";
        QTest::newRow("waypoint set: Rogue Encampment, the last of act 4, past the set, cleared")
            << List(QList<quint32>{WithWaypoint(0, 0, 0, true), WithWaypoint(0, 3, 2, true), WithWaypoint(0, 3, 5, true),
                                      WithWaypoint(kAllWaypointsSet, 0, 0, false)}.constData(), 4)
            << "1,536870912,0,1073741822";
    }

    void tablesAndRules()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
