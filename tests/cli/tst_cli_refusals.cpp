// Bad input: each refusal prints its message on standard error, ends with a
// non-zero status, and leaves every file of the folder as it was — also the
// files of the same call that were fine.

#include "CliRunner.h"

#include "support/CharacterFixture.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

using Files = QMap<QString, QByteArray>;

} // namespace

class TestCliRefusals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedAndNothingWritten_data();
    void refusedAndNothingWritten();
    void notFoundIsNoError();
};

void TestCliRefusals::refusedAndNothingWritten_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("arguments"); // run in the folder of the files
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // a line of standard error

    const QByteArray sorceress = CharacterFixture().Name("Hero").Build();
    const Files hero = {{"Hero.d2s", sorceress}};
    const Files heroAndBob = {{"Hero.d2s", sorceress}, {"Bob.d2s", CharacterFixture().Name("Bob").Class(3).Build()}};
    // 660 bytes: one short of the last skill byte.
    const Files shortFile = {{"Hero.d2s", sorceress}, {"Short.d2s", CharacterFixture().Length(660).Build()}};
    const Files emptyFile = {{"Empty.d2s", QByteArray()}};
    const Files tooShortToExpand = {{"Tiny.d2s", CharacterFixture().Length(600).WithoutGold().Build()}};

    // Fields and values of set
    QTest::newRow("unknown field") << hero << QStringList{"set", "Hero.d2s", "golld=5"} << 2
                                   << "brennicor-cli: unknown field \"golld\". See 'brennicor-cli set --help'.";
    QTest::newRow("gold above its limit") << hero << QStringList{"set", "Hero.d2s", "gold=2147483648"} << 1
                                          << "brennicor-cli: gold 2147483648 is more than 2147483647, the most it can hold.";
    QTest::newRow("health above its limit") << hero << QStringList{"set", "Hero.d2s", "health=8192"} << 1
                                            << "brennicor-cli: health 8192 is more than 8191, the most it can hold.";
    QTest::newRow("maximum above its limit") << hero << QStringList{"set", "Hero.d2s", "maxStamina=9000"} << 1
                                             << "brennicor-cli: maxStamina 9000 is more than 8191, the most it can hold.";
    QTest::newRow("skill level above 20") << hero << QStringList{"set", "Hero.d2s", "skill:Warmth=21"} << 1
                                          << "brennicor-cli: skill:Warmth 21 is more than 20, the most it can hold.";
    QTest::newRow("level 0") << hero << QStringList{"set", "Hero.d2s", "level=0"} << 1
                             << "brennicor-cli: level 0 is not a level from 1 to 99.";
    QTest::newRow("level 100") << hero << QStringList{"set", "Hero.d2s", "level=100"} << 1
                               << "brennicor-cli: level 100 is not a level from 1 to 99.";
    QTest::newRow("not a number") << hero << QStringList{"set", "Hero.d2s", "gold=12a"} << 1
                                  << "brennicor-cli: gold \"12a\": Please enter a positive integer.";
    QTest::newRow("a negative number") << hero << QStringList{"set", "Hero.d2s", "experience=-1"} << 1
                                       << "brennicor-cli: experience \"-1\": Please enter a positive integer.";
    QTest::newRow("more than 32 bits") << hero << QStringList{"set", "Hero.d2s", "experience=4294967296"} << 1
                                       << "brennicor-cli: experience 4294967296 is larger than 4294967295.";
    QTest::newRow("unknown class") << hero << QStringList{"set", "Hero.d2s", "class=Druid"} << 1
                                   << "brennicor-cli: class \"Druid\" is none of Amazon, Sorceress, Necromancer, Paladin, "
                                      "Barbarian.";
    QTest::newRow("a skill of another class") << hero << QStringList{"set", "Hero.d2s", "skill:Smite=5"} << 1
                                              << "brennicor-cli: Hero.d2s: Sorceress has no skill \"Smite\".";
    QTest::newRow("skill position 30") << hero << QStringList{"set", "Hero.d2s", "skill:30=5"} << 1
                                       << "brennicor-cli: Hero.d2s: Sorceress has no skill \"30\".";
    QTest::newRow("a later step fails in one file of two")
        << heroAndBob << QStringList{"set", "Bob.d2s", "Hero.d2s", "gold=5", "skill:Warmth=3"}
        << 1 << "brennicor-cli: Bob.d2s: Paladin has no skill \"Warmth\".";
    QTest::newRow("nothing to set") << heroAndBob << QStringList{"set", "Hero.d2s", "Bob.d2s"} << 2
                                    << "brennicor-cli: give one or more files and one or more FIELD=VALUE. "
                                       "Try 'brennicor-cli set --help'.";

    // Files that cannot be loaded, alone or beside good ones
    QTest::newRow("missing file") << hero << QStringList{"set", "Hero.d2s", "Missing.d2s", "gold=5"} << 1
                                  << "brennicor-cli: Missing.d2s: Failed to open document";
    QTest::newRow("short file") << shortFile << QStringList{"set", "Hero.d2s", "Short.d2s", "gold=5"} << 1
                                << "brennicor-cli: Short.d2s: offset out of range";
    QTest::newRow("short file shown") << shortFile << QStringList{"show", "Short.d2s"} << 1
                                      << "brennicor-cli: Short.d2s: offset out of range";
    QTest::newRow("empty file") << emptyFile << QStringList{"max-skills", "Empty.d2s"} << 1
                                << "brennicor-cli: Empty.d2s: offset out of range";
    QTest::newRow("too short for its stat block") << tooShortToExpand << QStringList{"open-all", "Tiny.d2s"}
                                                  << 1 << "brennicor-cli: Tiny.d2s: offset out of range";
    QTest::newRow("backup of a short file") << shortFile << QStringList{"backup", "Hero.d2s", "Short.d2s"} << 1
                                            << "brennicor-cli: Short.d2s: offset out of range";
    QTest::newRow("a folder") << hero << QStringList{"show", "."} << 1
                              << "brennicor-cli: .: Failed to open document";

    // Raw tools
    QTest::newRow("put past the end") << hero << QStringList{"put", "Hero.d2s", "698", "701", "5"} << 1
                                      << "brennicor-cli: Hero.d2s: offset out of range";
    QTest::newRow("put over 5 bytes") << hero << QStringList{"put", "Hero.d2s", "10", "14", "5"} << 1
                                      << "brennicor-cli: Hero.d2s: an UINTerger can only hold 4 bytes of data";
    QTest::newRow("get over 5 bytes") << hero << QStringList{"get", "Hero.d2s", "10", "14"} << 1
                                      << "brennicor-cli: Hero.d2s: an UINT can only hold 4 bytes of data";
    QTest::newRow("get backwards") << hero << QStringList{"get", "Hero.d2s", "20", "19"} << 1
                                   << "brennicor-cli: Hero.d2s: negative delta offset";
    QTest::newRow("get past the end") << hero << QStringList{"get", "Hero.d2s", "700", "700"} << 1
                                      << "brennicor-cli: Hero.d2s: offset out of range";
    QTest::newRow("put a value that is no number") << hero << QStringList{"put", "Hero.d2s", "1", "1", "x"} << 1
                                                   << "brennicor-cli: value \"x\": Please enter a positive integer.";
    QTest::newRow("diff with an empty file") << Files{{"Hero.d2s", sorceress}, {"Empty.d2s", QByteArray()}}
                                             << QStringList{"diff", "Hero.d2s", "Empty.d2s"} << 2
                                             << "brennicor-cli: Empty.d2s: You must open a character first!";
    QTest::newRow("diff with a file too short to load")
        << Files{{"Hero.d2s", sorceress}, {"Tiny.d2s", QByteArray(100, 'x')}}
        << QStringList{"diff", "Hero.d2s", "Tiny.d2s"} << 2 << "brennicor-cli: Tiny.d2s: offset out of range";

    // Quests and waypoints
    QTest::newRow("unknown quest state") << hero << QStringList{"quest", "Hero.d2s", "Normal", "1", "Den of Evil", "Finished"}
                                         << 1 << "brennicor-cli: quest state \"Finished\" is unknown.";
    QTest::newRow("a quest of another act") << hero
                                            << QStringList{"quest", "Hero.d2s", "Normal", "Act2", "Den of Evil", "Done"}
                                            << 1 << "brennicor-cli: quest of Act2 \"Den of Evil\" is unknown.";
    QTest::newRow("unknown difficulty") << hero << QStringList{"waypoint", "Hero.d2s", "Easy", "Jail", "on"} << 1
                                        << "brennicor-cli: difficulty \"Easy\" is unknown.";
    QTest::newRow("neither on nor off") << hero << QStringList{"waypoint", "Hero.d2s", "Hell", "Jail", "yes"} << 1
                                        << "brennicor-cli: \"yes\" is neither on nor off.";

    // Backup, restore, rename
    QTest::newRow("restore without a backup") << hero << QStringList{"restore", "Hero.d2s"} << 1
                                              << "brennicor-cli: Hero.d2s: Can't open backup file.";
    QTest::newRow("restore of a short backup")
        << Files{{"Hero.d2s", sorceress}, {"Hero.bak", CharacterFixture().Length(640).Build()}}
        << QStringList{"restore", "Hero.d2s"} << 1 << "brennicor-cli: Hero.d2s: offset out of range";
    QTest::newRow("rename to a name with a digit") << hero << QStringList{"rename", "Hero.d2s", "Zed9"} << 1
                                                   << "brennicor-cli: This is not a valid Diablo2 character name. "
                                                      "Try to use only a-z, A-Z.";
    QTest::newRow("rename to an empty name") << hero << QStringList{"rename", "Hero.d2s", ""} << 1
                                             << "brennicor-cli: This is not a valid Diablo2 character name. "
                                                "Try to use only a-z, A-Z.";
    QTest::newRow("rename to 15 letters") << hero << QStringList{"rename", "Hero.d2s", "Abcdefghijklmno"} << 1
                                          << "brennicor-cli: Please enter no more than 14 characters.";
    QTest::newRow("rename to the same name") << hero << QStringList{"rename", "Hero.d2s", "Hero"} << 1
                                             << "brennicor-cli: Hero.d2s: File already exist. Try a different "
                                                "character name.";
    QTest::newRow("rename onto a companion file")
        << Files{{"Hero.d2s", sorceress}, {"Hero.key", "key"}, {"Zed.key", "other key"}}
        << QStringList{"rename", "Hero.d2s", "Zed"} << 1
        << "brennicor-cli: Hero.d2s: File already exist. Try a different character name.";
    QTest::newRow("rename a short file") << shortFile << QStringList{"rename", "Short.d2s", "Zed"} << 1
                                         << "brennicor-cli: Short.d2s: offset out of range";

    // The command line itself
    QTest::newRow("unknown command") << hero << QStringList{"frobnicate", "Hero.d2s"} << 2
                                     << "brennicor-cli: unknown command \"frobnicate\". Try 'brennicor-cli --help'.";
    QTest::newRow("unknown option") << hero << QStringList{"show", "--xml", "Hero.d2s"} << 2
                                    << "brennicor-cli: Unknown option 'xml'. Try 'brennicor-cli show --help'.";
    QTest::newRow("an option of another command") << hero << QStringList{"set", "Hero.d2s", "gold=1", "--all"} << 2
                                                  << "brennicor-cli: Unknown option 'all'. "
                                                     "Try 'brennicor-cli set --help'.";
    QTest::newRow("too few arguments") << hero << QStringList{"quest", "Hero.d2s", "Normal", "Act1", "Done"} << 2
                                       << "brennicor-cli: too few arguments. Try 'brennicor-cli quest --help'.";
    QTest::newRow("too many arguments") << hero << QStringList{"rename", "Hero.d2s", "A", "B"} << 2
                                        << "brennicor-cli: too many arguments. "
                                           "Try 'brennicor-cli rename --help'.";
    QTest::newRow("no command") << hero << QStringList() << 2
                                << "brennicor-cli: no command given. Try 'brennicor-cli --help'.";
}

void TestCliRefusals::refusedAndNothingWritten()
{
    QFETCH(Files, files);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);

    QTemporaryDir dir;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QVERIFY(CharacterFixture::WriteFile(dir.filePath(it.key()), it.value()));

    const CliResult result = RunCli(arguments, dir.path());
    QCOMPARE(result.exitCode, status);
    const QStringList errors = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(std::any_of(errors.cbegin(), errors.cend(),
                         [&](const QString &line) { return line.startsWith(message); }),
             qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QVERIFY2(FolderContents(dir.path()) == files, "a file was written, moved or left behind");
}

void TestCliRefusals::notFoundIsNoError()
{
    QTemporaryDir dir;
    const QByteArray file = CharacterFixture().Build();
    QVERIFY(CharacterFixture::WriteFile(dir.filePath("Hero.d2s"), file));
    // Like grep: status 1 and no message when the value is stored nowhere.
    const CliResult result = RunCli({"find", "Hero.d2s", "3000000000", "--all"}, dir.path());
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err, QString());
    QCOMPARE(CharacterFixture::ReadFile(dir.filePath("Hero.d2s")), file);
}

QTEST_GUILESS_MAIN(TestCliRefusals)
#include "tst_cli_refusals.moc"
