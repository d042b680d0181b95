// brennicor-cli beside the window: the same edit writes the same file, show
// prints what the window shows, and a refused command or a dry run leaves every file as it was.

#include "CliRunner.h"
#include "support/WindowHarness.h"

#include "FieldLimits.h"
#include "GameData.h"
#include "PanelFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <functional>

using WindowAction = std::function<void(WindowHarness &)>;
Q_DECLARE_METATYPE(WindowAction)
Q_DECLARE_METATYPE(CharacterFixture)

namespace {

// The box of each number field, as the window lays them out.
int BoxOf(FieldId field)
{
    static const QHash<FieldId, int> boxes = {
        {FieldId::Experience, IDC_EXPERIENCE}, {FieldId::Gold, IDC_GOLD}, {FieldId::GoldInStash, IDC_GOLD_IN_STASH},
        {FieldId::Strength, IDC_STRENGTH}, {FieldId::Dexterity, IDC_DEXTERITY}, {FieldId::Vitality, IDC_VITALITY},
        {FieldId::Energy, IDC_ENERGY}, {FieldId::AttributePointsToAdd, IDC_ATTRIBUTE_POINTS_TO_ADD},
        {FieldId::SkillPointsToAdd, IDC_SKILL_POINTS_TO_ADD}, {FieldId::Health, IDC_HEALTH},
        {FieldId::MaxHealth, IDC_MAX_HEALTH}, {FieldId::Mana, IDC_MANA}, {FieldId::MaxMana, IDC_MAX_MANA},
        {FieldId::Stamina, IDC_STAMINA}, {FieldId::MaxStamina, IDC_MAX_STAMINA}};
    return boxes.value(field);
}

WindowAction Steps(const QList<std::pair<int, int>> &choices, int click = 0, int command = 0)
{
    return [=](WindowHarness &w) {
        for (const auto &[id, index] : choices)
            w.Choose(id, index);
        if (click)
            w.Click(click);
        if (command)
            w.Command(command);
    };
}

CliResult RunOn(const QString &path, QStringList arguments)
{
    arguments.replace(arguments.indexOf(QStringLiteral("FILE")), path);
    return RunCli(arguments);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameFileAsTheWindow_data();
    void sameFileAsTheWindow();
    void showAndJsonWrittenBack();
    void helpKeepsToWhatTheCommandsDo();
    void nothingWritten_data();
    void nothingWritten();
};

void TestCli::sameFileAsTheWindow_data()
{
    QTest::addColumn<CharacterFixture>("fixture");
    QTest::addColumn<QStringList>("arguments"); // FILE stands for the character file
    QTest::addColumn<WindowAction>("window");
    QTest::addColumn<QStringList>("shown"); // lines that show prints for the written file

    const CharacterFixture plain;
    for (const PanelField &field : kPanelFields) {
        // A current value above its maximum, a maximum below its current value.
        const QString value = field.limit == FieldLimits::Pool ? (field.maximum != field.id ? "7000" : "20") : "77777";
        const int box = BoxOf(field.id);
        QTest::addRow("set %s", field.key) << plain << QStringList{"set", "FILE", QString::fromLatin1(field.key) + '=' + value}
                                           << WindowAction([=](WindowHarness &w) { w.Enter(box, value); })
                                           << QStringList{QString::fromLatin1(field.key) + ": " + value};
    }
    QTest::newRow("set on a file stored without gold")
        << CharacterFixture().WithoutGold().WithoutExperience() << QStringList{"set", "FILE", "gold=5"}
        << WindowAction([](WindowHarness &w) { w.Enter(IDC_GOLD, QStringLiteral("5")); }) << QStringList{"gold: 5"};
    QTest::newRow("set level") << plain << QStringList{"set", "FILE", "level=12"} << Steps({{IDC_LEVEL_LIST, 11}})
                               << QStringList{"level: 12", "statLevel: 12", "experience: " + QString::number(LevelExperienceTable[11])};
    QTest::newRow("set class") << plain << QStringList{"set", "FILE", "class=barbarian"} << Steps({{IDC_CLASS, 4}}) << QStringList{"class: Barbarian"};
    QTest::newRow("set a skill") << plain << QStringList{"set", "FILE", "class=Paladin", "skill:smite=20"}
                                 << WindowAction([](WindowHarness &w) {
                                        Steps({{IDC_CLASS, 3}, {IDC_SKILL, 1}})(w);
                                        w.Enter(IDC_SKILL_LEVEL, QStringLiteral("20"));
                                    }) << QStringList{"skill:Smite: 20"};
    QTest::newRow("quest") << plain << QStringList{"quest", "FILE", "hell", "4", "terror's end", "reward"}
                           << Steps({{IDC_DIFFICULTY, 2}, {IDC_ACT, 3}, {IDC_QUEST, 2}, {IDC_QUEST_STATE, 2}})
                           << QStringList{"quest:Hell/Act4/Terror's End: Reward"};
    QTest::newRow("waypoint opens act and difficulty") << plain << QStringList{"waypoint", "FILE", "Hell", "Lut Gholein", "on"}
                                                       << Steps({{IDC_DIFFICULTY, 2}, {IDC_ACT, 1}, {IDC_WAYPOINT, 0}},
                                                                IDC_WAYPOINT_ACTIVE)
                                                       << QStringList{"waypoint:Hell/Act2/Lut Gholein: on", "act:Hell/Act2: open", "difficulty:Hell: open"};
    QTest::newRow("waypoint off") << plain << QStringList{"waypoint", "FILE", "Normal", "Rogue Encampment", "off"}
                                  << Steps({}, IDC_WAYPOINT_ACTIVE) << QStringList{"waypoint:Normal/Act1/Rogue Encampment: off"};

    const CharacterFixture closed = CharacterFixture().DifficultyFlags(0xFF).ActByte(1, 2, 7);
    QTest::newRow("open-all") << closed << QStringList{"open-all", "FILE"} << Steps({}, 0, ID_EDIT_ACTIVATE_ALL_WAYPOINTS)
                           << QStringList{"waypoint:Hell/Act4/River of Flame: on", "act:Nightmare/Act3: open"};
    QTest::newRow("open-all --acts") << closed << QStringList{"open-all", "--acts", "FILE"}
                                     << Steps({}, 0, ID_EDIT_ACTIVATE_ALL_ACTS) << QStringList{"act:Hell/Act4: open"};
    QTest::newRow("open-all --difficulties") << closed << QStringList{"open-all", "FILE", "--difficulties"}
                                             << Steps({}, 0, ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL)
                                             << QStringList{"difficulty:Nightmare: open", "difficulty:Hell: open"};
    QTest::newRow("all-quests-done") << closed << QStringList{"all-quests-done", "FILE"}
                                     << Steps({}, 0, ID_EDIT_ALL_QUESTS_DONE)
                                     << QStringList{"quest:Normal/Act1/Den of Evil: Done", "quest:Hell/Act4/Terror's End: Done"};
    QTest::newRow("max-skills") << plain << QStringList{"max-skills", "FILE"} << Steps({}, 0, ID_EDIT_MAXIMIZE_SKILLS)
                                << QStringList{"skill:Fire Bolt: 20", "skill:Hydra: 20"};
    QTest::newRow("max-attributes") << plain << QStringList{"max-attributes", "FILE"}
                                    << Steps({}, 0, ID_EDIT_MAXIMIZE_ATTRIBUTES)
                                    << QStringList{"strength: 10000", "energy: 10000", "maxMana: 8000", "stamina: 8000", "skillPointsToAdd: 1"};
}

void TestCli::sameFileAsTheWindow()
{
    QFETCH(CharacterFixture, fixture);
    QFETCH(QStringList, arguments);
    QFETCH(WindowAction, window);
    QFETCH(QStringList, shown);

    WindowHarness w;
    w.Open(fixture);
    window(w);
    const QByteArray saved = w.Saved();
    QCOMPARE(w.prompts.Summaries(), QStringList());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(fixture.WriteTo(path));
    const CliResult result = RunOn(path, arguments);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    const QByteArray written = CharacterFixture::ReadFile(path);
    QVERIFY2(written != fixture.Build(), "the command changed nothing");
    QCOMPARE(written, saved);
    const QStringList lines = RunCli({QStringLiteral("show"), path}).out.split(QLatin1Char('\n'));
    for (const QString &line : shown)
        QVERIFY2(lines.contains(line), qPrintable(line));
}

void TestCli::showAndJsonWrittenBack()
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("From.d2s")), to = dir.filePath(QStringLiteral("To.d2s"));
    QVERIFY(CharacterFixture().Name("Hero").Class(3).Level(42).Gold(4242).Health(900).MaxHealth(10).Skill(5, 9)
                .QuestWord(1, 0, 4, 0x06, 0x00).DifficultyFlags(0x10).WaypointSet(2, 1u << 25).WriteTo(from));
    QVERIFY(CharacterFixture().Name("Hero").WriteTo(to));

    const CliResult text = RunCli({QStringLiteral("show"), from});
    QCOMPARE(text.exitCode, 0);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const char *line : {"version: 71", "name: Hero", "class: Paladin", "statLevel: 42", "gold: 4242", "health: 900",
                             "skill:Holy Bolt: 9", "difficulty:Nightmare: closed", "difficulty:Hell: open",
                             "quest:Nightmare/Act1/Tools of the trade: Reward", "waypoint:Hell/Act3/Travincal: on"})
        QVERIFY2(lines.contains(QLatin1String(line)), line);
    QCOMPARE(lines.size(), 5 + PanelFieldCount + 30 + 3 * (1 + 4 + 21 + 30));
    const QString classless = dir.filePath(QStringLiteral("None.d2s"));
    QVERIFY(CharacterFixture().Class(5).WriteTo(classless));
    QVERIFY(RunCli({QStringLiteral("show"), classless}).out.contains(QStringLiteral("\nclass: 5\n")));
    QVERIFY(RunCli({QStringLiteral("show"), QStringLiteral("--json"), classless}).out.contains(QStringLiteral("\"class\": null")));

    // Every number of the JSON goes back in with set under its own key.
    const QJsonObject json =
        QJsonDocument::fromJson(RunCli({QStringLiteral("show"), QStringLiteral("--json"), from}).out.toUtf8())
            .array().at(0).toObject();
    QStringList set{QStringLiteral("set"), to, QStringLiteral("class=") + json.value("class").toString()};
    for (const PanelField &field : kPanelFields)
        set.append(QStringLiteral("%1=%2").arg(field.key).arg(json.value(QLatin1String(field.key)).toInteger()));
    QCOMPARE(RunCli(set).exitCode, 0);
    const QStringList shownAfter = RunCli({QStringLiteral("show"), to}).out.split(QLatin1Char('\n'));
    for (const PanelField &field : kPanelFields)
        QVERIFY2(shownAfter.contains(lines.filter(QLatin1String(field.key) + QStringLiteral(": ")).first()), field.key);
}

// Every limit the help of set names is one that set holds to, and the example
// of put's help writes what it says.
void TestCli::helpKeepsToWhatTheCommandsDo()
{
    const QString setHelp = RunCli({QStringLiteral("set"), QStringLiteral("--help")}).out;
    const QList<quint32> limits{FieldLimits::Value, FieldLimits::Pool, 4294967295u};
    int named = 0;
    for (auto it = QRegularExpression(QStringLiteral("(at most|up to) (\\d+)")).globalMatch(setHelp); it.hasNext(); ++named) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(limits.contains(m.captured(2).toUInt()), qPrintable(m.captured(0)));
    }
    QCOMPARE(named, 4);

    const QRegularExpressionMatch example = QRegularExpression(QStringLiteral("put Hero.d2s (\\d+) (\\d+) (\\d+) writes (\\d+)"))
                                                .match(RunCli({QStringLiteral("put"), QStringLiteral("--help")}).out);
    QVERIFY(example.hasMatch());
    QTemporaryDir dir;
    QVERIFY(CharacterFixture().WriteTo(dir.filePath(QStringLiteral("Hero.d2s"))));
    QCOMPARE(RunCli({"put", "Hero.d2s", example.captured(1), example.captured(2), example.captured(3)}, dir.path()).exitCode, 0);
    QCOMPARE(quint8(CharacterFixture::ReadFile(dir.filePath(QStringLiteral("Hero.d2s")))[example.captured(1).toInt()]),
             example.captured(4).toUInt());
}

void TestCli::nothingWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QByteArray hero = CharacterFixture().Build();
    auto row = [&](const char *name, const QStringList &arguments, const char *message, int status = 1,
                   const QByteArray &file = QByteArray()) {
        QTest::newRow(name) << (file.isNull() ? hero : file) << arguments << status << QString::fromUtf8(message);
    };
    row("a dry run prints what would change", {"set", "FILE", "HEALTH=500", "--dry-run"},
        "health: 300 -> 500\nmaxHealth: 400 -> 500\n", 0);
    row("a dry run of a raw write names the byte", {"put", "FILE", "1", "1", "7", "--dry-run"}, "byte 1: 129 -> 7\n", 0,
        CharacterFixture().Byte(1, 129).Build());
    row("unknown field", {"set", "FILE", "golld=5"}, "brennicor-cli: unknown field \"golld\". See 'brennicor-cli set --help'.", 2);
    row("gold above its limit", {"set", "FILE", "gold=2147483648"},
        "brennicor-cli: gold 2147483648 is more than 2147483647, the most it can hold.");
    row("health above its limit", {"set", "FILE", "health=8192"}, "brennicor-cli: health 8192 is more than 8191, the most it can hold.");
    row("skill level above 20", {"set", "FILE", "skill:Warmth=21"}, "brennicor-cli: skill:Warmth 21 is more than 20, the most it can hold.");
    row("a skill of another class", {"set", "FILE", "skill:Smite=5"}, "brennicor-cli: FILE: Sorceress has no skill \"Smite\".");
    row("a name that is no class", {"set", "FILE", "class=Normal"}, "brennicor-cli: class \"Normal\" is none of");
    row("level 100", {"set", "FILE", "level=100"}, "brennicor-cli: level 100 is not a level from 1 to 99.");
    row("a quest of the next act", {"quest", "FILE", "Normal", "Act1", "Radament's Lair", "Done"},
        "brennicor-cli: quest of Act1 \"Radament's Lair\" is unknown.");
    row("neither on nor off", {"waypoint", "FILE", "Hell", "Jail", "yes"}, "brennicor-cli: \"yes\" is neither on nor off.");
    row("both scopes of open-all", {"open-all", "FILE", "--acts", "--difficulties"},
        "brennicor-cli: give --acts or --difficulties, not both.", 2);
    row("a file too short to hold every field", {"max-skills", "FILE"}, "brennicor-cli: FILE: offset out of range", 1,
        CharacterFixture().Length(660).Build());
}

void TestCli::nothingWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(CharacterFixture::WriteFile(path, file));
    const CliResult result = RunOn(path, arguments);
    QCOMPARE(result.exitCode, status);
    QVERIFY2((result.err + result.out).contains(message.replace(QStringLiteral("FILE"), path)), qPrintable(result.err));
    QCOMPARE(CharacterFixture::ReadFile(path), file);
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
