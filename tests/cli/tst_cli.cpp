// brennicor-cli: show and show --json of version 71 and of several files, help that does what it
// says, and a refused command or a dry run leaves every file as it was. Every edit of every file
// version, beside the same edit in the window, is in tests/contract.

#include "CliRunner.h"
#include "support/CharacterFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showAndJson();
    void helpExampleDoesWhatItSays();
    void nothingWritten_data();
    void nothingWritten();
};

void TestCli::showAndJson()
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("From.d2s")), classless = dir.filePath(QStringLiteral("None.d2s"));
    QVERIFY(CharacterFixture().Name("Hero").Class(3).Level(42).Gold(4242).Health(900).MaxHealth(10).Skill(5, 9)
                .QuestWord(1, 0, 4, 0x06, 0x00).DifficultyFlags(0x10).WaypointSet(2, 1u << 25).WriteTo(from));
    QVERIFY(CharacterFixture().Class(5).Name("a\x01" "b\x1b" "c\\\x9b").WriteTo(classless));

    const CliResult text = RunCli({QStringLiteral("show"), from});
    QCOMPARE(text.exitCode, 0);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const char *line : {"version: 71", "name: Hero", "class: Paladin", "statLevel: 42", "gold: 4242", "health: 900",
                             "skill:Holy Bolt: 9", "difficulty:Nightmare: closed", "difficulty:Hell: open",
                             "quest:Nightmare/Act1/Tools of the trade: Reward", "waypoint:Hell/Act3/Travincal: on"})
        QVERIFY2(lines.contains(QLatin1String(line)), line);
    // Hardcore, died, expansion, progression; per difficulty: itself, four acts, 6+6+6+3 quests,
    // 9+9+9+3 waypoints; the mercenary, which version 71 does not place.
    QCOMPARE(lines.size(), 5 + 4 + 15 + 30 + 3 * (1 + 4 + 21 + 30) + 1);
    QVERIFY(lines.contains(QLatin1String("mercenary: not known in version 71")));
    // A name's control characters, which could drive the terminal, and its backslashes are printed escaped.
    QVERIFY(RunCli({"show", classless}).out.contains("\nname: a\\u0001b\\u001bc\\\\\\u009b\nclass: 5\n"));
    // Files named together, one missing, one of version 96, one classless whose name JSON escapes:
    // one array of those that load, in order, laid out as QJsonDocument lays it out.
    const QString odd = dir.filePath(QStringLiteral("H\u00e9\"r\\o\t\u001f\U0001D11E.d2s"));
    QVERIFY(QFile::copy(classless, odd));
    const CliResult all = RunCli({"show", "--json", from, dir.filePath("nope.d2s"), qEnvironmentVariable("QUARVINEL_TEST_DATA") + "/v96_sorceress_level94.d2s", odd});
    const QJsonArray shown = QJsonDocument::fromJson(all.out.toUtf8()).array();
    QCOMPARE(all.out.toUtf8(), QJsonDocument(shown).toJson());
    QVERIFY(all.exitCode == 1 && shown.size() == 3 && shown[2]["class"].isNull());
    QCOMPARE(shown[0]["difficulties"][2]["acts"][3]["waypoints"].toArray().size(), 3);
    QCOMPARE(shown[2]["file"].toString(), odd);
}

// The example in put's help, run as it stands, writes what the help says.
void TestCli::helpExampleDoesWhatItSays()
{
    const QRegularExpressionMatch example = QRegularExpression(QStringLiteral("put Hero.d2s (\\d+) (\\d+) (\\d+) writes (\\d+)"))
                                                .match(RunCli({QStringLiteral("put"), QStringLiteral("--help")}).out);
    QVERIFY(example.hasMatch());
    QTemporaryDir dir;
    QVERIFY(CharacterFixture().WriteTo(dir.filePath(QStringLiteral("Hero.d2s"))));
    QCOMPARE(RunCli({"put", "Hero.d2s", example.captured(1), example.captured(2), example.captured(3)}, dir.path()).exitCode, 0);
    QCOMPARE(quint8(CharacterFixture::ReadFile(dir.filePath("Hero.d2s"))[example.captured(1).toInt()]), example.captured(4).toUInt());
    // Backup's and restore's help show which way each copies.
    QVERIFY(RunCli({"backup", "--help"}).out.contains("(Hero.d2s -> Hero.bak)") && RunCli({"restore", "--help"}).out.contains("(Hero.d2s <- Hero.bak)"));
    // set's help names every class it takes, quest's the fifth act.
    const QString setHelp = RunCli({"set", "--help"}).out;
    for (const char *name : {"Amazon", "Sorceress", "Necromancer", "Paladin", "Barbarian", "Druid", "Assassin", "Warlock"})
        QVERIFY2(setHelp.contains(QLatin1String(name)), name);
    QVERIFY(RunCli({"quest", "--help"}).out.contains("Act5"));
}

void TestCli::nothingWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed"); // all it prints; FILE stands for the character file's path

    auto row = [&](const char *name, const QStringList &arguments, const char *printed, int status = 1,
                   const QByteArray &file = QByteArray()) {
        QTest::newRow(name) << (file.isNull() ? CharacterFixture().Build() : file) << arguments << status << QString::fromUtf8(printed) + (*printed ? "\n" : "");
    };
    row("a dry run prints what would change", {"set", "FILE", "HEALTH=500", "--dry-run"},
        "health: 300 -> 500\nmaxHealth: 400 -> 500", 0);
    row("a dry run of a raw write names the byte", {"put", "FILE", "1", "1", "7", "--dry-run"}, "byte 1: 129 -> 7", 0,
        CharacterFixture().Byte(1, 129).Build());
    row("a skill with no name", {"set", "FILE", "skill:=5"}, "brennicor-cli: \"skill:\" names no skill.");
    row("a skill of another class, after a good one", {"set", "FILE", "gold=5", "skill:Smite=5"},
        "brennicor-cli: FILE: Sorceress has no skill \"Smite\".");
    row("skill position 30", {"set", "FILE", "skill:30=5"}, "brennicor-cli: FILE: Sorceress has no skill \"30\".");
    row("a name that is no class", {"set", "FILE", "class=Normal"},
        "brennicor-cli: class \"Normal\" is none of Amazon, Sorceress, Necromancer, Paladin, Barbarian, Druid, Assassin, Warlock.");
    row("level 100", {"set", "FILE", "level=100"}, "brennicor-cli: level 100 is not a level from 1 to 99.");
    row("a quest of the next act", {"quest", "FILE", "Normal", "Act1", "Radament's Lair", "Done"},
        "brennicor-cli: quest of Act1 \"Radament's Lair\" is unknown.");
    row("a difficulty of one letter that does not exist: no suggestion", {"quest", "FILE", "E", "Act1", "Den of Evil", "Done"},
        "brennicor-cli: difficulty \"E\" is unknown.");
    row("a waypoint that does not exist", {"waypoint", "FILE", "Hell", "Nowhere", "on"},
        "brennicor-cli: waypoint \"Nowhere\" is unknown.");
    row("a misspelt quest: the nearest name", {"quest", "FILE", "Normal", "Act1", "Den of Evl", "Done"},
        "brennicor-cli: quest of Act1 \"Den of Evl\" is unknown. Did you mean \"Den of Evil\"?");
    row("a misspelt skill: the nearest name", {"set", "FILE", "skill:Wrmth=5"},
        "brennicor-cli: FILE: Sorceress has no skill \"Wrmth\". Did you mean \"Warmth\"?");
    row("a class byte of no class names no skill", {"set", "FILE", "skill:Skill 1=5"},
        "brennicor-cli: FILE: class 7 has no skill \"Skill 1\".", 1, CharacterFixture().Class(7).Build());
    row("the game's spelling of a skill", {"set", "FILE", "skill:telekinesis=5", "--dry-run"},
        "skill:Telekenesis: 8 -> 5", 0);
    row("the first class's skill by its name", {"set", "FILE", "skill:magic arrow=5", "--dry-run"}, "skill:Magic Arrow: 1 -> 5", 0,
        CharacterFixture().Class(0).Build());
    row("the game's spelling of a waypoint", {"waypoint", "FILE", "Hell", "palace cellar", "on", "--dry-run"},
        "progression: 0 -> 16\ndifficulty:Hell: closed -> open\nact:Hell/Act2: closed -> open\nwaypoint:Hell/Act2/Pallace Cellar: off -> on", 0);
    row("neither on nor off", {"waypoint", "FILE", "Hell", "Jail", "yes"}, "brennicor-cli: \"yes\" is neither on nor off.");
    row("get past the end of the file", {"get", "FILE", "700", "703"}, "brennicor-cli: FILE: offset out of range");
    row("put at an offset that is no number", {"put", "FILE", "x", "1", "7"}, "brennicor-cli: first offset \"x\": Please enter a positive integer.");
    row("both scopes of open-all", {"open-all", "FILE", "--acts", "--difficulties"},
        "brennicor-cli: give --acts or --difficulties, not both.", 2);
    row("a file too short to hold every field", {"max-skills", "FILE"}, "brennicor-cli: FILE: offset out of range", 1,
        CharacterFixture().Length(660).Build());
    row("a new name of 15 letters", {"rename", "FILE", "Abcdefghijklmno"},
        "brennicor-cli: Please enter no more than 14 characters.");
    // The rename box checks the length before the letters; so does the command line.
    row("a new name of 15 characters, one a digit", {"rename", "FILE", "Abcdefghijklmn0"},
        "brennicor-cli: Please enter no more than 14 characters.");
    // The game's rule for a name follows the file's version: letters up to 89; from 92 on, 15 with one - or _ inside.
    const auto sample = [](const char *name) { return CharacterFixture::ReadFile(qEnvironmentVariable("QUARVINEL_TEST_DATA") + '/' + name); };
    row("version 92: a digit", {"rename", "FILE", "Thor1"},
        "brennicor-cli: This is not a valid Diablo2 character name. Try to use only a-z, A-Z and one - or _.", 1, sample("v92_barbarian_new.d2s"));
    row("version 96: 16 characters", {"rename", "FILE", "Thor_isMYbitchhh"},
        "brennicor-cli: Please enter no more than 15 characters.", 1, sample("v96_sorceress_level94.d2s"));
    row("version 105: a - and a _", {"rename", "FILE", "Thor-isMY_bitch"}, "brennicor-cli: This is not a valid Diablo2 character name. "
        "Use at most one - or _, and neither first nor last.", 1, sample("v105_barbarian_new.d2s"));
    row("a value one past 32 bits", {"put", "FILE", "600", "603", " +4294967296 "},
        "brennicor-cli: value +4294967296 is more than 4294967295, the most it can hold.");
    row("a value with a sign after its plus", {"put", "FILE", "600", "603", "+-1"},
        "brennicor-cli: value \"+-1\": Please enter a positive integer.");
    row("find a value stored nowhere", {"find", "FILE", "4000000001"}, "");
    row("a backup where a folder stands", {"backup", "FILE"},
        "brennicor-cli: FILE: Failed to save document. FILE.bak: it is a folder, not a regular file");
}

void TestCli::nothingWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, printed);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero"));
    QVERIFY(CharacterFixture::WriteFile(path + ".d2s", file) && QDir(dir.path()).mkdir(QStringLiteral("Hero.bak")));
    arguments.replace(arguments.indexOf(QStringLiteral("FILE")), path + ".d2s");
    const CliResult result = RunCli(arguments);
    QCOMPARE(result.err + result.out, printed.replace(QStringLiteral("FILE.bak"), path + ".bak").replace(QStringLiteral("FILE"), path + ".d2s"));
    QCOMPARE(result.exitCode, status);
    QCOMPARE(CharacterFixture::ReadFile(path + ".d2s"), file);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"Hero.bak", "Hero.d2s"}));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
