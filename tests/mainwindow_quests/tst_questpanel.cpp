// The "Quests And Waypoints:" group on the real main window: what its lists and
// boxes show for the bytes of a character, and the bytes they write.

#include "QuestPanelHarness.h"

#include "MainDialogIds.h"
#include "support/CharacterFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>

namespace {

QByteArray FileWith(const ByteChanges &bytes)
{
    CharacterFixture fixture;
    for (const ByteChange &b : bytes)
        fixture.Byte(b.offset, b.value);
    return fixture.Build();
}

QStringList QuestNamesOf(int act)
{
    QStringList names;
    for (const QuestEntry &q : kQuests) {
        if (q.act == act)
            names.append(QString::fromLatin1(q.name));
    }
    return names;
}

QStringList WaypointNamesOf(int act)
{
    QStringList names;
    for (const WaypointEntry &w : kWaypoints) {
        if (w.act == act)
            names.append(QString::fromLatin1(w.name));
    }
    return names;
}

// Hell fully open: its three act bytes set and every waypoint bit of its set.
const ByteChanges kHellOpen = {{25, 0xFF}, {346, 0x01}, {362, 0x01}, {378, 0x01},
                               {486, 0xFF}, {487, 0xFF}, {488, 0xFF}, {489, 0xFF}};

} // namespace

class TestQuestPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panelAfterLoad();
    void actLists_data();
    void actLists();
    void questStateShown_data();
    void questStateShown();
    void questStateWritten_data();
    void questStateWritten();
    void travincalOpensActThenHell();
    void boxes_data();
    void boxes();
    void boxesStopOnBadNumber_data();
    void boxesStopOnBadNumber();
    void selectionGoesOnAfterBadNumber();
    void nothingWithoutFile_data();
    void nothingWithoutFile();
};

void TestQuestPanel::panelAfterLoad()
{
    CharacterFixture fixture;
    fixture.Byte(142, 0x04);
    fixture.Byte(0, 0x00); // Act1 has no access byte: it is open whatever the file holds
    QuestPanelHarness h(fixture.Build());

    QCOMPARE(h.Shown(IDC_DIFFICULTY), QStringLiteral("Normal"));
    QCOMPARE(h.Shown(IDC_ACT), QStringLiteral("Act1"));
    QCOMPARE(h.Shown(IDC_QUEST), QStringLiteral("Den of Evil"));
    QCOMPARE(h.Shown(IDC_QUEST_STATE), QStringLiteral("Started"));
    QCOMPARE(h.Shown(IDC_WAYPOINT), QStringLiteral("Rogue Encampment"));
    QVERIFY(h.Checked(IDC_DIFFICULTY_ACTIVE));
    QVERIFY(h.Checked(IDC_ACT_ACTIVE));
    QVERIFY(h.Checked(IDC_WAYPOINT_ACTIVE)); // the fixture's Normal set holds bit 0
    // Showing a character reads it only.
    const QString diff = ImageDiff(fixture.Expanded(), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QVERIFY(h.prompts.messages.isEmpty());
}

void TestQuestPanel::actLists_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("act");

    QTest::newRow("Normal, Act1: list order differs from the file") << "Normal" << 0;
    QTest::newRow("Nightmare, Act2") << "Nightmare" << 1;
    QTest::newRow("Hell, Act3") << "Hell" << 2;
    QTest::newRow("Hell, Act4: three quests and waypoints") << "Hell" << 3;
}

void TestQuestPanel::actLists()
{
    QFETCH(QString, difficulty);
    QFETCH(int, act);
    QuestPanelHarness h(CharacterFixture().Build());
    const QStringList quests = QuestNamesOf(act);
    const QStringList waypoints = WaypointNamesOf(act);

    QVERIFY(h.Choose(IDC_ACT, QString::fromLatin1(kActs[act])));
    QCOMPARE(h.Items(IDC_QUEST), quests);
    QCOMPARE(h.Items(IDC_WAYPOINT), waypoints);
    QVERIFY(h.Choose(IDC_QUEST, quests.last()));
    QVERIFY(h.Choose(IDC_WAYPOINT, waypoints.last()));

    // A change of difficulty keeps the act, refills the lists and selects
    // their first entries.
    QVERIFY(h.Choose(IDC_DIFFICULTY, difficulty));
    QCOMPARE(h.Shown(IDC_DIFFICULTY), difficulty);
    QCOMPARE(h.Shown(IDC_ACT), QString::fromLatin1(kActs[act]));
    QCOMPARE(h.Items(IDC_QUEST), quests);
    QCOMPARE(h.Items(IDC_WAYPOINT), waypoints);
    QCOMPARE(h.Shown(IDC_QUEST), quests.first());
    QCOMPARE(h.Shown(IDC_WAYPOINT), waypoints.first());
}

void TestQuestPanel::questStateShown_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<QString>("act");
    QTest::addColumn<QString>("quest");
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<quint8>("byte0");
    QTest::addColumn<quint8>("byte1");
    QTest::addColumn<QString>("state");

    QTest::newRow("byte 1 = 0x10 alone is Done")
        << "Normal" << "Act1" << "Den of Evil" << 142u << quint8(0x00) << quint8(0x10) << "Done";
    QTest::newRow("0x05 is Done")
        << "Nightmare" << "Act2" << "Tainted Sun" << 258u << quint8(0x05) << quint8(0x00) << "Done";
    QTest::newRow("0x06 is Reward")
        << "Hell" << "Act3" << "The Guardian" << 376u << quint8(0x06) << quint8(0x00) << "Reward";
    QTest::newRow("0x04 is Started")
        << "Normal" << "Act4" << "Hell's Forge" << 194u << quint8(0x04) << quint8(0x00) << "Started";
    QTest::newRow("0x08 is Not Started")
        << "Hell" << "Act1" << "Tools of the trade" << 338u << quint8(0x08) << quint8(0x00)
        << "Not Started";
    QTest::newRow("byte 1 = 0x11 is not Done")
        << "Nightmare" << "Act4" << "Terror's End" << 288u << quint8(0x00) << quint8(0x11)
        << "Not Started";
}

void TestQuestPanel::questStateShown()
{
    QFETCH(QString, difficulty);
    QFETCH(QString, act);
    QFETCH(QString, quest);
    QFETCH(quint32, offset);
    QFETCH(quint8, byte0);
    QFETCH(quint8, byte1);
    QFETCH(QString, state);
    QuestPanelHarness h(FileWith({{offset, byte0}, {offset + 1, byte1}}));
    const QByteArray before = h.Image();

    QVERIFY(h.Choose(IDC_DIFFICULTY, difficulty));
    QVERIFY(h.Choose(IDC_ACT, act));
    QVERIFY(h.Choose(IDC_QUEST, quest));

    QCOMPARE(h.Shown(IDC_QUEST_STATE), state);
    QCOMPARE(h.Image(), before);
}

void TestQuestPanel::questStateWritten_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<QString>("act");
    QTest::addColumn<QString>("quest");
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<ByteChanges>("before");
    QTest::addColumn<QString>("state");
    QTest::addColumn<ByteChanges>("written");

    QTest::newRow("Reward for Tools of the trade in Nightmare")
        << "Nightmare" << "Act1" << "Tools of the trade" << 242u
        << ByteChanges{{242, 0x00}, {243, 0x00}} << "Reward"
        << ByteChanges{{242, 0x06}, {243, 0x00}};
    QTest::newRow("Started replaces both bytes")
        << "Normal" << "Act3" << "Khalim's Will" << 178u
        << ByteChanges{{178, 0xFF}, {179, 0xFF}} << "Started"
        << ByteChanges{{178, 0x04}, {179, 0x00}};
    QTest::newRow("Done for Terror's End in Hell")
        << "Hell" << "Act4" << "Terror's End" << 384u
        << ByteChanges{{384, 0x00}, {385, 0x00}} << "Done"
        << ByteChanges{{384, 0x07}, {385, 0x10}};
    QTest::newRow("Not Started clears a done quest")
        << "Nightmare" << "Act2" << "Arcane Sanctuary" << 260u
        << ByteChanges{{260, 0x07}, {261, 0x10}} << "Not Started"
        << ByteChanges{{260, 0x00}, {261, 0x00}};
}

void TestQuestPanel::questStateWritten()
{
    QFETCH(QString, difficulty);
    QFETCH(QString, act);
    QFETCH(QString, quest);
    QFETCH(ByteChanges, before);
    QFETCH(QString, state);
    QFETCH(ByteChanges, written);
    QuestPanelHarness h(FileWith(before));
    const QByteArray original = h.Image();

    QVERIFY(h.Choose(IDC_DIFFICULTY, difficulty));
    QVERIFY(h.Choose(IDC_ACT, act));
    QVERIFY(h.Choose(IDC_QUEST, quest));
    QVERIFY(h.Choose(IDC_QUEST_STATE, state));

    const QString diff = ImageDiff(Changed(original, written), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(h.Shown(IDC_QUEST_STATE), state);
    QCOMPARE(h.Shown(IDC_QUEST), quest);
}

void TestQuestPanel::travincalOpensActThenHell()
{
    // Nightmare open, Hell closed, Hell's Act3 closed, no Hell waypoint.
    QuestPanelHarness h(FileWith({{25, 0x04}}));
    QVERIFY(h.Choose(IDC_DIFFICULTY, QStringLiteral("Hell")));
    QVERIFY(h.Choose(IDC_ACT, QStringLiteral("Act3")));
    QVERIFY(h.Choose(IDC_WAYPOINT, QStringLiteral("Travincal")));
    QVERIFY(!h.Checked(IDC_DIFFICULTY_ACTIVE));
    QVERIFY(!h.Checked(IDC_ACT_ACTIVE));
    QVERIFY(!h.Checked(IDC_WAYPOINT_ACTIVE));
    const QByteArray before = h.Image();

    // The window refreshes its boxes between the three writes; the bytes seen
    // at each refresh give the order in which they were written.
    WriteOrderRecorder recorder(h, {489, 362, 25});
    h.Click(IDC_WAYPOINT_ACTIVE);
    recorder.Finish();

    const QByteArray waypoint = Changed(before, {{489, 0x02}});
    const QByteArray act = Changed(waypoint, {{362, 0x01}});
    const QByteArray hell = Changed(act, {{25, 0x14}});
    const QString order = recorder.Mismatch({before, waypoint, act, hell});
    QVERIFY2(order.isEmpty(), qPrintable(order));
    const QString diff = ImageDiff(hell, h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QVERIFY(h.Checked(IDC_DIFFICULTY_ACTIVE));
    QVERIFY(h.Checked(IDC_ACT_ACTIVE));
    QVERIFY(h.Checked(IDC_WAYPOINT_ACTIVE));
}

void TestQuestPanel::boxes_data()
{
    QTest::addColumn<ByteChanges>("file");
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<QString>("act");
    QTest::addColumn<QString>("waypoint");
    QTest::addColumn<int>("box");
    QTest::addColumn<ByteChanges>("written");
    QTest::addColumn<bool>("difficultyOpen");
    QTest::addColumn<bool>("actOpen");
    QTest::addColumn<bool>("waypointActive");

    QTest::newRow("setting an act opens it and its difficulty")
        << ByteChanges{{25, 0x80}} << "Nightmare" << "Act2" << "Lut Gholein" << int(IDC_ACT_ACTIVE)
        << ByteChanges{{250, 0x01}, {25, 0x84}} << true << true << false;
    QTest::newRow("setting a difficulty changes its bit only")
        << ByteChanges{{25, 0x83}} << "Hell" << "Act1" << "Rogue Encampment"
        << int(IDC_DIFFICULTY_ACTIVE) << ByteChanges{{25, 0x93}} << true << true << false;
    QTest::newRow("setting a waypoint of an open act writes its bit only")
        << ByteChanges{{25, 0x00}, {266, 0x01}} << "Nightmare" << "Act3" << "Great Marsh"
        << int(IDC_WAYPOINT_ACTIVE) << ByteChanges{{464, 0x10}} << false << true << true;
    QTest::newRow("clearing Act1 writes nothing and springs back")
        << ByteChanges{} << "Normal" << "Act1" << "Rogue Encampment" << int(IDC_ACT_ACTIVE)
        << ByteChanges{} << true << true << true;
    QTest::newRow("clearing Act1 of a closed difficulty opens nothing")
        << ByteChanges{{25, 0x00}} << "Nightmare" << "Act1" << "Rogue Encampment"
        << int(IDC_ACT_ACTIVE) << ByteChanges{} << false << true << false;
    QTest::newRow("clearing Normal keeps byte 25 and springs back")
        << ByteChanges{{25, 0x5A}} << "Normal" << "Act1" << "Rogue Encampment"
        << int(IDC_DIFFICULTY_ACTIVE) << ByteChanges{} << true << true << true;
    QTest::newRow("clearing Hell clears bit 4 only")
        << kHellOpen << "Hell" << "Act3" << "Kurast Docks" << int(IDC_DIFFICULTY_ACTIVE)
        << ByteChanges{{25, 0xEF}} << false << true << true;
    QTest::newRow("clearing an act leaves difficulty and waypoints")
        << kHellOpen << "Hell" << "Act3" << "Kurast Docks" << int(IDC_ACT_ACTIVE)
        << ByteChanges{{362, 0x00}} << true << false << true;
    QTest::newRow("clearing a waypoint leaves act and difficulty")
        << kHellOpen << "Hell" << "Act3" << "Travincal" << int(IDC_WAYPOINT_ACTIVE)
        << ByteChanges{{489, 0xFD}} << true << true << false;
}

void TestQuestPanel::boxes()
{
    QFETCH(ByteChanges, file);
    QFETCH(QString, difficulty);
    QFETCH(QString, act);
    QFETCH(QString, waypoint);
    QFETCH(int, box);
    QFETCH(ByteChanges, written);
    QFETCH(bool, difficultyOpen);
    QFETCH(bool, actOpen);
    QFETCH(bool, waypointActive);
    QuestPanelHarness h(FileWith(file));
    QVERIFY(h.Choose(IDC_DIFFICULTY, difficulty));
    QVERIFY(h.Choose(IDC_ACT, act));
    QVERIFY(h.Choose(IDC_WAYPOINT, waypoint));
    const QByteArray before = h.Image();

    h.Click(box);

    const QString diff = ImageDiff(Changed(before, written), h.Image());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(h.Checked(IDC_DIFFICULTY_ACTIVE), difficultyOpen);
    QCOMPARE(h.Checked(IDC_ACT_ACTIVE), actOpen);
    QCOMPARE(h.Checked(IDC_WAYPOINT_ACTIVE), waypointActive);
    QVERIFY(h.prompts.messages.isEmpty());
}

void TestQuestPanel::boxesStopOnBadNumber_data()
{
    QTest::addColumn<int>("box");
    QTest::newRow("WP Activ.") << int(IDC_WAYPOINT_ACTIVE);
    QTest::newRow("Act Activ.") << int(IDC_ACT_ACTIVE);
    QTest::newRow("Diff. Activ.") << int(IDC_DIFFICULTY_ACTIVE);
}

void TestQuestPanel::boxesStopOnBadNumber()
{
    QFETCH(int, box);
    QuestPanelHarness h(FileWith({{25, 0x00}}));
    QVERIFY(h.Choose(IDC_DIFFICULTY, QStringLiteral("Nightmare")));
    QVERIFY(h.Choose(IDC_ACT, QStringLiteral("Act2")));
    const QByteArray before = h.Image();
    {
        const QSignalBlocker quiet(h.dlg.DlgItem<QLineEdit>(IDC_GOLD));
        h.dlg.DlgItem<QLineEdit>(IDC_GOLD)->setText(QStringLiteral("12x"));
    }

    h.Click(box);

    // Nothing is written, and the box that does not parse keeps what was typed.
    QCOMPARE(h.prompts.Texts(), QStringList{QStringLiteral("Please enter a positive integer.")});
    QCOMPARE(h.Image(), before);
    QCOMPARE(h.dlg.DlgItem<QLineEdit>(IDC_GOLD)->text(), QStringLiteral("12x"));
}

void TestQuestPanel::selectionGoesOnAfterBadNumber()
{
    QuestPanelHarness h(CharacterFixture().Build());
    QVERIFY(h.Choose(IDC_ACT, QStringLiteral("Act4")));
    {
        const QSignalBlocker quiet(h.dlg.DlgItem<QLineEdit>(IDC_GOLD));
        h.dlg.DlgItem<QLineEdit>(IDC_GOLD)->setText(QStringLiteral("12x"));
    }

    QVERIFY(h.Choose(IDC_DIFFICULTY, QStringLiteral("Hell")));

    // The choice was not read: the group is refreshed on what it showed before.
    QCOMPARE(h.prompts.Texts(), QStringList{QStringLiteral("Please enter a positive integer.")});
    QCOMPARE(h.Shown(IDC_DIFFICULTY), QStringLiteral("Normal"));
    QCOMPARE(h.Shown(IDC_ACT), QStringLiteral("Act4"));
    QCOMPARE(h.Items(IDC_QUEST), QuestNamesOf(3));
}

void TestQuestPanel::nothingWithoutFile_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("choice");
    QTest::newRow("difficulty") << int(IDC_DIFFICULTY) << "Nightmare";
    QTest::newRow("act") << int(IDC_ACT) << "Act2";
    QTest::newRow("quest state") << int(IDC_QUEST_STATE) << "Done";
    QTest::newRow("WP Activ.") << int(IDC_WAYPOINT_ACTIVE) << QString();
    QTest::newRow("Act Activ.") << int(IDC_ACT_ACTIVE) << QString();
    QTest::newRow("Diff. Activ.") << int(IDC_DIFFICULTY_ACTIVE) << QString();
}

void TestQuestPanel::nothingWithoutFile()
{
    QFETCH(int, control);
    QFETCH(QString, choice);
    QuestPanelHarness h{QByteArray()};

    if (choice.isEmpty())
        h.Click(control);
    else
        QVERIFY(h.Choose(control, choice));

    QVERIFY(h.prompts.messages.isEmpty());
    QVERIFY(h.dlg.m_doc.IsEmpty());
    QVERIFY(h.Items(IDC_QUEST).isEmpty());
    QVERIFY(h.Items(IDC_WAYPOINT).isEmpty());
    QVERIFY(!h.dlg.TakePendingError());
}

QTEST_MAIN(TestQuestPanel)
#include "tst_questpanel.moc"
