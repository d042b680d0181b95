// What `show` prints, as text and JSON; the JSON written back field by field
// with `set` and `quest` gives the same character; dry runs; several files in
// one call; --help of every command.

#include "CliRunner.h"

#include "support/CharacterFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kHero = QStringLiteral("Hero.d2s");

QStringList Lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The one object that `show --json` prints for one file.
QJsonObject ShownObject(const QString &path)
{
    const CliResult result = RunCli({QStringLiteral("show"), path, QStringLiteral("--json")});
    const QJsonDocument json = QJsonDocument::fromJson(result.out.toUtf8());
    if (result.exitCode != 0 || !json.isArray() || json.array().size() != 1)
        return QJsonObject();
    return json.array().first().toObject();
}

// The numbers of the character panel, in the order show lists them: a current
// value before its maximum, so that writing them back in this order restores
// a maximum that is below its current value.
const char *const kPanelKeys[] = {
    "experience", "gold", "goldInStash", "strength", "dexterity", "vitality", "energy",
    "attributePointsToAdd", "skillPointsToAdd", "health", "maxHealth", "mana", "maxMana",
    "stamina", "maxStamina",
};

QJsonArray Quests(const QJsonObject &character, int difficulty, int act)
{
    return character.value(QStringLiteral("difficulties")).toArray().at(difficulty).toObject()
        .value(QStringLiteral("acts")).toArray().at(act).toObject().value(QStringLiteral("quests")).toArray();
}

} // namespace

class TestCliShow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsEveryValue();
    void showsAClassByteOfNoClass();
    void jsonWrittenBackGivesTheSameCharacter_data();
    void jsonWrittenBackGivesTheSameCharacter();
    void dryRunPrintsAndWritesNothing_data();
    void dryRunPrintsAndWritesNothing();
    void severalFilesInOneCall();
    void helpOfEveryCommand_data();
    void helpOfEveryCommand();
};

void TestCliShow::showsEveryValue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kHero);
    QVERIFY(CharacterFixture()
                .Name("Hero").Class(3).Level(42).Gold(4242).Experience(23710491).Health(9000).MaxHealth(10)
                .Skill(5, 9).QuestWord(1, 0, 4, 0x06, 0x00).QuestWord(2, 3, 2, 0x00, 0x10)
                .DifficultyFlags(0x10).ActByte(2, 2, 1).WaypointSet(2, 1u << 25)
                .WithoutSkillPoints().WriteTo(path));

    const CliResult text = RunCli({QStringLiteral("show"), path});
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(text.err, QString());
    const QStringList lines = Lines(text.out);
    const QStringList expected = {
        "name: Hero", "class: Paladin", "level: 42", "statLevel: 42", "experience: 23710491", "gold: 4242",
        "skillPointsToAdd: 0", "health: 9000", "maxHealth: 10", "skill:Holy Bolt: 9",
        "difficulty:Normal: open", "difficulty:Nightmare: closed", "difficulty:Hell: open",
        "act:Normal/Act1: open", "act:Hell/Act2: closed", "act:Hell/Act3: open",
        "quest:Nightmare/Act1/Tools of the trade: Reward", "quest:Hell/Act4/Terror's End: Done",
        "quest:Normal/Act1/Den of Evil: Not Started", "waypoint:Normal/Act1/Rogue Encampment: on",
        "waypoint:Hell/Act3/Travincal: on", "waypoint:Hell/Act3/Upper Kurast: off",
    };
    for (const QString &line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line));
    // version, 4 + 15 numbers + 30 skills + 3 × (1 difficulty + 4 acts + 21 quests + 30 waypoints)
    QCOMPARE(lines.size(), 1 + 1 + 3 + 15 + 30 + 3 * (1 + 4 + 21 + 30));

    const QJsonObject json = ShownObject(path);
    QCOMPARE(json.value("file").toString(), path);
    QCOMPARE(json.value("name").toString(), QStringLiteral("Hero"));
    QCOMPARE(json.value("class").toString(), QStringLiteral("Paladin"));
    QCOMPARE(json.value("level").toInt(), 42);
    QCOMPARE(json.value("experience").toInteger(), 23710491);
    QCOMPARE(json.value("gold").toInteger(), 4242);
    QCOMPARE(json.value("health").toInteger(), 9000);
    QCOMPARE(json.value("maxHealth").toInteger(), 10);
    const QJsonObject skill = json.value("skills").toArray().at(5).toObject();
    QCOMPARE(skill.value("name").toString(), QStringLiteral("Holy Bolt"));
    QCOMPARE(skill.value("level").toInt(), 9);
    const QJsonArray difficulties = json.value("difficulties").toArray();
    QCOMPARE(difficulties.size(), 3);
    QCOMPARE(difficulties.at(1).toObject().value("open").toBool(), false);
    QCOMPARE(difficulties.at(2).toObject().value("open").toBool(), true);
    const QJsonObject hellAct3 = difficulties.at(2).toObject().value("acts").toArray().at(2).toObject();
    QCOMPARE(hellAct3.value("open").toBool(), true);
    QCOMPARE(hellAct3.value("waypoints").toArray().at(7).toObject(),
             QJsonObject({{"name", "Travincal"}, {"active", true}}));
    QCOMPARE(Quests(json, 1, 0).at(4).toObject(),
             QJsonObject({{"name", "Tools of the trade"}, {"state", "Reward"}}));
    QCOMPARE(Quests(json, 2, 3).size(), 3);
}

void TestCliShow::showsAClassByteOfNoClass()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kHero);
    QVERIFY(CharacterFixture().Class(7).Skill(0, 4).WriteTo(path));
    const CliResult text = RunCli({QStringLiteral("show"), path});
    QCOMPARE(text.exitCode, 0);
    QVERIFY(Lines(text.out).contains(QStringLiteral("class: 7")));
    QVERIFY(Lines(text.out).contains(QStringLiteral("skill:0: 4")));
    const QJsonObject json = ShownObject(path);
    QVERIFY(json.value("class").isNull());
    QCOMPARE(json.value("classByte").toInt(), 7);
    QVERIFY(json.value("skills").toArray().at(0).toObject().value("name").isNull());
}

void TestCliShow::jsonWrittenBackGivesTheSameCharacter_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("a Barbarian at level 57")
        << CharacterFixture().Name("Hero").Class(4).Level(57).Experience(89904191).Gold(2147483647)
               .GoldInStash(0).Strength(100).Dexterity(101).Vitality(102).Energy(103).AttributePointsToAdd(9)
               .SkillPointsToAdd(8).Health(1).MaxHealth(8191).Mana(2).MaxMana(3).Stamina(4).MaxStamina(5)
               .AllSkills(20).Skill(0, 0).Skill(17, 13).QuestWord(0, 0, 0, 0x07, 0x10)
               .QuestWord(1, 2, 5, 0x04, 0).QuestWord(2, 3, 1, 0x06, 0).Build();
    QTest::newRow("maxima below their current values")
        << CharacterFixture().Name("Hero").Class(0).Level(1).Experience(0).Health(8000).MaxHealth(2)
               .Mana(700).MaxMana(0).Stamina(300).MaxStamina(299).Build();
    QTest::newRow("stored without the optional values")
        << CharacterFixture().Name("Hero").Class(2).Level(99).Without(CharacterFixture::Optional::All).Build();
}

void TestCliShow::jsonWrittenBackGivesTheSameCharacter()
{
    QFETCH(QByteArray, source);
    QTemporaryDir dir;
    const QString sourcePath = dir.filePath(QStringLiteral("Source.d2s"));
    const QString targetPath = dir.filePath(kHero);
    QVERIFY(CharacterFixture::WriteFile(sourcePath, source));
    QVERIFY(CharacterFixture().Name("Hero").WriteTo(targetPath));

    const QJsonObject shown = ShownObject(sourcePath);
    QVERIFY(!shown.isEmpty());

    // Every named value of the panel, in the order show lists them.
    QStringList set = {QStringLiteral("set"), targetPath};
    set.append(QStringLiteral("class=") + shown.value("class").toString());
    set.append(QStringLiteral("level=%1").arg(shown.value("level").toInt()));
    for (const char *key : kPanelKeys)
        set.append(QStringLiteral("%1=%2").arg(QLatin1String(key)).arg(shown.value(QLatin1String(key)).toInteger()));
    const QJsonArray skills = shown.value("skills").toArray();
    for (qsizetype i = 0; i < skills.size(); ++i)
        set.append(QStringLiteral("skill:%1=%2").arg(i).arg(skills.at(i).toObject().value("level").toInt()));
    const CliResult written = RunCli(set);
    QCOMPARE(written.err, QString());
    QCOMPARE(written.exitCode, 0);

    // Every quest whose state differs, one quest command each.
    const QJsonObject before = ShownObject(targetPath);
    const QJsonArray difficulties = shown.value("difficulties").toArray();
    for (int d = 0; d < 3; ++d) {
        const QJsonArray acts = difficulties.at(d).toObject().value("acts").toArray();
        for (int a = 0; a < 4; ++a) {
            const QJsonArray quests = Quests(shown, d, a);
            for (int q = 0; q < quests.size(); ++q) {
                const QJsonObject quest = quests.at(q).toObject();
                if (quest == Quests(before, d, a).at(q).toObject())
                    continue;
                const CliResult result = RunCli({QStringLiteral("quest"), targetPath,
                                                 difficulties.at(d).toObject().value("name").toString(),
                                                 acts.at(a).toObject().value("name").toString(),
                                                 quest.value("name").toString(), quest.value("state").toString()});
                QCOMPARE(result.exitCode, 0);
            }
        }
    }

    QJsonObject after = ShownObject(targetPath);
    after.insert(QStringLiteral("file"), sourcePath);
    // The values the source left out were written into the target.
    after.insert(QStringLiteral("absentFromFile"), shown.value("absentFromFile"));
    QCOMPARE(after, shown);
}

void TestCliShow::dryRunPrintsAndWritesNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the file
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("set") << QStringList{"set", "gold=5000", "health=450", "gold=6000"}
                         << QStringList{"gold: 1234 -> 6000", "health: 300 -> 450", "maxHealth: 400 -> 450"};
    QTest::newRow("a class change renames no unchanged skill")
        << QStringList{"set", "class=Amazon", "skill:jab=20"}
        << QStringList{"class: Sorceress -> Amazon", "skill:Jab: 5 -> 20"};
    QTest::newRow("the same value") << QStringList{"set", "gold=1234"} << QStringList{"no change"};
    QTest::newRow("a byte no field holds") << QStringList{"put", "100", "100", "300"}
                                           << QStringList{"byte 100: 228 -> 44"};
    QTest::newRow("a quest") << QStringList{"quest", "Hell", "Act4", "Hell's Forge", "Done"}
                             << QStringList{"quest:Hell/Act4/Hell's Forge: Not Started -> Done"};
    QTest::newRow("a waypoint with its act and difficulty")
        << QStringList{"waypoint", "Nightmare", "Sewers", "on"}
        << QStringList{"difficulty:Nightmare: closed -> open", "act:Nightmare/Act2: closed -> open",
                       "waypoint:Nightmare/Act2/Sewers: off -> on"};
}

void TestCliShow::dryRunPrintsAndWritesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, printed);
    QTemporaryDir dir;
    const QByteArray file = CharacterFixture().Build();
    QVERIFY(CharacterFixture::WriteFile(dir.filePath(kHero), file));

    arguments.insert(1, kHero);
    arguments.append(QStringLiteral("--dry-run"));
    const CliResult result = RunCli(arguments, dir.path());
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(Lines(result.out), printed);
    QCOMPARE(FolderContents(dir.path()).keys(), QStringList{kHero});
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath(kHero)), file);
}

void TestCliShow::severalFilesInOneCall()
{
    QTemporaryDir dir;
    const QByteArray a = CharacterFixture().Name("Amy").Gold(1).Build();
    const QByteArray b = CharacterFixture().Name("Bob").Gold(2).WithoutGold().Build();
    QVERIFY(CharacterFixture::WriteFile(dir.filePath("Amy.d2s"), a));
    QVERIFY(CharacterFixture::WriteFile(dir.filePath("Bob.d2s"), b));

    const CliResult set = RunCli({"set", "Amy.d2s", "Bob.d2s", "gold=77", "skill:Warmth=20"}, dir.path());
    QCOMPARE(set.exitCode, 0);
    QCOMPARE(set.out, QString());
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath("Amy.d2s")),
             CharacterFixture().Name("Amy").Gold(77).Skill(1, 20).Build());
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath("Bob.d2s")),
             CharacterFixture().Name("Bob").Gold(77).Skill(1, 20).Build()); // saved expanded

    const CliResult show = RunCli({"show", "Amy.d2s", "Bob.d2s"}, dir.path());
    QCOMPARE(show.exitCode, 0);
    const QStringList lines = Lines(show.out);
    QVERIFY(lines.contains("Amy.d2s: name: Amy"));
    QVERIFY(lines.contains("Bob.d2s: name: Bob"));
    QVERIFY(lines.contains("Bob.d2s: gold: 77"));

    const CliResult get = RunCli({"get", "Amy.d2s", "Bob.d2s", "621", "624"}, dir.path());
    QCOMPARE(Lines(get.out), QStringList({"Amy.d2s: 77", "Bob.d2s: 77"}));

    const CliResult json = RunCli({"show", "--json", "Amy.d2s", "Bob.d2s"}, dir.path());
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(array.size(), 2);
    QCOMPARE(array.at(1).toObject().value("name").toString(), QStringLiteral("Bob"));
}

void TestCliShow::helpOfEveryCommand_data()
{
    QTest::addColumn<QString>("command");
    for (const char *command : {"show", "set", "quest", "waypoint", "open-all", "all-quests-done", "max-skills",
                                "max-attributes", "backup", "restore", "rename", "get", "put", "find", "diff"})
        QTest::newRow(command) << QString::fromLatin1(command);
}

void TestCliShow::helpOfEveryCommand()
{
    QFETCH(QString, command);
    const CliResult general = RunCli({QStringLiteral("--help")});
    QCOMPARE(general.exitCode, 0);
    QVERIFY(general.out.contains(QStringLiteral("\n  ") + command + QLatin1Char(' ')));

    const CliResult help = RunCli({command, QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.err, QString());
    QVERIFY2(help.out.startsWith(QStringLiteral("Usage: brennicor-cli ") + command + QLatin1Char(' ')),
             qPrintable(help.out));
    QVERIFY(Lines(help.out).size() > 4);
    QCOMPARE(RunCli({QStringLiteral("help"), command}).out, help.out);
    // --help wins over missing arguments and touches no file.
    QCOMPARE(RunCli({command, QStringLiteral("nowhere.d2s"), QStringLiteral("-h")}).out, help.out);
}

QTEST_GUILESS_MAIN(TestCliShow)
#include "tst_cli_show.moc"
