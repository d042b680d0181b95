// How the small encoded fields are read and written: quest status words,
// waypoint bits, difficulty flags and the level an experience has reached.

#include "FieldRules.h"

#include <QTest>

class TestFieldRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questStateFromWord_data();
    void questStateFromWord();
    void questWordForState_data();
    void questWordForState();
    void waypointBits_data();
    void waypointBits();
    void difficultyFlags_data();
    void difficultyFlags();
    void levelIndexFromExperience_data();
    void levelIndexFromExperience();
};

void TestFieldRules::questStateFromWord_data()
{
    QTest::addColumn<quint8>("byte0");
    QTest::addColumn<quint8>("byte1");
    QTest::addColumn<int>("state");

    QTest::newRow("00 00 not started") << quint8(0x00) << quint8(0x00) << 0;
    QTest::newRow("08 00 not started") << quint8(0x08) << quint8(0x00) << 0;
    QTest::newRow("00 11 not started") << quint8(0x00) << quint8(0x11) << 0;
    QTest::newRow("04 00 started") << quint8(0x04) << quint8(0x00) << 1;
    QTest::newRow("02 00 reward") << quint8(0x02) << quint8(0x00) << 2;
    QTest::newRow("06 00 reward wins over started") << quint8(0x06) << quint8(0x00) << 2;
    QTest::newRow("01 00 done") << quint8(0x01) << quint8(0x00) << 3;
    QTest::newRow("05 00 done wins over started") << quint8(0x05) << quint8(0x00) << 3;
    QTest::newRow("07 10 done") << quint8(0x07) << quint8(0x10) << 3;
    QTest::newRow("00 10 done by byte 1") << quint8(0x00) << quint8(0x10) << 3;
    QTest::newRow("FE 10 done by byte 1") << quint8(0xFE) << quint8(0x10) << 3;
}

void TestFieldRules::questStateFromWord()
{
    QFETCH(quint8, byte0);
    QFETCH(quint8, byte1);
    QFETCH(int, state);
    QCOMPARE(QuestStateFromWord(byte0, byte1), state);
}

void TestFieldRules::questWordForState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<quint8>("byte0");
    QTest::addColumn<quint8>("byte1");

    QTest::newRow("Not Started") << 0 << quint8(0x00) << quint8(0x00);
    QTest::newRow("Started") << 1 << quint8(0x04) << quint8(0x00);
    QTest::newRow("Reward") << 2 << quint8(0x06) << quint8(0x00);
    QTest::newRow("Done") << 3 << quint8(0x07) << quint8(0x10);
    QTest::newRow("no selection") << -1 << quint8(0x00) << quint8(0x00);
    QTest::newRow("past the states") << 4 << quint8(0x00) << quint8(0x00);
}

void TestFieldRules::questWordForState()
{
    QFETCH(int, state);
    QFETCH(quint8, byte0);
    QFETCH(quint8, byte1);
    const QuestWord word = QuestWordForState(state);
    QCOMPARE(word.byte0, byte0);
    QCOMPARE(word.byte1, byte1);
    // A written state reads back as itself.
    if (state >= 0 && state <= 3)
        QCOMPARE(QuestStateFromWord(word.byte0, word.byte1), state);
}

void TestFieldRules::waypointBits_data()
{
    QTest::addColumn<quint32>("set");
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("bit");
    QTest::addColumn<bool>("active");
    QTest::addColumn<quint32>("switchedOn");
    QTest::addColumn<quint32>("switchedOff");

    QTest::newRow("Rogue Encampment in an empty set") << 0u << 0 << 0 << 0 << false << 0x1u << 0x0u;
    QTest::newRow("Catacombs") << 0u << 0 << 8 << 8 << false << 0x100u << 0x0u;
    QTest::newRow("Lut Gholein, already on") << 0x200u << 1 << 0 << 9 << true << 0x200u << 0x0u;
    QTest::newRow("Travincal among others") << 0x0000FFFFu << 2 << 7 << 25 << false << 0x0200FFFFu << 0x0000FFFFu;
    QTest::newRow("River of Flame in a full set") << 0x3FFFFFFFu << 3 << 2 << 29 << true << 0x3FFFFFFFu
                                                  << 0x1FFFFFFFu;
    QTest::newRow("bits 30 and 31 are kept") << 0xC0000000u << 0 << 3 << 3 << false << 0xC0000008u << 0xC0000000u;
}

void TestFieldRules::waypointBits()
{
    QFETCH(quint32, set);
    QFETCH(int, act);
    QFETCH(int, position);
    QFETCH(int, bit);
    QFETCH(bool, active);
    QFETCH(quint32, switchedOn);
    QFETCH(quint32, switchedOff);

    QCOMPARE(WaypointBit(act, position), bit);
    QCOMPARE(IsWaypointActive(set, act, position), active);
    QCOMPARE(WithWaypoint(set, act, position, true), switchedOn);
    QCOMPARE(WithWaypoint(set, act, position, false), switchedOff);
    QVERIFY(IsWaypointActive(switchedOn, act, position));
    QVERIFY(!IsWaypointActive(switchedOff, act, position));
    QCOMPARE(AllWaypointsSet & WithWaypoint(0, act, position, true), WithWaypoint(0, act, position, true));
}

void TestFieldRules::difficultyFlags_data()
{
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<bool>("open");
    QTest::addColumn<quint8>("opened");
    QTest::addColumn<quint8>("closed");

    QTest::newRow("Normal is always open") << quint8(0x00) << 0 << true << quint8(0x00) << quint8(0x00);
    QTest::newRow("Normal keeps the byte") << quint8(0xEB) << 0 << true << quint8(0xEB) << quint8(0xEB);
    QTest::newRow("Nightmare closed") << quint8(0x00) << 1 << false << quint8(0x04) << quint8(0x00);
    QTest::newRow("Nightmare open") << quint8(0x04) << 1 << true << quint8(0x04) << quint8(0x00);
    QTest::newRow("Nightmare, other bits kept") << quint8(0xFF) << 1 << true << quint8(0xFF) << quint8(0xFB);
    QTest::newRow("Hell closed") << quint8(0x04) << 2 << false << quint8(0x14) << quint8(0x04);
    QTest::newRow("Hell open") << quint8(0x10) << 2 << true << quint8(0x10) << quint8(0x00);
    QTest::newRow("Hell, other bits kept") << quint8(0xFF) << 2 << true << quint8(0xFF) << quint8(0xEF);
}

void TestFieldRules::difficultyFlags()
{
    QFETCH(quint8, flags);
    QFETCH(int, difficulty);
    QFETCH(bool, open);
    QFETCH(quint8, opened);
    QFETCH(quint8, closed);

    QCOMPARE(IsDifficultyOpen(flags, difficulty), open);
    QCOMPARE(WithDifficulty(flags, difficulty, true), opened);
    QCOMPARE(WithDifficulty(flags, difficulty, false), closed);
    QVERIFY(IsDifficultyOpen(AllDifficultiesOpen, difficulty));
}

void TestFieldRules::levelIndexFromExperience_data()
{
    QTest::addColumn<quint32>("experience");
    QTest::addColumn<int>("index");

    QTest::newRow("0 is level 1") << 0u << 0;
    QTest::newRow("499 is level 1") << 499u << 0;
    QTest::newRow("500 is level 2") << 500u << 1;
    QTest::newRow("600 is level 2") << 600u << 1;
    QTest::newRow("57715 is level 10") << 57715u << 9;
    QTest::newRow("just below level 99") << 3520485253u << 97;
    QTest::newRow("start of level 99") << 3520485254u << 98;
    QTest::newRow("upper bound of level 99") << 3837739017u << 98;
    QTest::newRow("4000000000 is level 99") << 4000000000u << 98;
    QTest::newRow("largest value") << 0xFFFFFFFFu << 98;
}

void TestFieldRules::levelIndexFromExperience()
{
    QFETCH(quint32, experience);
    QFETCH(int, index);
    QCOMPARE(LevelIndexFromExperience(experience), index);
}

QTEST_GUILESS_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
