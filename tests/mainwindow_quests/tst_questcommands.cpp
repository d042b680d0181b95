// The four bulk commands of the Edit menu: the bytes they write, the order in
// which they write them, how they refresh the group, and their refusal without
// a character.

#include "QuestPanelHarness.h"

#include "MainDialogIds.h"
#include "support/CharacterFixture.h"

#include <QTest>

#include <iterator>

namespace {

ByteChanges DifficultiesOpened()
{
    return {{25, 0x14}};
}

ByteChanges ActsOpened()
{
    ByteChanges changes = DifficultiesOpened();
    for (quint32 offset : kActBytes)
        changes.append({offset, 0x01});
    return changes;
}

ByteChanges WaypointsActivated()
{
    ByteChanges changes = ActsOpened();
    for (quint32 set : kWaypointSets) {
        changes.append({set, 0xFF});
        changes.append({set + 1, 0xFF});
        changes.append({set + 2, 0xFF});
        changes.append({set + 3, 0x3F});
    }
    return changes;
}

ByteChanges QuestsDone()
{
    ByteChanges changes = ActsOpened();
    for (quint32 copy = 0; copy < 3; ++copy) {
        for (const QuestEntry &quest : kQuests) {
            changes.append({quest.normalOffset + 96 * copy, 0x07});
            changes.append({quest.normalOffset + 96 * copy + 1, 0x10});
        }
    }
    return changes;
}

} // namespace

class TestQuestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bulkCommand_data();
    void bulkCommand();
    void allWaypointsOpensBeforeActivating();
    void allQuestsDoneLeavesLastQuest_data();
    void allQuestsDoneLeavesLastQuest();
    void commandsWithoutFile_data();
    void commandsWithoutFile();
};

void TestQuestCommands::bulkCommand_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<char>("fill");
    QTest::addColumn<ByteChanges>("written");
    QTest::addColumn<bool>("difficultyOpen");
    QTest::addColumn<bool>("actOpen");
    QTest::addColumn<bool>("waypointActive");

    const struct
    {
        const char *name;
        int command;
        ByteChanges written;
        bool actOpen;
        bool waypointActive;
    } commands[] = {
        {"Activate Nightmare and Hell", ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL, DifficultiesOpened(),
         false, false},
        {"Activate All Acts", ID_EDIT_ACTIVATE_ALL_ACTS, ActsOpened(), true, false},
        {"Activate All Way Points", ID_EDIT_ACTIVATE_ALL_WAYPOINTS, WaypointsActivated(), true, true},
        {"All Quests Done", ID_EDIT_ALL_QUESTS_DONE, QuestsDone(), true, false},
    };
    for (const auto &c : commands) {
        // On zeros the group, left on Hell and Act3, shows what the command opened.
        QTest::addRow("%s on zeros", c.name)
            << c.command << char(0x00) << c.written << true << c.actOpen << c.waypointActive;
        QTest::addRow("%s on 0xFF", c.name)
            << c.command << char(0xFF) << c.written << true << true << true;
    }
}

void TestQuestCommands::bulkCommand()
{
    QFETCH(int, command);
    QFETCH(char, fill);
    QFETCH(ByteChanges, written);
    QFETCH(bool, difficultyOpen);
    QFETCH(bool, actOpen);
    QFETCH(bool, waypointActive);
    QuestPanelHarness h(QByteArray(int(CharacterFixture::DefaultLength), fill));
    QVERIFY(h.Choose(IDC_DIFFICULTY, QStringLiteral("Hell")));
    QVERIFY(h.Choose(IDC_ACT, QStringLiteral("Act3")));
    const QByteArray before = h.Image();

    QVERIFY(h.Trigger(command));

    const QString diff = ImageDiff(Changed(before, written), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(h.Checked(IDC_DIFFICULTY_ACTIVE), difficultyOpen);
    QCOMPARE(h.Checked(IDC_ACT_ACTIVE), actOpen);
    QCOMPARE(h.Checked(IDC_WAYPOINT_ACTIVE), waypointActive);
    QVERIFY(h.prompts.messages.isEmpty());
}

void TestQuestCommands::allWaypointsOpensBeforeActivating()
{
    QuestPanelHarness h(QByteArray(int(CharacterFixture::DefaultLength), '\0'));
    const QByteArray before = h.Image();
    QList<quint32> offsets = {25};
    offsets.append(QList<quint32>(std::begin(kActBytes), std::end(kActBytes)));
    for (quint32 set : kWaypointSets)
        offsets.append({set, set + 1, set + 2, set + 3});

    // The window refreshes the group after each of the three steps; the bytes
    // seen at each refresh give the order of the writes.
    WriteOrderRecorder recorder(h, offsets);
    QVERIFY(h.Trigger(ID_EDIT_ACTIVATE_ALL_WAYPOINTS));
    recorder.Finish();

    const QString order = recorder.Mismatch({before, Changed(before, DifficultiesOpened()),
                                             Changed(before, ActsOpened()),
                                             Changed(before, WaypointsActivated())});
    QVERIFY2(order.isEmpty(), qPrintable(order));
}

void TestQuestCommands::allQuestsDoneLeavesLastQuest_data()
{
    QTest::addColumn<quint8>("hellSetLastByte");
    QTest::addColumn<bool>("waypointActive");
    QTest::newRow("Pandemonium Fortress active in Hell") << quint8(0x08) << true;
    QTest::newRow("Pandemonium Fortress not active in Hell") << quint8(0x37) << false;
}

void TestQuestCommands::allQuestsDoneLeavesLastQuest()
{
    QFETCH(quint8, hellSetLastByte);
    QFETCH(bool, waypointActive);
    QuestPanelHarness h(CharacterFixture().Byte(489, hellSetLastByte).Build());

    QVERIFY(h.Trigger(ID_EDIT_ALL_QUESTS_DONE));

    QCOMPARE(h.Shown(IDC_DIFFICULTY), QStringLiteral("Hell"));
    QCOMPARE(h.Shown(IDC_ACT), QStringLiteral("Act4"));
    QCOMPARE(h.Items(IDC_QUEST),
             (QStringList{QStringLiteral("The Fallen Angel"), QStringLiteral("Hell's Forge"),
                          QStringLiteral("Terror's End")}));
    QCOMPARE(h.Shown(IDC_QUEST), QStringLiteral("Terror's End"));
    QCOMPARE(h.Shown(IDC_QUEST_STATE), QStringLiteral("Done"));
    QCOMPARE(h.Shown(IDC_WAYPOINT), QStringLiteral("Pandemonium Fortress"));
    QVERIFY(h.Checked(IDC_DIFFICULTY_ACTIVE));
    QVERIFY(h.Checked(IDC_ACT_ACTIVE));
    QCOMPARE(h.Checked(IDC_WAYPOINT_ACTIVE), waypointActive);
}

void TestQuestCommands::commandsWithoutFile_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Activate All Way Points")
        << int(ID_EDIT_ACTIVATE_ALL_WAYPOINTS) << "Activate Way Points";
    QTest::newRow("Activate All Acts") << int(ID_EDIT_ACTIVATE_ALL_ACTS) << "Activate Acts";
    QTest::newRow("Activate Nightmare and Hell")
        << int(ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL) << "Activate Nightmare And Hell";
    QTest::newRow("All Quests Done") << int(ID_EDIT_ALL_QUESTS_DONE) << "All quest Done";
}

void TestQuestCommands::commandsWithoutFile()
{
    QFETCH(int, command);
    QFETCH(QString, caption);
    QuestPanelHarness h{QByteArray()};

    QVERIFY(h.Trigger(command));

    QCOMPARE(h.prompts.messages.size(), 1);
    const ScriptedPrompts::Message &message = h.prompts.messages.first();
    QCOMPARE(message.text, QStringLiteral("Open a file first!"));
    QCOMPARE(message.caption, caption);
    QVERIFY(message.icon == MessageIcon::None);
    QCOMPARE(message.owner, static_cast<QObject *>(&h.dlg));
    QVERIFY(h.dlg.m_doc.IsEmpty());
    QVERIFY(h.Items(IDC_QUEST).isEmpty());
    QCOMPARE(h.Shown(IDC_DIFFICULTY), QString());
}

QTEST_MAIN(TestQuestCommands)
#include "tst_questcommands.moc"
