// Every quest and waypoint of every difficulty, reached through the real lists
// of the main window, reads and writes its own word or bit and nothing else.

#include "QuestPanelHarness.h"

#include "MainDialogIds.h"
#include "support/CharacterFixture.h"

#include <QTest>

class TestQuestTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questTable_data();
    void questTable();
    void waypointTable_data();
    void waypointTable();
};

void TestQuestTables::questTable_data()
{
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<int>("entry");
    for (int d = 0; d < 3; ++d) {
        for (int e = 0; e < 21; ++e) {
            QTest::addRow("%s, %s, %s", kDifficulties[d], kActs[kQuests[e].act], kQuests[e].name)
                << d << e;
        }
    }
}

void TestQuestTables::questTable()
{
    QFETCH(int, difficulty);
    QFETCH(int, entry);
    const QuestEntry &quest = kQuests[entry];
    const quint32 offset = quest.normalOffset + 96u * quint32(difficulty);
    // Only this quest is started; every other word is 00 00.
    QuestPanelHarness h(CharacterFixture().Byte(offset, 0x04).Build());
    const QString name = QString::fromLatin1(quest.name);

    QVERIFY(h.Choose(IDC_DIFFICULTY, QString::fromLatin1(kDifficulties[difficulty])));
    QVERIFY(h.Choose(IDC_ACT, QString::fromLatin1(kActs[quest.act])));
    QCOMPARE(h.Items(IDC_QUEST).indexOf(name), quest.position);
    QVERIFY(h.Choose(IDC_QUEST, name));
    QCOMPARE(h.Shown(IDC_QUEST_STATE), QStringLiteral("Started"));

    const QByteArray before = h.Image();
    QVERIFY(h.Choose(IDC_QUEST_STATE, QStringLiteral("Done")));
    const QString diff = ImageDiff(Changed(before, {{offset, 0x07}, {offset + 1, 0x10}}), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestQuestTables::waypointTable_data()
{
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<int>("entry");
    for (int d = 0; d < 3; ++d) {
        for (int e = 0; e < 30; ++e) {
            QTest::addRow("%s, %s, %s", kDifficulties[d], kActs[kWaypoints[e].act],
                          kWaypoints[e].name)
                << d << e;
        }
    }
}

void TestQuestTables::waypointTable()
{
    QFETCH(int, difficulty);
    QFETCH(int, entry);
    const WaypointEntry &waypoint = kWaypoints[entry];
    const quint32 byteOffset = kWaypointSets[difficulty] + quint32(waypoint.bit / 8);
    const quint8 bitValue = quint8(1u << (waypoint.bit % 8));

    // Everything open and every waypoint of every difficulty active except this one.
    CharacterFixture fixture;
    fixture.Byte(25, 0x14);
    for (quint32 act : kActBytes)
        fixture.Byte(act, 0x01);
    for (int d = 0; d < 3; ++d) {
        quint32 bits = 0x3FFFFFFFu;
        if (d == difficulty)
            bits &= ~(1u << waypoint.bit);
        for (quint32 i = 0; i < 4; ++i)
            fixture.Byte(kWaypointSets[d] + i, quint8(bits >> (8 * i)));
    }
    QuestPanelHarness h(fixture.Build());
    const QString name = QString::fromLatin1(waypoint.name);

    QVERIFY(h.Choose(IDC_DIFFICULTY, QString::fromLatin1(kDifficulties[difficulty])));
    QVERIFY(h.Choose(IDC_ACT, QString::fromLatin1(kActs[waypoint.act])));
    QCOMPARE(h.Items(IDC_WAYPOINT).indexOf(name), waypoint.position);
    QVERIFY(h.Choose(IDC_WAYPOINT, name));
    QVERIFY(!h.Checked(IDC_WAYPOINT_ACTIVE));

    const QByteArray before = h.Image();
    h.Click(IDC_WAYPOINT_ACTIVE);
    const quint8 set = quint8(quint8(before[qsizetype(byteOffset)]) | bitValue);
    const QString diff = ImageDiff(Changed(before, {{byteOffset, set}}), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QVERIFY(h.Checked(IDC_WAYPOINT_ACTIVE));
}

QTEST_MAIN(TestQuestTables)
#include "tst_questtables.moc"
