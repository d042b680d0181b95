#include "support/WindowHarness.h"

#include "GameData.h"
#include "Layout.h"

#include <QtTest>

Q_DECLARE_METATYPE(CharacterFixture)

namespace {

// What the quest, act and waypoint bytes of a document hold, in one line:
// the difficulty byte, how many of the nine act bytes are 1, the three
// waypoint sets, how many of the 63 quest words read 07 10.
QString Summary(const CDiablo2Doc &doc)
{
    int acts = 0, done = 0;
    for (int d = 0; d < DifficultyCount; ++d) {
        for (int a = 0; a < ActCount; ++a) {
            if (a > 0 && doc.GetUInt(g_nActOffsets[d][a]) == 1)
                ++acts;
            for (int q = 0; q < QuestCountOfAct(a); ++q)
                done += doc.GetUInt(g_nQuestOffsets[d][a][q], g_nQuestOffsets[d][a][q] + 1) == 0x1007 ? 1 : 0;
        }
    }
    QStringList sets;
    for (int d = 0; d < DifficultyCount; ++d)
        sets.append(QString::number(doc.GetUInt(g_nWaypointOffsets[d], g_nWaypointOffsets[d] + 3), 16));
    return QStringLiteral("flags=%1 acts=%2 sets=%3 done=%4")
        .arg(doc.GetUInt(Layout::DifficultyFlags), 0, 16).arg(acts).arg(sets.join(QLatin1Char(','))).arg(done);
}

QString Selection(const WindowHarness &window)
{
    QStringList shown;
    for (int id : {IDC_DIFFICULTY, IDC_ACT, IDC_QUEST, IDC_QUEST_STATE, IDC_WAYPOINT, IDC_WAYPOINT_ACTIVE,
                   IDC_ACT_ACTIVE, IDC_DIFFICULTY_ACTIVE})
        shown.append(window.Text(id));
    return shown.join(QLatin1Char('|'));
}

} // namespace

class TestQuestPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questStates_data();
    void questStates();
    void checkBoxes_data();
    void checkBoxes();
    void bulkCommands_data();
    void bulkCommands();
};

void TestQuestPanel::questStates_data()
{
    QTest::addColumn<quint8>("byte0");
    QTest::addColumn<quint8>("byte1");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("choose");
    QTest::addColumn<quint16>("written");

    QTest::newRow("not started, choose Started") << quint8(0) << quint8(0) << "Not Started" << 1 << quint16(0x0004);
    QTest::newRow("bit 0x02 over 0x04 shows Reward") << quint8(0x06) << quint8(0) << "Reward" << 0 << quint16(0);
    QTest::newRow("bit 0x01 shows Done, choose Reward") << quint8(0x01) << quint8(0) << "Done" << 2 << quint16(0x0006);
    QTest::newRow("byte 1 0x10 alone shows Done, choose Done") << quint8(0) << quint8(0x10) << "Done" << 3
                                                               << quint16(0x1007);
}

void TestQuestPanel::questStates()
{
    QFETCH(quint8, byte0);
    QFETCH(quint8, byte1);
    QFETCH(QString, shown);
    QFETCH(int, choose);
    QFETCH(quint16, written);

    // Nightmare, Act2, "The Horadric Staff": its word at 160 + 96.
    WindowHarness window;
    window.Open(CharacterFixture().QuestWord(1, 1, 1, byte0, byte1));
    QCOMPARE(Selection(window), QStringLiteral("Normal|Act1|Den of Evil|Not Started|Rogue Encampment|1|1|1"));
    window.Choose(IDC_DIFFICULTY, 1);
    window.Choose(IDC_ACT, 1);
    window.Choose(IDC_QUEST, 1);
    QCOMPARE(window.Text(IDC_QUEST), QStringLiteral("The Horadric Staff"));
    QCOMPARE(window.Text(IDC_QUEST_STATE), shown);
    window.Choose(IDC_QUEST_STATE, choose);
    QCOMPARE(window.Value(256, 257), quint32(written));
}

void TestQuestPanel::checkBoxes_data()
{
    QTest::addColumn<CharacterFixture>("fixture");
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("waypoint");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("boxes");   // waypoint, act, difficulty
    QTest::addColumn<QString>("summary");

    const CharacterFixture plain;
    QTest::newRow("waypoint opens its act, the act its difficulty")
        << plain << 1 << 1 << 2 << int(IDC_WAYPOINT_ACTIVE) << "1|1|1" << "flags=4 acts=1 sets=1,800,0 done=0";
    QTest::newRow("waypoint switched off opens nothing")
        << plain << 0 << 0 << 0 << int(IDC_WAYPOINT_ACTIVE) << "0|1|1" << "flags=0 acts=0 sets=0,0,0 done=0";
    QTest::newRow("waypoint in an open act leaves the act byte")
        << CharacterFixture().ActByte(2, 3, 5).DifficultyFlags(0x10) << 2 << 3 << 1 << int(IDC_WAYPOINT_ACTIVE)
        << "1|1|1" << "flags=10 acts=0 sets=1,0,10000000 done=0";
    QTest::newRow("act opens its difficulty") << plain << 2 << 3 << 0 << int(IDC_ACT_ACTIVE) << "0|1|1"
                                              << "flags=10 acts=1 sets=1,0,0 done=0";
    QTest::newRow("Act1's box springs back") << plain << 0 << 0 << 0 << int(IDC_ACT_ACTIVE) << "1|1|1"
                                             << "flags=0 acts=0 sets=1,0,0 done=0";
    QTest::newRow("closing an act closes nothing else")
        << CharacterFixture().ActByte(1, 2, 1).DifficultyFlags(0x04) << 1 << 2 << 0 << int(IDC_ACT_ACTIVE) << "0|0|1"
        << "flags=4 acts=0 sets=1,0,0 done=0";
    QTest::newRow("clearing Hell clears bit 4 only")
        << CharacterFixture().DifficultyFlags(0xFF) << 2 << 0 << 0 << int(IDC_DIFFICULTY_ACTIVE) << "0|1|0"
        << "flags=ef acts=0 sets=1,0,0 done=0";
    QTest::newRow("Normal cannot be cleared") << plain << 0 << 0 << 0 << int(IDC_DIFFICULTY_ACTIVE) << "1|1|1"
                                              << "flags=0 acts=0 sets=1,0,0 done=0";
}

void TestQuestPanel::checkBoxes()
{
    QFETCH(CharacterFixture, fixture);
    QFETCH(int, difficulty);
    QFETCH(int, act);
    QFETCH(int, waypoint);
    QFETCH(int, box);
    QFETCH(QString, boxes);
    QFETCH(QString, summary);

    WindowHarness window;
    window.Open(fixture);
    window.Choose(IDC_DIFFICULTY, difficulty);
    window.Choose(IDC_ACT, act);
    window.Choose(IDC_WAYPOINT, waypoint);
    window.Click(box);
    QCOMPARE(window.Text(IDC_WAYPOINT_ACTIVE) + '|' + window.Text(IDC_ACT_ACTIVE) + '|'
                 + window.Text(IDC_DIFFICULTY_ACTIVE), boxes);
    QCOMPARE(Summary(window.Doc()), summary);
    QCOMPARE(window.prompts.Texts(), QStringList());
}

void TestQuestPanel::bulkCommands_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("caption"); // of the refusal when no file is open
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("selection");

    QTest::newRow("Nightmare and Hell replace the whole byte")
        << int(ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL) << "Activate Nightmare And Hell" << "flags=14 acts=0 sets=1,0,0 done=0"
        << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|0|0|1";
    QTest::newRow("all acts") << int(ID_EDIT_ACTIVATE_ALL_ACTS) << "Activate Acts" << "flags=14 acts=9 sets=1,0,0 done=0"
                              << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|0|1|1";
    QTest::newRow("all waypoints") << int(ID_EDIT_ACTIVATE_ALL_WAYPOINTS) << "Activate Way Points"
                                   << "flags=14 acts=9 sets=3fffffff,3fffffff,3fffffff done=0"
                                   << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|1|1|1";
    QTest::newRow("all quests done ends on the last quest")
        << int(ID_EDIT_ALL_QUESTS_DONE) << "All quest Done" << "flags=14 acts=9 sets=1,0,0 done=63"
        << "Hell|Act4|Terror's End|Done|Pandemonium Fortress|0|1|1";
}

void TestQuestPanel::bulkCommands()
{
    QFETCH(int, command);
    QFETCH(QString, caption);
    QFETCH(QString, summary);
    QFETCH(QString, selection);

    WindowHarness window;
    window.Command(command);
    QCOMPARE(window.prompts.Summaries(), QStringList{caption + QStringLiteral("|Open a file first!")});

    window.Open(CharacterFixture().DifficultyFlags(0xFF));
    window.Choose(IDC_DIFFICULTY, 1);
    window.Choose(IDC_ACT, 1);
    window.Command(command);
    QCOMPARE(Summary(window.Doc()), summary);
    QCOMPARE(Selection(window), selection);
    QCOMPARE(window.prompts.Texts(), QStringList());
}

QTEST_MAIN(TestQuestPanel)
#include "tst_questpanel.moc"
