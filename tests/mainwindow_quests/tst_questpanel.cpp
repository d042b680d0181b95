#include "support/WindowHarness.h"

#include "document/GameData.h"
#include "support/Offsets71.h"

#include <QtTest>

Q_DECLARE_METATYPE(CharacterFixture)

namespace {

// What the quest, act and waypoint bytes of a document hold, in one line: the difficulty byte, how many
// of the nine act bytes are 1, the three waypoint sets, how many of the 63 quest words read 07 10.
QString Summary(const CDiablo2Doc &doc)
{
    int acts = 0, done = 0;
    for (int d = 0; d < kDifficultyCount; ++d) {
        for (int a = 0; a < kActCount; ++a) {
            if (a > 0 && doc.GetUInt(Offsets71::Act(d, a)) == 1)
                ++acts;
            for (int q = 0; q < QuestCountOfAct(a); ++q)
                done += doc.GetUInt(Offsets71::Quest(d, a, q), Offsets71::Quest(d, a, q) + 1) == 0x1007 ? 1 : 0;
        }
    }
    QStringList sets;
    for (int d = 0; d < kDifficultyCount; ++d)
        sets.append(QString::number(doc.GetUInt(Offsets71::Waypoints(d), Offsets71::Waypoints(d) + 3), 16));
    return QStringLiteral("flags=%1 acts=%2 sets=%3 done=%4")
        .arg(doc.GetUInt(Offsets71::DifficultyFlags), 0, 16).arg(acts).arg(sets.join(QLatin1Char(','))).arg(done);
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
    void questStates_data()
    {
        QTest::addColumn<quint16>("word"); // as the file holds it, low byte first
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("choose");
        QTest::addColumn<quint16>("written");
        QTest::newRow("not started, choose Started") << quint16(0) << "Not Started" << 1 << quint16(0x0004);
        QTest::newRow("bit 0x02 over 0x04 shows Reward") << quint16(0x06) << "Reward" << 0 << quint16(0);
        QTest::newRow("bit 0x01 shows Done, choose Reward") << quint16(0x01) << "Done" << 2 << quint16(0x0006);
        QTest::newRow("byte 1 0x10 alone shows Done, choose Done") << quint16(0x1000) << "Done" << 3 << quint16(0x1007);
    }

    void questStates()
    {
        QFETCH(quint16, word);
        QFETCH(QString, shown);
        QFETCH(int, choose);
        QFETCH(quint16, written);
        // Nightmare, Act2, "The Horadric Staff": its word at 160 + 96.
        WindowHarness window;
        window.Open(CharacterFixture().QuestWord(1, 1, 1, quint8(word), quint8(word >> 8)));
        QCOMPARE(Selection(window), QStringLiteral("Normal|Act1|Den of Evil|Not Started|Rogue Encampment|1|1|1"));
        window.Choose(IDC_DIFFICULTY, 1);
        window.Choose(IDC_ACT, 1);
        window.Choose(IDC_QUEST, 1);
        QCOMPARE(window.Text(IDC_QUEST) + '|' + window.Text(IDC_QUEST_STATE), "The Horadric Staff|" + shown);
        window.Choose(IDC_QUEST_STATE, choose);
        QCOMPARE(window.Value(256, 257), quint32(written));
    }

    // A check box clicked or a bulk command given in the chosen difficulty and act.
    void boxesAndCommands_data()
    {
        QTest::addColumn<CharacterFixture>("fixture");
        QTest::addColumn<QList<int>>("chosen"); // difficulty, act, waypoint
        QTest::addColumn<int>("action"); // a check box, or a command of the Edit menu
        QTest::addColumn<QString>("refusal"); // caption when no file is open; empty for a check box
        QTest::addColumn<QString>("shown"); // the end of Selection()
        QTest::addColumn<QString>("summary");
        const CharacterFixture plain, all = CharacterFixture().DifficultyFlags(0xFF);
        const int act = IDC_ACT_ACTIVE;
        QTest::newRow("act opens its difficulty") << plain << QList<int>{2, 3, 0} << act << "" << "|0|1|1"
            << "flags=10 acts=1 sets=1,0,0 done=0";
        QTest::newRow("Act1's box springs back") << plain << QList<int>{0, 0, 0} << act << "" << "|1|1|1"
            << "flags=0 acts=0 sets=1,0,0 done=0";
        QTest::newRow("closing an act of a closed difficulty opens nothing") << CharacterFixture().ActByte(2, 2, 1)
            << QList<int>{2, 2, 0} << act << "" << "|0|0|0" << "flags=0 acts=0 sets=1,0,0 done=0";
        QTest::newRow("closing an act closes nothing else") << CharacterFixture().ActByte(1, 2, 1).DifficultyFlags(0x04)
            << QList<int>{1, 2, 0} << act << "" << "|0|0|1" << "flags=4 acts=0 sets=1,0,0 done=0";
        QTest::newRow("clearing Hell clears bit 4 only") << all << QList<int>{2, 0, 0} << int(IDC_DIFFICULTY_ACTIVE) << ""
            << "|0|1|0" << "flags=ef acts=0 sets=1,0,0 done=0";
        QTest::newRow("Normal cannot be cleared") << plain << QList<int>{0, 0, 0} << int(IDC_DIFFICULTY_ACTIVE) << ""
            << "|1|1|1" << "flags=0 acts=0 sets=1,0,0 done=0";
        QTest::newRow("Nightmare and Hell replace the whole byte") << all << QList<int>{1, 1, 0}
            << int(ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL) << "Activate Nightmare And Hell"
            << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|0|0|1" << "flags=14 acts=0 sets=1,0,0 done=0";
        QTest::newRow("all acts") << all << QList<int>{1, 1, 0} << int(ID_EDIT_ACTIVATE_ALL_ACTS) << "Activate Acts"
            << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|0|1|1" << "flags=14 acts=9 sets=1,0,0 done=0";
        QTest::newRow("all waypoints") << all << QList<int>{1, 1, 0} << int(ID_EDIT_ACTIVATE_ALL_WAYPOINTS)
            << "Activate Way Points" << "Nightmare|Act2|Radament's Lair|Not Started|Lut Gholein|1|1|1"
            << "flags=14 acts=9 sets=3fffffff,3fffffff,3fffffff done=0";
        QTest::newRow("all quests done ends on the last quest") << all << QList<int>{1, 1, 0}
            << int(ID_EDIT_ALL_QUESTS_DONE) << "All quest Done" << "Hell|Act4|Terror's End|Done|Pandemonium Fortress|0|1|1"
            << "flags=14 acts=9 sets=1,0,0 done=63";
    }

    void boxesAndCommands()
    {
        QFETCH(CharacterFixture, fixture);
        QFETCH(QList<int>, chosen);
        QFETCH(int, action);
        QFETCH(QString, refusal);
        QFETCH(QString, shown);
        QFETCH(QString, summary);
        WindowHarness window;
        if (!refusal.isEmpty()) {
            window.Command(action);
            QCOMPARE(window.prompts.Summaries(), QStringList{refusal + QStringLiteral("|Open a file first!")});
        }
        window.Open(fixture);
        for (int list : {IDC_DIFFICULTY, IDC_ACT, IDC_WAYPOINT})
            window.Choose(list, chosen.takeFirst());
        refusal.isEmpty() ? window.Click(action) : window.Command(action);
        QVERIFY2(Selection(window).endsWith(shown), qPrintable(Selection(window)));
        QCOMPARE(Summary(window.Doc()), summary);
        QCOMPARE(window.prompts.Texts(), QStringList());
    }
};

QTEST_MAIN(TestQuestPanel)
#include "tst_questpanel.moc"
