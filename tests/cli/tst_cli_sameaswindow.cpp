// brennicor-cli against the window: for each command, the file the tool writes
// holds exactly the bytes the main window saves after the same action by its
// handlers, and the read-only commands print what the raw byte tools show.

#include "CliRunner.h"

#include "BrennicorDlg.h"
#include "CompareDlg.h"
#include "EditValueDlg.h"
#include "FindValueDlg.h"
#include "MainDialogIds.h"
#include "ToolDialogIds.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"
#include "tools/ToolDriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using WindowAction = std::function<void(CBrennicorDlg &)>;
Q_DECLARE_METATYPE(WindowAction)

namespace {

const QString kHero = QStringLiteral("Hero.d2s");

// A new text in one of the panel's edits, as a paste: one change of the box.
WindowAction Enter(int id, const QString &text)
{
    return [=](CBrennicorDlg &dlg) { dlg.DlgItem<QLineEdit>(id)->setText(text); };
}

// One item chosen from one of the window's lists.
void Choose(CBrennicorDlg &dlg, int id, int index)
{
    QComboBox *combo = dlg.DlgItem<QComboBox>(id);
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

WindowAction Pick(int id, int index)
{
    return [=](CBrennicorDlg &dlg) { Choose(dlg, id, index); };
}

WindowAction Then(std::initializer_list<WindowAction> actions)
{
    const QList<WindowAction> steps(actions);
    return [=](CBrennicorDlg &dlg) {
        for (const WindowAction &step : steps)
            step(dlg);
    };
}

WindowAction Run(void (CBrennicorDlg::*handler)())
{
    return [=](CBrennicorDlg &dlg) { (dlg.*handler)(); };
}

// A quest state chosen in the quests group: difficulty, act, quest, state.
WindowAction QuestState(int difficulty, int act, int quest, int state)
{
    return Then({Pick(IDC_DIFFICULTY, difficulty), Pick(IDC_ACT, act), Pick(IDC_QUEST, quest),
                 Pick(IDC_QUEST_STATE, state)});
}

// A waypoint chosen and its "WP Activ." box clicked until it shows on.
WindowAction Waypoint(int difficulty, int act, int waypoint, bool on)
{
    return [=](CBrennicorDlg &dlg) {
        Choose(dlg, IDC_DIFFICULTY, difficulty);
        Choose(dlg, IDC_ACT, act);
        Choose(dlg, IDC_WAYPOINT, waypoint);
        QAbstractButton *box = dlg.DlgItem<QAbstractButton>(IDC_WAYPOINT_ACTIVE);
        if (box->isChecked() != on)
            box->click();
    };
}

// Set value of the Edit value tool, then the window's refresh after the tool.
WindowAction SetValue(const QString &first, const QString &last, const QString &value)
{
    return [=](CBrennicorDlg &dlg) {
        CEditValueDlg tool(&dlg.m_doc);
        tool.Create();
        TypeInto(tool, IDC_FIRST_OFFSET, first);
        TypeInto(tool, IDC_LAST_OFFSET, last);
        TypeInto(tool, IDC_VALUE, value);
        Click(tool, IDC_SET_VALUE);
        tool.hide();
        dlg.SyncWithDocument(false);
    };
}

QStringList WithFile(QStringList arguments, const QString &path)
{
    for (QString &argument : arguments) {
        if (argument == QLatin1String("FILE"))
            argument = path;
    }
    return arguments;
}

// The window opens path, lets action run, and ends as its user would.
struct Window
{
    explicit Window(const QString &path)
    {
        dlg.Create();
        dlg.OpenPath(path);
    }
    ~Window() { dlg.hide(); }

    ScriptedPrompts prompts;
    CBrennicorDlg dlg;
};

} // namespace

class TestCliSameAsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesWhatTheWindowSaves_data();
    void writesWhatTheWindowSaves();
    void backupAsWindow_data();
    void backupAsWindow();
    void restoreAsWindow();
    void renameAsWindow_data();
    void renameAsWindow();
    void getAsEditValueTool_data();
    void getAsEditValueTool();
    void findAsFindValueTool_data();
    void findAsFindValueTool();
    void diffAsCompareTool_data();
    void diffAsCompareTool();
};

void TestCliSameAsWindow::writesWhatTheWindowSaves_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("arguments"); // FILE stands for the character file
    QTest::addColumn<WindowAction>("window");

    const QByteArray hero = CharacterFixture().Name("Hero").Build();
    auto row = [&](const char *name, const QStringList &arguments, const WindowAction &window,
                   const QByteArray &file = QByteArray()) {
        QTest::newRow(name) << (file.isEmpty() ? hero : file) << arguments << window;
    };

    // The character panel
    row("gold", {"set", "FILE", "gold=5000"}, Enter(IDC_GOLD, "5000"));
    row("stash gold to 0", {"set", "FILE", "goldInStash=0"}, Enter(IDC_GOLD_IN_STASH, "0"));
    row("experience has no limit", {"set", "FILE", "experience=3000000000"}, Enter(IDC_EXPERIENCE, "3000000000"));
    row("the four attributes", {"set", "FILE", "strength=2147483647", "dexterity=99", "vitality=1", "energy=12345"},
        Then({Enter(IDC_STRENGTH, "2147483647"), Enter(IDC_DEXTERITY, "99"), Enter(IDC_VITALITY, "1"),
              Enter(IDC_ENERGY, "12345")}));
    row("the point counters", {"set", "FILE", "attributePointsToAdd=7", "SKILLPOINTSTOADD=3"},
        Then({Enter(IDC_ATTRIBUTE_POINTS_TO_ADD, "7"), Enter(IDC_SKILL_POINTS_TO_ADD, "3")}));
    row("health raises its maximum", {"set", "FILE", "health=450"}, Enter(IDC_HEALTH, "450"));
    row("health under its maximum", {"set", "FILE", "health=100"}, Enter(IDC_HEALTH, "100"));
    row("mana at the limit raises its maximum", {"set", "FILE", "mana=8191"}, Enter(IDC_MANA, "8191"));
    row("stamina raises its maximum stored before it", {"set", "FILE", "stamina=800"}, Enter(IDC_STAMINA, "800"));
    row("maxima never lower a current value", {"set", "FILE", "maxHealth=10", "maxMana=8191", "maxStamina=0"},
        Then({Enter(IDC_MAX_HEALTH, "10"), Enter(IDC_MAX_MANA, "8191"), Enter(IDC_MAX_STAMINA, "0")}));
    row("level 12", {"set", "FILE", "level=12"}, Pick(IDC_LEVEL_LIST, 11));
    row("level 99", {"set", "FILE", "level=99"}, Pick(IDC_LEVEL_LIST, 98));
    row("level 1", {"set", "FILE", "level=1"}, Pick(IDC_LEVEL_LIST, 0));
    row("class", {"set", "FILE", "class=barbarian"}, Pick(IDC_CLASS, 4));
    row("a skill by name", {"set", "FILE", "skill:Inferno=17"},
        Then({Pick(IDC_SKILL, 5), Enter(IDC_SKILL_LEVEL, "17")}));
    row("a class, then a skill of it", {"set", "FILE", "class=Paladin", "skill:smite=20"},
        Then({Pick(IDC_CLASS, 3), Pick(IDC_SKILL, 1), Enter(IDC_SKILL_LEVEL, "20")}));
    row("a skill by position", {"set", "FILE", "skill:29=0"},
        Then({Pick(IDC_SKILL, 29), Enter(IDC_SKILL_LEVEL, "0")}));
    row("a file stored without experience, gold and stash",
        {"set", "FILE", "gold=5"}, Enter(IDC_GOLD, "5"),
        CharacterFixture().WithoutExperience().WithoutGold().WithoutGoldInStash().Build());

    // Quests and waypoints
    row("quest reward in Nightmare", {"quest", "FILE", "Nightmare", "Act1", "Tools of the trade", "Reward"},
        QuestState(1, 0, 4, 2));
    row("quest done in Hell", {"quest", "FILE", "hell", "4", "terror's end", "done"}, QuestState(2, 3, 2, 3));
    row("quest back to not started", {"quest", "FILE", "Normal", "Act2", "Radament's Lair", "not-started"},
        QuestState(0, 1, 0, 0), CharacterFixture().QuestWord(0, 1, 0, 0x07, 0x10).Build());
    row("quest started", {"quest", "FILE", "Nightmare", "Act3", "The Golden Bird", "Started"},
        QuestState(1, 2, 3, 1));
    row("waypoint opens its act and difficulty", {"waypoint", "FILE", "Hell", "Travincal", "on"},
        Waypoint(2, 2, 7, true));
    row("waypoint of an open act opens nothing more", {"waypoint", "FILE", "Nightmare", "Lut Gholein", "on"},
        Waypoint(1, 1, 0, true), CharacterFixture().ActByte(1, 1, 1).Build());
    row("waypoint of Act1 opens nothing more", {"waypoint", "FILE", "Nightmare", "cold plains", "on"},
        Waypoint(1, 0, 1, true));
    row("waypoint off", {"waypoint", "FILE", "Normal", "Rogue Encampment", "off"}, Waypoint(0, 0, 0, false));
    row("waypoint off leaves act and difficulty", {"waypoint", "FILE", "Hell", "River of Flame", "OFF"},
        Waypoint(2, 3, 2, false),
        CharacterFixture().DifficultyFlags(0x14).ActByte(2, 3, 1).WaypointSet(2, 0x3FFFFFFF).Build());

    // The bulk commands of the Edit menu
    const QByteArray allClosed = CharacterFixture().DifficultyFlags(0xFF).Build();
    row("open all", {"open-all", "FILE"}, Run(&CBrennicorDlg::OnActivateAllWaypoints), allClosed);
    row("open all acts", {"open-all", "--acts", "FILE"}, Run(&CBrennicorDlg::OnActivateAllActs), allClosed);
    row("open Nightmare and Hell", {"open-all", "FILE", "--difficulties"},
        Run(&CBrennicorDlg::OnActivateNightmareAndHell), allClosed);
    row("all quests done", {"all-quests-done", "FILE"}, Run(&CBrennicorDlg::OnAllQuestsDone), allClosed);
    row("maximize skills", {"max-skills", "FILE"}, Run(&CBrennicorDlg::OnMaximizeSkills));
    row("maximize attributes", {"max-attributes", "FILE"}, Run(&CBrennicorDlg::OnMaximizeAttributes));

    // The Edit value tool
    row("put one byte of a wider value", {"put", "FILE", "100", "100", "300"}, SetValue("100", "100", "300"));
    row("put over the gold field", {"put", "FILE", "621", "624", "777"}, SetValue("621", "624", "777"));
}

void TestCliSameAsWindow::writesWhatTheWindowSaves()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, arguments);
    QFETCH(WindowAction, window);

    QTemporaryDir windowDir, cliDir;
    const QString windowPath = windowDir.filePath(kHero);
    const QString cliPath = cliDir.filePath(kHero);
    QVERIFY(CharacterFixture::WriteFile(windowPath, file));
    QVERIFY(CharacterFixture::WriteFile(cliPath, file));

    {
        Window w(windowPath);
        QVERIFY(!w.dlg.m_doc.IsEmpty());
        window(w.dlg);
        w.dlg.OnFileSave();
        QVERIFY(!w.dlg.TakePendingError());
        QCOMPARE(w.prompts.Summaries(), QStringList());
    }

    const CliResult result = RunCli(WithFile(arguments, cliPath));
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);

    const QByteArray saved = CharacterFixture::ReadFile(cliPath);
    QVERIFY2(saved != file, "the command changed nothing");
    QVERIFY2(saved == CharacterFixture::ReadFile(windowPath),
             qPrintable(ByteDifferences(CharacterFixture::ReadFile(windowPath), saved)));
}

void TestCliSameAsWindow::backupAsWindow_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("all values stored") << CharacterFixture().Gold(4242).Build();
    QTest::newRow("stored without the point counters")
        << CharacterFixture().WithoutAttributePoints().WithoutSkillPoints().Build();
}

void TestCliSameAsWindow::backupAsWindow()
{
    QFETCH(QByteArray, file);
    QTemporaryDir windowDir, cliDir;
    QVERIFY(CharacterFixture::WriteFile(windowDir.filePath(kHero), file));
    QVERIFY(CharacterFixture::WriteFile(cliDir.filePath(kHero), file));
    {
        Window w(windowDir.filePath(kHero));
        w.dlg.OnFileBackup();
        QCOMPARE(w.prompts.Summaries(), QStringList());
    }
    const CliResult result = RunCli({QStringLiteral("backup"), kHero}, cliDir.path());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());

    const QMap<QString, QByteArray> cliFiles = FolderContents(cliDir.path());
    QCOMPARE(cliFiles.keys(), QStringList({QStringLiteral("Hero.bak"), kHero}));
    QCOMPARE(cliFiles.value(kHero), file); // the character file itself is not written
    QVERIFY2(cliFiles == FolderContents(windowDir.path()),
             qPrintable(ByteDifferences(CharacterFixture::ReadFile(windowDir.filePath(QStringLiteral("Hero.bak"))),
                                        cliFiles.value(QStringLiteral("Hero.bak")))));
}

void TestCliSameAsWindow::restoreAsWindow()
{
    const QByteArray character = CharacterFixture().Name("Hero").Gold(1).Build();
    const QByteArray backup = CharacterFixture().Name("Hero").Gold(999).Class(4).WithoutGoldInStash().Build();
    QTemporaryDir windowDir, cliDir;
    for (const QTemporaryDir *dir : {&windowDir, &cliDir}) {
        QVERIFY(CharacterFixture::WriteFile(dir->filePath(kHero), character));
        QVERIFY(CharacterFixture::WriteFile(dir->filePath(QStringLiteral("Hero.bak")), backup));
    }
    {
        Window w(windowDir.filePath(kHero));
        w.dlg.OnFileRestore();
        w.dlg.OnFileSave();
        QCOMPARE(w.prompts.Summaries(), QStringList());
    }
    const CliResult result = RunCli({QStringLiteral("restore"), kHero}, cliDir.path());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());

    const QByteArray restored = CharacterFixture::ReadFile(cliDir.filePath(kHero));
    QCOMPARE(restored, CharacterFixture().Name("Hero").Gold(999).Class(4).WithoutGoldInStash().Expanded());
    QVERIFY(FolderContents(cliDir.path()) == FolderContents(windowDir.path()));
}

void TestCliSameAsWindow::renameAsWindow_data()
{
    QTest::addColumn<QStringList>("companions");
    QTest::newRow("no companion files") << QStringList();
    QTest::newRow("map and key") << QStringList{"Hero.map", "Hero.key"};
    QTest::newRow("only the key") << QStringList{"Hero.key"};
}

void TestCliSameAsWindow::renameAsWindow()
{
    QFETCH(QStringList, companions);
    const QByteArray file = CharacterFixture().Name("Hero").Build();
    QTemporaryDir windowDir, cliDir;
    for (const QTemporaryDir *dir : {&windowDir, &cliDir}) {
        QVERIFY(CharacterFixture::WriteFile(dir->filePath(kHero), file));
        QVERIFY(CharacterFixture::WriteFile(dir->filePath(QStringLiteral("Other.map")), "other"));
        for (const QString &companion : companions)
            QVERIFY(CharacterFixture::WriteFile(dir->filePath(companion), companion.toLatin1()));
    }
    {
        Window w(windowDir.filePath(kHero));
        w.dlg.RenameCharacter(QStringLiteral("Zed"));
        QCOMPARE(w.prompts.Summaries(), QStringList());
    }
    const CliResult result = RunCli({QStringLiteral("rename"), kHero, QStringLiteral("Zed")}, cliDir.path());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());

    const QMap<QString, QByteArray> cliFiles = FolderContents(cliDir.path());
    QVERIFY(!cliFiles.contains(kHero));
    QCOMPARE(cliFiles.value(QStringLiteral("Zed.d2s")), CharacterFixture().Name("Zed").Build());
    for (const QString &companion : companions) {
        const QString moved = QStringLiteral("Zed.") + companion.section(QLatin1Char('.'), 1);
        QCOMPARE(cliFiles.value(moved), companion.toLatin1());
    }
    QCOMPARE(cliFiles.keys(), FolderContents(windowDir.path()).keys());
    QVERIFY(cliFiles == FolderContents(windowDir.path()));
}

void TestCliSameAsWindow::getAsEditValueTool_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("experience") << "617" << "620";
    QTest::newRow("the header level") << "36" << "36";
    QTest::newRow("from offset 0") << "0" << "3";
    QTest::newRow("three bytes of the name") << "8" << "10";
    QTest::newRow("the last byte") << "699" << "699";
}

void TestCliSameAsWindow::getAsEditValueTool()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QTemporaryDir dir;
    const QString path = dir.filePath(kHero);
    QVERIFY(CharacterFixture().Name("Hero").WriteTo(path));

    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(path));
    CEditValueDlg tool(&doc);
    tool.Create();
    TypeInto(tool, IDC_FIRST_OFFSET, first);
    TypeInto(tool, IDC_LAST_OFFSET, last);
    Click(tool, IDC_GET_VALUE);
    const QString shown = Shown(tool, IDC_VALUE);
    tool.hide();

    const CliResult result = RunCli({QStringLiteral("get"), path, first, last});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, shown + QLatin1Char('\n'));
}

void TestCliSameAsWindow::findAsFindValueTool_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("a one-byte value") << "5";
    QTest::newRow("gold") << "1234";
    QTest::newRow("experience") << "57715";
    QTest::newRow("zero") << "0";
    QTest::newRow("overlapping matches") << "4660";
    QTest::newRow("nowhere") << "3000000000";
}

void TestCliSameAsWindow::findAsFindValueTool()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(kHero);
    // 34 12 34 12 at 700..703: 4660 at 700..701 and again at 702..703.
    QVERIFY(CharacterFixture().Length(704).Byte(700, 0x34).Byte(701, 0x12).Byte(702, 0x34).Byte(703, 0x12)
                .WriteTo(path));

    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(path));
    CFindValueDlg tool(&doc);
    tool.Create();
    TypeInto(tool, IDC_VALUE, value); // every change of the value is a new Find
    QStringList shown;
    while (Shown(tool, IDC_FIRST_OFFSET) != QLatin1String("-1")) {
        shown.append(ShownRange(tool, IDC_FIRST_OFFSET, IDC_LAST_OFFSET));
        Click(tool, IDC_FIND_NEXT);
    }
    tool.hide();

    const CliResult all = RunCli({QStringLiteral("find"), path, value, QStringLiteral("--all")});
    QCOMPARE(all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), shown);
    QCOMPARE(all.exitCode, shown.isEmpty() ? 1 : 0);
    QCOMPARE(all.err, QString());

    const CliResult first = RunCli({QStringLiteral("find"), path, value});
    QCOMPARE(first.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), shown.mid(0, 1));
}

void TestCliSameAsWindow::diffAsCompareTool_data()
{
    QTest::addColumn<QByteArray>("other");
    QTest::newRow("the same file") << CharacterFixture().Build();
    QTest::newRow("two bytes differ") << CharacterFixture().Byte(5, 0).Byte(9, 'a').Build();
    QTest::newRow("10 bytes longer") << CharacterFixture().Length(710).Build();
    QTest::newRow("3 bytes shorter, one byte differs") << CharacterFixture().Length(697).Gold(99).Build();
    QTest::newRow("compared as the load expands it")
        << CharacterFixture().WithoutExperience().WithoutGold().WithoutGoldInStash().Build();
}

void TestCliSameAsWindow::diffAsCompareTool()
{
    QFETCH(QByteArray, other);
    QTemporaryDir dir;
    const QString path = dir.filePath(kHero);
    const QString otherPath = dir.filePath(QStringLiteral("Other.d2s"));
    QVERIFY(CharacterFixture().WriteTo(path));
    QVERIFY(CharacterFixture::WriteFile(otherPath, other));

    ScriptedPrompts prompts;
    CDiablo2Doc doc;
    QVERIFY(doc.OpenFile(path));
    CCompareDlg tool(&doc);
    tool.Create();
    prompts.QueueFile(otherPath);
    Click(tool, IDC_LOAD);
    Click(tool, IDC_FIND);
    QStringList offsets;
    while (Shown(tool, IDC_COMPARE_OFFSET) != QLatin1String("-1")) {
        offsets.append(Shown(tool, IDC_COMPARE_OFFSET));
        Click(tool, IDC_FIND_NEXT);
    }
    tool.hide();

    const CliResult result = RunCli({QStringLiteral("diff"), path, otherPath});
    // As cmp: 1 exactly when there is a difference to list.
    QCOMPARE(result.exitCode, result.out.isEmpty() ? 0 : 1);
    QCOMPARE(result.err, QString());
    QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The size message, shown once by the tool at the end of its walk.
    QStringList messages;
    for (const ScriptedPrompts::Message &message : prompts.messages)
        messages.append(message.caption + QStringLiteral(": ") + message.text);
    if (!messages.isEmpty()) {
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.takeLast(), messages.first());
    }
    QStringList cliOffsets;
    const QByteArray expanded = CharacterFixture().Expanded();
    for (const QString &line : lines) {
        const QString offset = line.section(QLatin1Char(':'), 0, 0);
        cliOffsets.append(offset);
        // Each line also names both bytes.
        const QStringList bytes = line.section(QLatin1String(": "), 1).split(QLatin1Char(' '));
        QCOMPARE(bytes.value(0), QString::number(quint8(expanded[offset.toInt()])));
    }
    QCOMPARE(cliOffsets, offsets);
}

QTEST_MAIN(TestCliSameAsWindow)
#include "tst_cli_sameaswindow.moc"
