// The game's constant tables: names exactly as shown (misspellings included)
// and the offsets at which quests, acts and waypoints live in the file.

#include "support/CharacterFixture.h"

#include "FieldRules.h"
#include "GameData.h"

#include <QTest>

class TestGameData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listNames_data();
    void listNames();
    void levelExperience_data();
    void levelExperience();
    void levelExperienceRisesFromZero();
    void skillNames_data();
    void skillNames();
    void quests_data();
    void quests();
    void actOffsets_data();
    void actOffsets();
    void waypoints_data();
    void waypoints();
    void countsOfAct_data();
    void countsOfAct();
};

void TestGameData::listNames_data()
{
    QTest::addColumn<QStringList>("actual");
    QTest::addColumn<QStringList>("expected");

    auto list = [](const char *const *names, int n) {
        QStringList out;
        for (int k = 0; k < n; ++k)
            out.append(QString::fromLatin1(names[k]));
        return out;
    };
    QTest::newRow("classes") << list(g_strClassNames, ClassCount)
                             << QStringList{"Amazon", "Sorceress", "Necromancer", "Paladin", "Barbarian"};
    QTest::newRow("difficulties") << list(g_strDifficultyNames, DifficultyCount)
                                  << QStringList{"Normal", "Nightmare", "Hell"};
    QTest::newRow("acts") << list(g_strActNames, ActCount) << QStringList{"Act1", "Act2", "Act3", "Act4"};
    QTest::newRow("quest states") << list(g_strQuestStateNames, QuestStateCount)
                                  << QStringList{"Not Started", "Started", "Reward", "Done"};
}

void TestGameData::listNames()
{
    QFETCH(QStringList, actual);
    QFETCH(QStringList, expected);
    QCOMPARE(actual, expected);
}

void TestGameData::levelExperience_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<quint32>("experience");

    QTest::newRow("level 1") << 0 << 0u;
    QTest::newRow("level 2") << 1 << 500u;
    QTest::newRow("level 5") << 4 << 7875u;
    QTest::newRow("level 10") << 9 << 57715u;
    QTest::newRow("level 11") << 10 << 72144u;
    QTest::newRow("level 30") << 29 << 4663553u;
    QTest::newRow("level 50") << 49 << 47116709u;
    QTest::newRow("level 51") << 50 << 51767302u;
    QTest::newRow("level 85") << 84 << 1050299747u;
    QTest::newRow("level 99") << 98 << 3520485254u;
    QTest::newRow("upper bound of level 99") << 99 << 3837739017u;
}

void TestGameData::levelExperience()
{
    QFETCH(int, entry);
    QFETCH(quint32, experience);
    QCOMPARE(LevelExperienceTable[entry], experience);
}

void TestGameData::levelExperienceRisesFromZero()
{
    QCOMPARE(int(std::size(LevelExperienceTable)), 100);
    QCOMPARE(LevelExperienceTable[0], 0u);
    for (int k = 1; k < 100; ++k) {
        if (LevelExperienceTable[k] <= LevelExperienceTable[k - 1])
            QFAIL(qPrintable(QStringLiteral("entry %1 does not rise").arg(k)));
    }
}

void TestGameData::skillNames_data()
{
    QTest::addColumn<int>("charClass");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");

    const struct { int c, i; const char *name; } rows[] = {
        {0, 0, "Magic Arrow"}, {0, 9, "Poison Javalin"}, {0, 11, "Slow Missles"}, {0, 13, "Imaple"},
        {0, 19, "Plague Javelin"}, {0, 29, "Lightning Fury"},
        {1, 0, "Fire Bolt"}, {1, 7, "Telekenesis"}, {1, 21, "Thunder Strom"}, {1, 29, "Cold Mastery"},
        {2, 0, "Amplify Damage"}, {2, 8, "Corpe Explosion"}, {2, 22, "Bone Prision"}, {2, 29, "Revive"},
        {3, 0, "Sacrifice"}, {3, 15, "Vengence"}, {3, 28, "Redemtion"}, {3, 29, "Salvation"},
        {4, 0, "Bash"}, {4, 9, "Throwiing Mastery"}, {4, 24, "Grim Wand"}, {4, 26, "Bersek"},
        {4, 29, "Battle Command"},
    };
    for (const auto &r : rows) {
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(g_strClassNames[r.c])).arg(r.i)))
            << r.c << r.i << QString::fromLatin1(r.name);
    }
}

void TestGameData::skillNames()
{
    QFETCH(int, charClass);
    QFETCH(int, position);
    QFETCH(QString, name);
    QCOMPARE(QString::fromLatin1(SkillNames[charClass * 30 + position]), name);
}

void TestGameData::quests_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<quint32>>("offsets"); // Normal, Nightmare, Hell

    const struct { int act, pos; const char *name; quint32 normal, nightmare, hell; } rows[] = {
        {0, 0, "Den of Evil", 142, 238, 334},
        {0, 1, "Sister's Burial Grounds", 144, 240, 336},
        {0, 2, "The search for Cain", 148, 244, 340},
        {0, 3, "The Forgotten Tower", 150, 246, 342},
        {0, 4, "Tools of the trade", 146, 242, 338},
        {0, 5, "Sister to the Slaughter", 152, 248, 344},
        {1, 0, "Radament's Lair", 158, 254, 350},
        {1, 1, "The Horadric Staff", 160, 256, 352},
        {1, 2, "Tainted Sun", 162, 258, 354},
        {1, 3, "Arcane Sanctuary", 164, 260, 356},
        {1, 4, "The Summoner", 166, 262, 358},
        {1, 5, "The Seven Tombs", 168, 264, 360},
        {2, 0, "Lam Esen's Tomb", 174, 270, 366},
        {2, 1, "Blade of the Old Religion", 176, 272, 368},
        {2, 2, "Khalim's Will", 178, 274, 370},
        {2, 3, "The Golden Bird", 180, 276, 372},
        {2, 4, "The Blackened Temple", 182, 278, 374},
        {2, 5, "The Guardian", 184, 280, 376},
        {3, 0, "The Fallen Angel", 190, 286, 382},
        {3, 1, "Hell's Forge", 194, 290, 386},
        {3, 2, "Terror's End", 192, 288, 384},
        {3, 3, "", 0, 0, 0},
        {3, 4, "", 0, 0, 0},
        {3, 5, "", 0, 0, 0},
    };
    for (const auto &r : rows) {
        QTest::newRow(qPrintable(QStringLiteral("Act%1 %2").arg(r.act + 1).arg(r.pos)))
            << r.act << r.pos << QString::fromLatin1(r.name)
            << QList<quint32>{r.normal, r.nightmare, r.hell};
    }
}

void TestGameData::quests()
{
    QFETCH(int, act);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QList<quint32>, offsets);

    QCOMPARE(QString::fromLatin1(g_strQuestNames[act * QuestSlotsPerAct + position]), name);
    for (int d = 0; d < DifficultyCount; ++d)
        QCOMPARE(g_nQuestOffsets[d][act][position], offsets[d]);
}

void TestGameData::actOffsets_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<QList<quint32>>("offsets"); // Normal, Nightmare, Hell

    QTest::newRow("Act1 has no byte") << 0 << QList<quint32>{0, 0, 0};
    QTest::newRow("Act2") << 1 << QList<quint32>{154, 250, 346};
    QTest::newRow("Act3") << 2 << QList<quint32>{170, 266, 362};
    QTest::newRow("Act4") << 3 << QList<quint32>{186, 282, 378};
}

void TestGameData::actOffsets()
{
    QFETCH(int, act);
    QFETCH(QList<quint32>, offsets);
    for (int d = 0; d < DifficultyCount; ++d)
        QCOMPARE(g_nActOffsets[d][act], offsets[d]);
}

void TestGameData::waypoints_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("setByte");   // byte of the 4-byte set
    QTest::addColumn<int>("bitInByte");

    const char *const names[] = {
        "Rogue Encampment", "Cold Plains", "Stony Field", "Dark Wood", "Black Marsh",
        "Outer Cloister", "Jail", "Inner Cloister", "Catacombs",
        "Lut Gholein", "Sewers", "Dry Hills", "Halls of the Dead", "Far Oasis",
        "Lost City", "Pallace Cellar", "Arcane Sanctuary", "Canyon of the Magi",
        "Kurast Docks", "Spider Forest", "Great Marsh", "Flayer Jungle", "Lower Kurast",
        "Kurast Bazaar", "Upper Kurast", "Travincal", "Durance of Hate",
        "Pandemonium Fortress", "City of the Damned", "River of Flame",
    };
    // Waypoint n of the list above (bit n) lies in byte n / 8 of the set, bit n % 8.
    for (int n = 0; n < 30; ++n) {
        QTest::newRow(names[n]) << n / 9 << n % 9 << QString::fromLatin1(names[n]) << n / 8 << n % 8;
    }
    for (int pos = 3; pos < 9; ++pos)
        QTest::newRow(qPrintable(QStringLiteral("Act4 empty slot %1").arg(pos))) << 3 << pos << QString() << -1 << -1;
}

void TestGameData::waypoints()
{
    QFETCH(int, act);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(int, setByte);
    QFETCH(int, bitInByte);

    QCOMPARE(QString::fromLatin1(g_strWaypointNames[act * WaypointSlotsPerAct + position]), name);
    if (setByte < 0)
        return;

    // Switching the waypoint on in each difficulty sets exactly one bit of the
    // waypoint area 438..489, in that difficulty's set.
    const quint32 expectedSetOffsets[DifficultyCount] = {438, 462, 486};
    for (int d = 0; d < DifficultyCount; ++d) {
        QCOMPARE(g_nWaypointOffsets[d], expectedSetOffsets[d]);
        FixtureDoc doc(QByteArray(700, '\0'));
        const quint32 set = doc.GetUInt(g_nWaypointOffsets[d], g_nWaypointOffsets[d] + 3);
        doc.SetUInt(g_nWaypointOffsets[d], g_nWaypointOffsets[d] + 3, WithWaypoint(set, act, position, true));
        for (quint32 offset = 438; offset <= 489; ++offset) {
            const quint8 expected = offset == expectedSetOffsets[d] + quint32(setByte) ? quint8(1u << bitInByte) : 0;
            QCOMPARE(doc.GetByte(offset), expected);
        }
    }
}

void TestGameData::countsOfAct_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("quests");
    QTest::addColumn<int>("waypoints");

    QTest::newRow("Act1") << 0 << 6 << 9;
    QTest::newRow("Act2") << 1 << 6 << 9;
    QTest::newRow("Act3") << 2 << 6 << 9;
    QTest::newRow("Act4") << 3 << 3 << 3;
    QTest::newRow("no act") << -1 << 0 << 0;
    QTest::newRow("past the acts") << 4 << 0 << 0;
}

void TestGameData::countsOfAct()
{
    QFETCH(int, act);
    QFETCH(int, quests);
    QFETCH(int, waypoints);
    QCOMPARE(QuestCountOfAct(act), quests);
    QCOMPARE(WaypointCountOfAct(act), waypoints);
}

QTEST_GUILESS_MAIN(TestGameData)
#include "tst_gamedata.moc"
