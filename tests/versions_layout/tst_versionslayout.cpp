// The file versions after 71 on real files written by the game, beneath the front ends: the
// reasons a file is refused, values a build refuses, the check after a build, the difficulties a
// later file counts open and the whole-character edits. What each file reads as and every edit of
// it, through the command line and the window, are in tests/contract.

#include "support/CharacterFixture.h"

#include "format/Build.h"
#include "format/Checksum.h"
#include "format/Parse.h"
#include "format/WholeCharacterEdits.h"

#include <QTest>

using namespace Format;

namespace {

constexpr auto Sample = &CharacterFixture::RealFile;

ParsedCharacter Opened(const QByteArray &image)
{
    const ParseResult result = Parse(image);
    if (!result.Opened())
        qFatal("not opened: %s", qPrintable(result.reason));
    return result.character;
}

QString Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

class TestVersionsLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<QString>("reason");

        const QByteArray v96 = Sample("v96_sorceress_level3.d2s");
        const QByteArray v105 = Sample("v105_barbarian_new.d2s");
        const QByteArray v87 = Sample("v87_barbarian_new.d2s");
        const auto patched = [](QByteArray image, int offset, const QByteArray &bytes) {
            return image.replace(offset, bytes.size(), bytes);
        };
        // Cut at length with the size field saying so, as a file the game wrote that short.
        const auto cut = [](const QByteArray &image, int length) {
            QByteArray shorter = image.left(length);
            WriteU32(shorter, SizeFieldOffset, quint32(length));
            return shorter;
        };
        const auto row = [](const char *name, const QByteArray &image, Refusal refusal, const char *reason) {
            QTest::newRow(name) << image << int(refusal) << QString::fromUtf8(reason);
        };
        row("version 106", patched(v105, 4, QByteArray::fromHex("6a")), Refusal::UnknownVersion,
            "file version 106 is not one this program knows (it knows 71, 87, 89, 92, 96, 97, 98, 99 and 105)");
        row("another signature", patched(v96, 0, "PK"), Refusal::NotACharacter,
            "the file does not begin with the signature of a character file (55 AA 55 AA)");
        row("seven bytes", v96.left(7), Refusal::NotACharacter, "the file has 7 bytes, too few for a character file");
        row("eight bytes", v96.left(8), Refusal::HeaderCutShort, "the file ends at byte 8, inside the 335-byte header of version 96");
        row("cut inside the header", v105.left(402), Refusal::HeaderCutShort,
            "the file ends at byte 402, inside the 403-byte header of version 105");
        row("no \"Woo!\"", patched(v96, 335, "Wool"), Refusal::SectionMissing,
            "the quests (\"Woo!\") are not at byte 335, where version 96 keeps them");
        row("no \"WS\"", patched(v105, 701, "SW"), Refusal::SectionMissing,
            "the waypoints (\"WS\") are not at byte 701, where version 105 keeps them");
        row("no \"gf\"", patched(v87, 560, "GF"), Refusal::SectionMissing,
            "the attributes (\"gf\") are not at byte 560, where version 87 keeps them");
        row("no \"if\"", patched(v96, 812, "IF"), Refusal::SectionMissing,
            "the skills (\"if\") do not follow the attributes at byte 812");
        row("no \"JM\"", patched(v96, 844, "jm"), Refusal::SectionMissing,
            "the items (\"JM\") do not follow the skills at byte 844");
        row("cut inside bit-packed attributes", cut(v96, 780), Refusal::AttributesCutShort,
            "the file ends inside its attributes, which begin at byte 765");
        row("cut inside plain attributes", v87.left(600), Refusal::AttributesCutShort,
            "the file ends inside its attributes, which begin at byte 560");
        ParsedCharacter rich = Opened(v96); // gold's 34 bits end its attributes on a byte boundary
        rich.stats[FieldId::Gold] = 1;
        row("cut where whole-byte attributes end", cut(Build(rich, v96).image, 816), Refusal::SectionMissing,
            "the skills (\"if\") do not follow the attributes at byte 816");
        row("cut three bytes short of its size field", v96.chopped(3), Refusal::SizeMismatch,
            "the file-size field says 913 bytes but the file has 910: the file is cut short or damaged");
        row("characters' block moved", patched(v105, 781, QByteArray::fromHex("0001")), Refusal::SectionMissing,
            "the characters' block (01 77 34 00) is not at byte 781, where version 105 keeps it");
        row("attribute id 16", patched(v96, 767, QByteArray::fromHex("10")), Refusal::AttributesDamaged,
            "the attributes hold id 16, which no character file stores");
    }

    void refusals()
    {
        QFETCH(QByteArray, image);
        QFETCH(int, refusal);
        QFETCH(QString, reason);
        const ParseResult result = Parse(image);
        QCOMPARE(result.reason, reason);
        QCOMPARE(int(result.refusal), refusal);
        QVERIFY(!Build(result.character, image).Built());
    }

    // Values the file cannot hold are refused by the build, whatever let them through: nothing is built.
    void buildRefusals()
    {
        const QList<std::tuple<const char *, FieldId, quint32, QByteArray, const char *>> rows{
            {"v96_sorceress_level3.d2s", FieldId::Strength, 1024, "test", "strength 1024 does not fit its field in version 96"},
            {"v97_amazon_new.d2s", FieldId::Strength, 20, "Amazonamazonamaz", "a name of 1 to 15 bytes is needed, not 16"},
            {"v99_barbarian_new.d2s", FieldId::Strength, 30, "", "a name of 1 to 47 bytes is needed, not 0"}};
        for (const auto &[file, stat, value, name, refusal] : rows) {
            const QByteArray image = Sample(file);
            ParsedCharacter c = Opened(image);
            c.stats[stat] = value;
            c.name = name;
            const BuildResult built = Build(c, image);
            QCOMPARE(built.refusal, QString::fromUtf8(refusal));
            QVERIFY(built.image.isEmpty());
        }
    }

    // The check after a build finds a byte changed outside the edited fields
    // and a field that reads back other than meant.
    void selfCheck()
    {
        const QByteArray original = Sample("v98_sorceress_level66.d2s");
        ParsedCharacter meant = Opened(original);
        meant.stats[FieldId::Gold] = 1000;
        const BuildResult built = Build(meant, original);
        QCOMPARE(built.refusal, QString());
        QCOMPARE(SelfCheck(meant, original, built.image), QStringList());

        QByteArray item = built.image;
        item[2000] = char(item[2000] ^ 0x40);
        WriteSizeAndChecksum(item);
        const QString itemByte = QStringLiteral("byte 2000 is %1, the file as opened had %2 there")
                                     .arg(Hex(item.mid(2000, 1)), Hex(original.mid(2000, 1)));
        QCOMPARE(SelfCheck(meant, original, item), QStringList{itemByte});

        QByteArray header = built.image;
        header[100] = char(0x7f); // a hotkey's byte
        WriteSizeAndChecksum(header);
        QCOMPARE(SelfCheck(meant, original, header),
                 QStringList{"byte 100 is 7f, the file as opened had ff there"});

        meant.stats[FieldId::Gold] = 1001;
        QCOMPARE(SelfCheck(meant, original, built.image), QStringList{"gold reads back 1000, not 1001"});
        meant.stats[FieldId::Gold] = 1000;
        QByteArray unsealed = built.image;
        unsealed[15] = char(unsealed[15] ^ 0x01);
        QCOMPARE(SelfCheck(meant, original, unsealed), QStringList{"the checksum does not match"});
    }

    // A stat is kept when the file stored it, also at 0, and added only when
    // it becomes non-zero; life keeps its fraction unless its whole part changes.
    void statPresenceAndFractions()
    {
        const QByteArray original = Sample("v96_sorceress_level3.d2s");
        ParsedCharacter c = Opened(original);
        c.stats[FieldId::Gold] = 0;
        SetWholeValue(c, FieldId::Health, 40);
        QCOMPARE(Hex(Build(c, original).image), Hex(original));

        c.stats[FieldId::Gold] = 5;
        c.stats[FieldId::Experience] = 0;
        SetWholeValue(c, FieldId::Health, 41);
        const ParsedCharacter got = Opened(Build(c, original).image);
        QVERIFY(got.stats.IsStored(int(FieldId::Gold)));
        QCOMPARE(got.stats[FieldId::Gold], 5u);
        QVERIFY(got.stats.IsStored(int(FieldId::Experience)));
        QCOMPARE(got.stats[FieldId::Experience], 0u);
        QCOMPARE(got.stats[FieldId::Health], 41u * 256);
    }

    // A later file counts the difficulties open by acts beaten: Nightmare opens at 4 (5 in the
    // expansion), Hell at 8 (10); one closed falls one short of its count, one open keeps it.
    void difficulties()
    {
        ParsedCharacter c = Opened(Sample("v99_barbarian_new.d2s"));
        const QList<std::tuple<bool, int, int, bool, int>> rows{// expansion, before, difficulty, open, after
            {false, 0, 1, true, 4}, {false, 2, 2, true, 8},  {false, 12, 2, false, 7}, {true, 0, 1, true, 5},
            {true, 15, 2, false, 9}, {true, 10, 1, false, 4}, {true, 7, 1, true, 7}};
        for (const auto &[expansion, before, difficulty, open, after] : rows) {
            c.expansion = expansion;
            c.progression = quint8(before);
            SetDifficultyOpen(c, difficulty, open);
            QCOMPARE(int(c.progression), after);
            QCOMPARE(IsDifficultyOpen(c, difficulty), open);
        }
    }

    void wholeCharacterEdits_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("progression");
        QTest::addColumn<int>("quests");       // Normal's record
        QTest::addColumn<QString>("waypoints"); // Normal's five bytes and the one after them, which no field claims
        QTest::addColumn<QString>("actFive");   // Normal's words 28 and 35, the believed act word and Siege

        QTest::newRow("87, classic: four acts") << "v87_barbarian_new.d2s" << 8 << 140 << "ff ff ff 3f 00 5a"
                                                << "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
        QTest::newRow("99, expansion: five acts") << "v99_barbarian_new.d2s" << 10 << 345 << "ff ff ff ff 7f 5a"
                                                  << "01 00 00 00 00 00 00 00 00 00 00 00 00 00 07 10";
    }

    // All Quests Done and every waypoint: the new file passes its check and
    // holds the act words, quest words and waypoint bits of the character's acts.
    void wholeCharacterEdits()
    {
        QFETCH(QString, file);
        QFETCH(int, progression);
        QFETCH(int, quests);
        QFETCH(QString, waypoints);
        QFETCH(QString, actFive);
        const QByteArray original = Sample(file).replace(quests + 303, 1, "Z");
        ParsedCharacter c = Opened(original);
        OpenAllDifficulties(c);
        OpenAllActs(c);
        for (int d = 0; d < Difficulties; ++d) {
            for (int act = 0; act < ActCountOf(c); ++act) {
                for (int position = 0; position < QuestCountOf(act); ++position)
                    SetQuestState(c, d, act, position, 3);
            }
        }
        ActivateAllWaypoints(c);
        c.skills.fill(20);
        const BuildResult built = Build(c, original);
        QCOMPARE(built.refusal, QString());
        const ParsedCharacter got = Opened(built.image);
        QCOMPARE(int(got.progression), progression);
        QCOMPARE(Hex(built.image.mid(quests + 2, 4)), QStringLiteral("07 10 07 10"));  // Den, Burial Grounds
        QCOMPARE(Hex(built.image.mid(quests + 192 + 46, 2)), QStringLiteral("01 00")); // Hell, word 23
        QCOMPARE(Hex(built.image.mid(quests + 56, 16)), actFive);
        QCOMPARE(Hex(built.image.mid(quests + 298, 6)), waypoints);
        QCOMPARE(int(got.skills[29]), 20);
    }
};

QTEST_GUILESS_MAIN(TestVersionsLayout)
#include "tst_versionslayout.moc"
