// One contract for every file version the editor edits: each row of Files() (a file the game wrote;
// for version 71 a built one) opens, shows, takes each kind of edit and refuses what it cannot hold,
// through brennicor-cli and the window alike, judged by show --json and the bytes on disk (see
// docs/testing.md). A new file version is a row of Files() and, if it moves a section, a line of SectionsOf().

#include "cli/CliRunner.h"
#include "support/WindowHarness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

namespace {

struct Row
{
    QString tag;
    QString file;  // in tests/data; none: the fixture, of version 71
    int classes;   // the classes it may have: 5 classic, 7 expansion, 8 in the Warlock's mode
    QString shown; // lines of show, between |
    CharacterFixture fixture = {};
    QByteArray name = {}; // bytes put over the start of the name field, the file sealed again
};

const QList<Row> &Files()
{
    static const QList<Row> files{
        {"71", "", 5, "version: 71|name: Hero|class: Sorceress|level: 10|gold: 1234|strength: 15|health: 300",
         CharacterFixture().Name("Hero")},
        {"71, progress bytes the game never writes", "", 5, "difficulty:Hell: open|act:Nightmare/Act3: open",
         CharacterFixture().Name("Hero").DifficultyFlags(0xFF).ActByte(1, 2, 7).ActByte(2, 1, 5)},
        {"87", "v87_barbarian_new.d2s", 5, "version: 87|name: testtt|class: Barbarian|level: 1|gold: 0|strength: 30"},
        {"89", "v89_barbarian_new.d2s", 5, "version: 89|name: fddfss|class: Barbarian|strength: 30|maxMana: 10"},
        {"92", "v92_barbarian_new.d2s", 7, "version: 92|name: sdfsf|class: Barbarian|vitality: 25|energy: 10"},
        {"96", "v96_sorceress_level94.d2s", 7, "name: NokkaSorc|level: 94|gold: 458536|health: 1241|maxMana: 221"},
        {"96, life with a fraction", "v96_sorceress_level3.d2s", 7, "name: test|experience: 1680|maxHealth: 42"},
        {"96, zeros stored", "v96_barbarian_library_written.d2s", 7, "name: Simple|class: Barbarian|strength: 30"},
        {"97", "v97_amazon_new.d2s", 7, "version: 97|name: Amazon|class: Amazon|strength: 20|health: 50|mana: 15"},
        {"98", "v98_sorceress_level66.d2s", 7, "version: 98|name: Agelatus|level: 66|gold: 65447|maxMana: 275|goldInStash: 2500000|act:Hell/Act2: closed|"
         "quest:Nightmare/Act5/Betrayal of Harrogath: Started|waypoint:Nightmare/Act5/Glacial Trail: off"},
        {"99", "v99_barbarian_new.d2s", 7, "version: 99|name: Joe|quest:Hell/Act5/Eve of Destruction: Not Started"},
        {"105", "v105_barbarian_new.d2s", 7, "version: 105|name: barbexp|class: Barbarian|health: 55"},
        {"105, a name that is no UTF-8", "v105_barbarian_new.d2s", 7, "class: Barbarian", {}, "Ab\xff\xfe"},
        {"105 Warlock", "v105_warlock_new.d2s", 8,
         "name: Warlock|class: Warlock|strength: 15|skill:Summon Goatman: 0|skill:Eldritch Blast: 0|skill:Abyss: 0"},
    };
    return files;
}

// Where a file version keeps its sections: the name field, the progression byte (the difficulties
// open), the class and level bytes, the quest block (298 bytes, the acts' bytes among them) and the
// waypoint block after it (80 bytes), the attributes; and whether a size field at 8 and a checksum
// at 12 seal the file.
struct Sections
{
    int name, nameLength, progression, classByte, level, quests, waypoints, attributes;
    bool sealed;
};

Sections SectionsOf(quint32 version)
{
    if (version < 92)
        return {8, 16, 25, 34, 36, 130, 428, 560, false};
    if (version < 98)
        return {20, 16, 37, 40, 43, 335, 633, 765, true};
    if (version < 105)
        return {267, 48, 37, 40, 43, 335, 633, 765, true};
    return {299, 48, 21, 24, 27, 403, 701, 833, true};
}

quint32 VersionOf(const QByteArray &file)
{
    return qFromLittleEndian<quint32>(file.constData() + 4);
}

// The game's checksum: every byte, its own four taken as zero, added to the sum rotated left by one.
quint32 GameChecksum(QByteArray file)
{
    file.replace(12, 4, QByteArray(4, '\0'));
    quint32 sum = 0;
    for (const char byte : std::as_const(file))
        sum = ((sum << 1) | (sum >> 31)) + quint8(byte);
    return sum;
}

QByteArray FileOf(const Row &row)
{
    if (row.file.isEmpty())
        return row.fixture.Build();
    QByteArray file = CharacterFixture::ReadFile(qEnvironmentVariable("QUARVINEL_TEST_DATA") + '/' + row.file);
    if (!row.name.isEmpty()) {
        file.replace(SectionsOf(VersionOf(file)).name, int(row.name.size()), row.name);
        qToLittleEndian(GameChecksum(file), file.data() + 12);
    }
    return file;
}

// show --json of a file as path=value: "gold=4321", "difficulties/0/acts/0/quests/0/state=Done",
// "absentFromFile/gold=true" for a value the file left out.
using Values = QMap<QString, QString>;

void Flatten(const QJsonValue &value, const QString &path, Values &out)
{
    const QString prefix = path.isEmpty() ? path : path + '/';
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        Flatten(it.value(), prefix + it.key(), out);
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i)
        array[i].isString() ? void(out[prefix + array[i].toString()] = "true")
                            : Flatten(array[i], prefix + QString::number(i), out);
    if (!value.isObject() && !value.isArray())
        out[path] = value.isString() ? value.toString()
                    : value.isBool() ? QString(value.toBool() ? "true" : "false")
                                     : QString::number(value.toInteger());
}

Values Shown(const QString &dir, const QString &file = "Hero.d2s")
{
    Values values;
    Flatten(QJsonDocument::fromJson(RunCli({"show", "--json", file}, dir).out.toUtf8())[0], QString(), values);
    return values;
}

// What show --json says of a file and what follows from it: how many classes and acts the character
// has; what Maximize Attributes gives its attributes (10 bits of theirs from version 96); from
// version 87 a character carries 10,000 gold a level and the difficulties open are a progression
// (Hell opened opens Nightmare). A limit of the file's own version is told with the file's name.
Values FactsOf(const Row &row, Values values)
{
    const int version = values["fileVersion"].toInt();
    const qint64 most = version >= 96 ? 1023 : 2147483647;
    const qint64 cap = version >= 87 ? 10000 * values["level"].toLongLong() : 2147483647;
    values["classes"] = QString::number(row.classes);
    values["acts"] = QString::number(values.keys().filter(QRegularExpression("^difficulties/0/acts/\\d/name$")).size());
    values["maximized"] = version >= 96 ? "1023" : "10000";
    values["most"] = QString::number(most);
    values["moreThanMost"] = QString::number(most + 1);
    values["cap"] = QString::number(cap);
    values["moreThanCap"] = QString::number(cap + 1);
    values["file96"] = version >= 96 ? "Hero.d2s: " : "";
    values["file87"] = version >= 87 ? "Hero.d2s: " : "";
    values["carriedAtLevel12"] = version >= 87 ? "120000" : "2147483647";
    values["nightmareWithHell"] = version >= 87 ? "true" : values["difficulties/1/open"];
    values["foreignClass"] = row.classes > 5 ? "Warlock" : "Druid";
    values["classNames"] =
        QString("Amazon, Sorceress, Necromancer, Paladin, Barbarian") + (row.classes > 5 ? ", Druid, Assassin" : "");
    values["nameRule"] =
        version >= 92 ? "Use at most one - or _, and neither first nor last." : "Try to use only a-z, A-Z.";
    return values;
}

// The facts of a row's file as it is, for choosing the cases of a row.
const Values &FactsOf(int row)
{
    static QMap<int, Values> facts;
    if (!facts.contains(row)) {
        QTemporaryDir dir;
        CharacterFixture::WriteFile(dir.filePath("Hero.d2s"), FileOf(Files()[row]));
        facts[row] = FactsOf(Files()[row], Shown(dir.path()));
    }
    return facts[row];
}

// text with each {path} replaced by that fact.
QString Filled(QString text, const Values &facts)
{
    static const QRegularExpression fact(QStringLiteral("\\{([A-Za-z0-9/]+)\\}"));
    for (QRegularExpressionMatch m = fact.match(text); m.hasMatch(); m = fact.match(text))
        text.replace(m.capturedStart(), m.capturedLength(), facts.value(m.captured(1), "<no " + m.captured(1) + '>'));
    return text;
}

// values with the changes made: "path=value", where a * in the path stands for one step of any
// name, and a value * for whatever after holds there, ~ for gone.
Values Changed(Values values, const QString &changes, const Values &after)
{
    for (const QString &change : changes.split(' ', Qt::SkipEmptyParts)) {
        const QString path = change.section('=', 0, 0), value = change.section('=', 1);
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(QRegularExpression::escape(path).replace("\\*", "[^/]+")));
        for (auto it = values.begin(); it != values.end();) {
            if (!pattern.match(it.key()).hasMatch()) {
                ++it;
            } else if (value == "~") {
                it = values.erase(it);
            } else {
                it.value() = value == "*" ? after.value(it.key()) : value;
                ++it;
            }
        }
    }
    return values;
}

QString Differences(const Values &expected, const Values &actual)
{
    QStringList differences;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (actual.value(it.key(), "<none>") != it.value())
            differences.append(it.key() + ": " + actual.value(it.key(), "<none>") + ", not " + it.value());
    }
    for (auto it = actual.begin(); it != actual.end(); ++it) {
        if (!expected.contains(it.key()))
            differences.append(it.key() + ": " + it.value() + ", not there");
    }
    return differences.join("; ");
}

// A file cut where its sections end: the header up to the attributes, the attributes, the thirty
// skill bytes, the items and all after them. Version 71 keeps its skills at 631; a later version
// puts "if" before them and "JM" after them.
struct Parts
{
    QByteArray header, attributes, skills, rest;
};

Parts PartsOf(const QByteArray &file)
{
    const int attributes = SectionsOf(VersionOf(file)).attributes;
    const qsizetype skills = VersionOf(file) == 71 ? 631 : file.indexOf("JM", attributes) - 30;
    return {file.left(attributes), file.mid(attributes, skills - attributes), file.mid(skills, 30),
            file.mid(skills + 30)};
}

// Sets bytes of the header and the skills as "where=hex" (from where on, these bytes), "where|hex"
// (these bits set) or "where&hex" (only these bits kept): where names a section of Sections, or
// "skills", with "+N" bytes into it.
void Apply(Parts &parts, const Sections &s, const QString &edits)
{
    static const QRegularExpression edit(QStringLiteral("^([a-zA-Z]+)(?:\\+(\\d+))?([=|&])([0-9a-f]+)$"));
    const QHash<QString, int> starts{{"level", s.level},   {"classByte", s.classByte},
                                     {"quests", s.quests}, {"waypoints", s.waypoints},
                                     {"skills", 0},        {"header", 0}};
    for (const QString &token : edits.split(' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = edit.match(token);
        QVERIFY2(m.hasMatch() && starts.contains(m.captured(1)), qPrintable(token));
        QByteArray &bytes = m.captured(1) == "skills" ? parts.skills : parts.header;
        const QByteArray value = QByteArray::fromHex(m.captured(4).toLatin1());
        for (int k = 0, at = starts[m.captured(1)] + m.captured(2).toInt(); k < value.size(); ++k) {
            const char was = bytes[at + k], v = value[k];
            bytes[at + k] = m.captured(3) == "=" ? v : m.captured(3) == "|" ? char(was | v) : char(was & v);
        }
    }
}

// The sections an edit may change beyond a later file's size field and checksum and the bytes it
// sets exactly: the name field, the progression byte, the quest and waypoint blocks, the attributes.
enum Touch : int { Nothing = 0, Name = 1, Difficulties = 2, Progress = 4, Attributes = 8 };

// Where the bytes an edit wrote differ from those it may write; empty when nowhere.
QString Unexpected(const QByteArray &before, const QByteArray &after, int touches, const QString &exact)
{
    const Sections s = SectionsOf(VersionOf(before));
    const Parts was = PartsOf(before), now = PartsOf(after);
    Parts expected = was;
    Apply(expected, s, exact);
    const auto mayChange = [&](int at) {
        return (s.sealed && at >= 8 && at < 16) || ((touches & Name) && at >= s.name && at < s.name + s.nameLength) ||
               ((touches & (Difficulties | Progress)) && at == s.progression) ||
               ((touches & Progress) && at >= s.quests && at < s.waypoints + 80);
    };
    for (int at = 0; at < expected.header.size(); ++at) {
        if (now.header[at] != expected.header[at] && !mayChange(at))
            return "header byte " + QString::number(at) + ": " + now.header.mid(at, 1).toHex() + ", not " +
                   expected.header.mid(at, 1).toHex();
    }
    if (VersionOf(before) != 71 && after.mid(after.size() - now.rest.size() - 32, 2) != "if")
        return QStringLiteral("no \"if\" before the skills");
    if (!(touches & Attributes) && now.attributes != was.attributes)
        return "the attributes: " + now.attributes.toHex(' ') + ", not " + was.attributes.toHex(' ');
    if (now.skills != expected.skills)
        return "the skills: " + now.skills.toHex(' ') + ", not " + expected.skills.toHex(' ');
    if (now.rest != was.rest)
        return QStringLiteral("the items and what follows them");
    if (s.sealed && (qFromLittleEndian<quint32>(after.constData() + 8) != quint32(after.size()) ||
                     qFromLittleEndian<quint32>(after.constData() + 12) != GameChecksum(after)))
        return QStringLiteral("the size field or the checksum");
    return {};
}

// The window's controls and Edit commands by the names show --json and brennicor-cli give them.
int ControlId(const QString &name)
{
    static const QHash<QString, int> ids{
        {"name", IDC_NAME}, {"class", IDC_CLASS}, {"level", IDC_LEVEL}, {"levelList", IDC_LEVEL_LIST},
        {">>", IDC_LEVEL_FROM_EXPERIENCE}, {"experience", IDC_EXPERIENCE}, {"gold", IDC_GOLD},
        {"goldInStash", IDC_GOLD_IN_STASH}, {"strength", IDC_STRENGTH}, {"dexterity", IDC_DEXTERITY},
        {"vitality", IDC_VITALITY}, {"energy", IDC_ENERGY}, {"attributePointsToAdd", IDC_ATTRIBUTE_POINTS_TO_ADD},
        {"skillPointsToAdd", IDC_SKILL_POINTS_TO_ADD}, {"health", IDC_HEALTH}, {"maxHealth", IDC_MAX_HEALTH},
        {"mana", IDC_MANA}, {"maxMana", IDC_MAX_MANA}, {"stamina", IDC_STAMINA}, {"maxStamina", IDC_MAX_STAMINA},
        {"skill", IDC_SKILL}, {"skillLevel", IDC_SKILL_LEVEL}, {"difficulty", IDC_DIFFICULTY}, {"act", IDC_ACT},
        {"quest", IDC_QUEST}, {"questState", IDC_QUEST_STATE}, {"waypoint", IDC_WAYPOINT},
        {"waypointActive", IDC_WAYPOINT_ACTIVE}, {"actActive", IDC_ACT_ACTIVE}, {"difficultyActive", IDC_DIFFICULTY_ACTIVE},
        {"open-all", ID_EDIT_ACTIVATE_ALL_WAYPOINTS}, {"open-all--acts", ID_EDIT_ACTIVATE_ALL_ACTS},
        {"open-all--difficulties", ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL}, {"all-quests-done", ID_EDIT_ALL_QUESTS_DONE},
        {"max-skills", ID_EDIT_MAXIMIZE_SKILLS}, {"max-attributes", ID_EDIT_MAXIMIZE_ATTRIBUTES}};
    return ids.value(name);
}

int Chosen(WindowHarness &w, int id)
{
    return w.dlg.DlgItem<QComboBox>(id)->currentIndex();
}

// What a control shows: its text, "true" or "false" for a check box; "classes" and "acts" the
// entries of those lists, "told" the messages so far.
QString Showing(WindowHarness &w, const QString &name)
{
    if (name == "told")
        return w.prompts.Texts().join('\n');
    if (name == "classes" || name == "acts")
        return QString::number(w.Count(name == "classes" ? IDC_CLASS : IDC_ACT));
    const int id = ControlId(name);
    if (!qobject_cast<QAbstractButton *>(w.dlg.GetDlgItem(id)))
        return w.Text(id);
    return w.Text(id) == "1" ? "true" : "false";
}

// Where what the window shows differs from the facts, each under the path show --json gives it:
// the boxes, the first skill's name, the chosen skill's level, the chosen quest's state, waypoint,
// act and difficulty.
QString WindowShows(WindowHarness &w, const Values &facts)
{
    const QString difficulty = QStringLiteral("difficulties/%1").arg(Chosen(w, IDC_DIFFICULTY));
    const QString act = QStringLiteral("%1/acts/%2").arg(difficulty).arg(Chosen(w, IDC_ACT));
    Values shown{
        {"skills/0/name", w.dlg.DlgItem<QComboBox>(IDC_SKILL)->itemText(0)},
        {QStringLiteral("skills/%1/level").arg(Chosen(w, IDC_SKILL)), w.Text(IDC_SKILL_LEVEL)},
        {QStringLiteral("%1/quests/%2/state").arg(act).arg(Chosen(w, IDC_QUEST)), w.Text(IDC_QUEST_STATE)},
        {QStringLiteral("%1/waypoints/%2/active").arg(act).arg(Chosen(w, IDC_WAYPOINT)), Showing(w, "waypointActive")},
        {act + "/open", Showing(w, "actActive")},
        {difficulty + "/open", Showing(w, "difficultyActive")}};
    for (const QString &name :
         QStringLiteral("name class level experience gold goldInStash strength dexterity vitality "
                        "energy attributePointsToAdd skillPointsToAdd health maxHealth mana maxMana "
                        "stamina maxStamina classes acts")
             .split(' '))
        shown[name] = Showing(w, name);
    Values expected;
    for (auto it = shown.begin(); it != shown.end(); ++it)
        expected[it.key()] = facts.value(it.key(), "<none>");
    return Differences(expected, shown);
}

// Steps of a user in the window, split as a shell splits them: "gold=4321" puts text into a box,
// "gold=." types its own text into it again key by key; "class#3" chooses an entry, "class#." the
// chosen one again; "waypointActive:on" ticks a box unless it is ticked (":off"); ">>" clicks;
// "open-all" runs the Edit menu's command; "rename=Neo" renames. "acts?4" is what the window
// shows ("told?..." the messages, which are then forgotten), "gold~Gold carried" the start of a
// control's tip. Gives what is wrong, or nothing.
QString Perform(WindowHarness &w, const QString &steps)
{
    for (const QString &step : QProcess::splitCommand(steps)) {
        const qsizetype at = step.indexOf(QRegularExpression("[=#:?~]"));
        const QString name = step.left(at), value = step.mid(at + 1);
        const QChar how = at < 0 ? QChar() : step.at(at);
        const int id = ControlId(name);
        if (name == "rename") {
            MainWindowAccess::RenameCharacter(w.dlg, value);
        } else if (how == '?' || how == '~') {
            const QString shown = how == '?' ? Showing(w, name) : w.dlg.GetDlgItem(id)->toolTip().left(value.size());
            if (shown != value)
                return step + ": " + shown;
            if (name == "told")
                w.prompts.Reset();
        } else if (id > IDC_DIFFICULTY_ACTIVE) {
            w.Command(id);
        } else if (how == '=' && value == ".") {
            QLineEdit *box = w.dlg.DlgItem<QLineEdit>(id);
            box->selectAll();
            QTest::keyClicks(box, box->text());
        } else if (how == '=') {
            w.Enter(id, value);
        } else if (how == '#') {
            w.Choose(id, value == "." ? Chosen(w, id) : value.toInt());
        } else if (how != ':' || Showing(w, name) != (value == "on" ? "true" : "false")) {
            w.Click(id);
        }
        if (const std::exception_ptr error = w.dlg.TakePendingError())
            std::rethrow_exception(error);
    }
    return {};
}

// Opens file as File, Open does, from a folder of the window's.
void Open(WindowHarness &w, const QByteArray &file)
{
    w.path = w.dir.filePath("Hero.d2s");
    QVERIFY(CharacterFixture::WriteFile(w.path, file));
    w.prompts.QueueFile(w.path);
    w.Command(ID_FILE_OPEN);
}

// A folder holding a file as Hero.d2s, where brennicor-cli runs.
struct Folder
{
    explicit Folder(const QByteArray &bytes) { CharacterFixture::WriteFile(Path(), bytes); }
    QString Path(const QString &name = "Hero.d2s") const { return dir.filePath(name); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files); }
    // Runs commands between ;, split as a shell splits them, until one fails; gives the last result.
    CliResult Run(const QString &commands) const
    {
        CliResult result;
        for (const QString &command : commands.split(';')) {
            if ((result = RunCli(QProcess::splitCommand(command), dir.path())).exitCode != 0)
                break;
        }
        return result;
    }
    QTemporaryDir dir;
};

using Applies = bool (*)(const Values &facts);

} // namespace

class TestContract : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void edits_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("commands"); // of brennicor-cli, between ;
        QTest::addColumn<QString>("error");    // all it prints when it refuses the edit
        QTest::addColumn<QString>("window");   // the same edit in the window (see Perform); none: none there
        QTest::addColumn<QString>("changes");  // of show --json (see Changed); when refused, the command that
                                               // writes what the window then saves, or none
        QTest::addColumn<int>("touches");
        QTest::addColumn<QString>("exact"); // the bytes of the header and the skills it sets (see Apply)
        const auto add = [](const char *what, const QString &commands, const QString &error, const QString &window,
                            const QString &changes, int touches, const QString &exact, Applies applies) {
            for (int i = 0; i < Files().size(); ++i) {
                if (!applies || applies(FactsOf(i)))
                    QTest::newRow(qPrintable(Files()[i].tag + ": " + what))
                        << i << commands << error << window << changes << touches << exact;
            }
        };
        const auto edit = [&](const char *what, const QString &commands, const QString &window, const QString &changes,
                              int touches, const QString &exact = {}, Applies applies = nullptr) {
            add(what, commands, {}, window, changes, touches, exact, applies);
        };
        const auto refuse = [&](const char *what, const QString &command, const QString &error, const QString &window,
                                const QString &limited = {}, Applies applies = nullptr) {
            add(what, command, "brennicor-cli: " + error + '\n', window, limited, Nothing, {}, applies);
        };
        const Applies expansion = [](const Values &f) { return f["classes"] != "5"; };
        const QString numbers("experience=4000000000 gold=4321 goldInStash=5 strength=777 dexterity=8 vitality=6 "
                              "energy=9 attributePointsToAdd=3 skillPointsToAdd=3");
        edit("opens and shows; saved unchanged", "show Hero.d2s", "acts?{acts}", "", Nothing);
        edit("fields set to what they hold",
             "set Hero.d2s gold={gold} level={level} health={health} goldInStash=5 goldInStash={goldInStash} "
             "class={class} strength={strength} \"skill:{skills/0/name}={skills/0/level}\"",
             "gold=. strength=. goldInStash=5 goldInStash={goldInStash} class#. skillLevel=.", "", Nothing);
        edit("numbers", "set Hero.d2s " + numbers, numbers, numbers + " absentFromFile/*=~", Attributes);
        const QString pools("maxHealth=100 health=7000 mana=9 maxMana=5 maxStamina=10 stamina=8191");
        edit("a current value above its maximum raises it, a maximum below it leaves it", "set Hero.d2s " + pools,
             pools, "maxHealth=7000 health=7000 mana=9 maxMana=5 maxStamina=8191 stamina=8191", Attributes);
        edit("level from the list: the experience follows", "set Hero.d2s gold=0 level=12",
             "gold=0 levelList#11 \"gold~Gold carried: a whole number from 0 to {carriedAtLevel12}.\"",
             "gold=0 level=12 statLevel=12 experience=90180 absentFromFile/experience=~", Attributes, "level=0c");
        edit("level from the experience", "set Hero.d2s gold=0 level=42", "gold=0 experience=21376516 >>",
             "gold=0 level=42 statLevel=42 experience=21376515 absentFromFile/experience=~", Attributes, "level=2a");
        edit("class, then a skill of it by name", "set Hero.d2s class=paladin skill:Smite=20",
             "class#3 skill#1 skillLevel=20",
             "class=Paladin classByte=3 skills/*/name=* skills/1/name=Smite skills/1/level=20", Nothing,
             "classByte=03 skills+1=14");
        edit("skills by name and by position", "set Hero.d2s \"skill:{skills/0/name}=7\" skill:29=3",
             "skill#0 skillLevel=7 skill#29 skillLevel=3", "skills/0/level=7 skills/29/level=3", Nothing,
             "skills=07 skills+29=03");
        edit("a class of the expansion", "set Hero.d2s class=Druid", "class#5",
             "class=Druid classByte=5 skills/*/name=*", Nothing, "classByte=05", expansion);
        // Done sets the state's bits and keeps the others the game recorded.
        edit("quests done, the first of an act too",
             "quest Hero.d2s Normal Act1 \"den of evil\" Done; quest Hero.d2s normal act2 \"radament's lair\" done",
             "difficulty#0 act#0 quest#0 questState#3 act#1 quest#0 questState#3",
             "difficulties/0/acts/0/quests/0/state=Done difficulties/0/acts/1/quests/0/state=Done", Nothing,
             "quests+12|0710 quests+28|0710");
        // Not Started resets the word, the bits the game set beside the state (the Cow Level's in version 98's) too.
        edit("a quest not started", "quest Hero.d2s normal act1 \"the search for cain\" \"not started\"",
             "difficulty#0 act#0 quest#2 questState#0", "difficulties/0/acts/0/quests/2/state=*", Nothing, "quests+18=0000");
        edit("a quest's reward", "quest Hero.d2s hell 4 \"terror's end\" reward",
             "difficulty#2 act#3 quest#2 questState#2", "difficulties/2/acts/3/quests/2/state=Reward", Progress);
        edit("a quest of Act5", "quest Hero.d2s Hell Act5 \"rite of passage\" Done",
             "difficulty#2 act#4 quest#4 questState#3", "difficulties/2/acts/4/quests/4/state=Done", Nothing,
             "quests+280|0710", expansion);
        edit("a waypoint of an open act", "waypoint Hero.d2s Normal \"Cold Plains\" on",
             "difficulty#0 act#0 waypoint#1 waypointActive:on", "difficulties/0/acts/0/waypoints/1/active=true",
             Nothing, "waypoints+10|02");
        edit("a waypoint of Act5, which opens it", "waypoint Hero.d2s Normal Harrogath on",
             "difficulty#0 act#4 waypoint#0 waypointActive:on actActive?true",
             "difficulties/0/acts/4/waypoints/0/active=true difficulties/0/acts/4/open=true", Nothing,
             "waypoints+13|40 quests+66|01", expansion);
        // A waypoint switched on opens its act, an act opened its difficulty; an act open stays as it is.
        edit("a waypoint opens its act and difficulty", "waypoint Hero.d2s Hell \"Lut Gholein\" on",
             "difficulty#2 act#1 waypoint#0 waypointActive:on actActive?true difficultyActive?true",
             "difficulties/2/acts/1/waypoints/0/active=true difficulties/2/acts/1/open=true difficulties/2/open=true "
             "difficulties/1/open={nightmareWithHell}",
             Difficulties, "waypoints+59|02 quests+216|01");
        edit("waypoints switched off open nothing",
             "waypoint Hero.d2s Normal \"Rogue Encampment\" off; waypoint Hero.d2s Nightmare \"Lut Gholein\" off",
             "waypoint#0 waypointActive:off difficulty#1 act#1 waypoint#0 waypointActive:off "
             "actActive?{difficulties/1/acts/1/open} difficultyActive?{difficulties/1/open}",
             "difficulties/0/acts/0/waypoints/0/active=false difficulties/1/acts/1/waypoints/0/active=false", Nothing,
             "waypoints+10&fe waypoints+35&fd");
        edit("open-all", "open-all Hero.d2s", "open-all",
             "difficulties/*/open=true difficulties/*/acts/*/open=true difficulties/*/acts/*/waypoints/*/active=true",
             Progress);
        edit("open-all --acts", "open-all --acts Hero.d2s", "open-all--acts",
             "difficulties/*/open=true difficulties/*/acts/*/open=true", Progress);
        edit("open-all --difficulties", "open-all Hero.d2s --difficulties", "open-all--difficulties",
             "difficulties/*/open=true", Difficulties);
        edit("all-quests-done", "all-quests-done Hero.d2s", "all-quests-done",
             "difficulties/*/open=true difficulties/*/acts/*/open=true difficulties/*/acts/*/quests/*/state=Done",
             Progress);
        edit("max-skills", "max-skills Hero.d2s", "max-skills", "skills/*/level=20", Nothing,
             "skills=" + QString("14").repeated(30));
        edit("max-attributes", "max-attributes Hero.d2s", "max-attributes",
             "strength={maximized} dexterity={maximized} vitality={maximized} energy={maximized} health=8000 "
             "maxHealth=8000 mana=8000 maxMana=8000 stamina=8000 maxStamina=8000",
             Attributes);
        edit("rename", "rename Hero.d2s Neo", "rename=Neo", "name=Neo file=Neo.d2s", Name);
        edit("a byte put by the raw tools, sealed as a save seals", "put Hero.d2s 50 50 1", "", "", Nothing,
             "header+50=01");

        refuse("an attribute above its limit", "set Hero.d2s strength={moreThanMost}",
               "{file96}strength {moreThanMost} is more than {most}, the most it can hold.",
               "strength={moreThanMost} strength?{most} \"strength~Strength: a whole number from 0 to {most}.\"",
               "set Hero.d2s strength={most}");
        refuse("gold above what its level carries", "set Hero.d2s gold={moreThanCap}",
               "{file87}gold {moreThanCap} is more than {cap}, the most it can hold.",
               "gold={moreThanCap} gold?{cap} \"gold~Gold carried: a whole number from 0 to {cap}.\"",
               "set Hero.d2s gold={cap}");
        refuse("a pool above its limit", "set Hero.d2s health=8192",
               "health 8192 is more than 8191, the most it can hold.", "health=9000 health?8191 maxHealth?8191",
               "set Hero.d2s health=8191");
        refuse("a skill level above 20", "set Hero.d2s \"skill:{skills/0/name}=21\"",
               "skill:{skills/0/name} 21 is more than 20, the most the editor sets.",
               "skill#0 skillLevel=25 skillLevel?20", "set Hero.d2s skill:0=20");
        refuse("a class it cannot have", "set Hero.d2s class={foreignClass}",
               "Hero.d2s: this character cannot be a {foreignClass}: it can be one of {classNames}.",
               "classes?{classes}", "", [](const Values &f) { return f["classes"] != "8"; });
        refuse("Act5 on a classic character", "quest Hero.d2s Hell Act5 \"rite of passage\" Done",
               "Hero.d2s: Act5 is an expansion character's only; this character has 4 acts.", "acts?4", "",
               [](const Values &f) { return f["classes"] == "5"; });
        refuse("a level whose gold cap is below the gold carried", "set Hero.d2s level=1",
               "Hero.d2s: At level 1, gold {gold} is more than 10000, the most it can hold.",
               "levelList#0 levelList?{level} level?{level} "
               "\"told?At level 1, gold {gold} is more than 10000, the most it can hold.\"",
               "", [](const Values &f) { return f["fileVersion"].toInt() >= 87 && f["gold"].toInt() > 10000; });
        refuse("a name the version's rule refuses", "rename Hero.d2s Thor_",
               "This is not a valid Diablo2 character name. {nameRule}", "");
    }

    void edits()
    {
        QFETCH(int, file);
        QFETCH(QString, commands);
        QFETCH(QString, error);
        QFETCH(QString, window);
        QFETCH(QString, changes);
        QFETCH(int, touches);
        QFETCH(QString, exact);
        const Row &row = Files()[file];
        const QByteArray original = FileOf(row);
        const Folder folder(original);
        const Values before = Shown(folder.dir.path()), facts = FactsOf(row, before);
        const CliResult result = folder.Run(Filled(commands, facts));
        QCOMPARE(result.err + (error.isEmpty() ? QString() : result.out), Filled(error, facts));
        QCOMPARE(result.exitCode, error.isEmpty() ? 0 : 1);
        if (commands.startsWith("show")) { // what a file reads as, in both of show's forms
            for (const QString &line : row.shown.split('|'))
                QVERIFY2(result.out.contains(line + '\n'), qPrintable(line));
            QCOMPARE(facts["fileVersion"] + ' ' + facts["checksum"] + ' ' + facts["expansion"] + ' ' + facts["acts"],
                     QString::number(VersionOf(original)) +
                         (SectionsOf(VersionOf(original)).sealed ? " valid " : " none ") +
                         (row.classes > 5 ? "true 5" : "false 4"));
        }
        const QString written = error.isEmpty() && commands.startsWith("rename") ? "Neo.d2s" : "Hero.d2s";
        QCOMPARE(folder.Files(), QStringList{written});
        QByteArray edited = CharacterFixture::ReadFile(folder.Path(written));
        if (!error.isEmpty()) { // nothing is written; the window takes what the limit command writes
            QCOMPARE(edited, original);
            if (!changes.isEmpty())
                QCOMPARE(folder.Run(Filled(changes, facts)).exitCode, 0);
            edited = CharacterFixture::ReadFile(folder.Path());
        } else {
            const Values after = Shown(folder.dir.path(), written);
            // The progression and its title follow the difficulties; the bytes each edit may touch are checked below.
            QCOMPARE(Differences(Changed(before, Filled(changes, facts) + " progression=* title=*", after), after), QString());
            if (!touches && exact.isEmpty())
                QCOMPARE(edited, original);
            QCOMPARE(Unexpected(original, edited, touches, exact), QString());
            // Up to version 92 a value the file left out is added as 4 bytes (and its bit of the mask).
            const auto absent = [](const Values &values) { return values.keys().filter("absentFromFile/").size(); };
            if (VersionOf(original) < 96)
                QCOMPARE(PartsOf(edited).attributes.size() - PartsOf(original).attributes.size(),
                         4 * (absent(before) - absent(after)));
        }
        if (window.isEmpty() && error.isEmpty())
            return;

        WindowHarness w;
        Open(w, original);
        QCOMPARE(w.dlg.windowTitle() + ' ' + WindowShows(w, facts), "QUARVINEL: Hero.d2s ");
        QCOMPARE(Perform(w, Filled(window, facts)), QString());
        if (written == "Hero.d2s")
            w.Command(ID_FILE_SAVE);
        QCOMPARE(w.prompts.Summaries(), QStringList());
        QCOMPARE(Unexpected(edited, CharacterFixture::ReadFile(w.dir.filePath(written)), Nothing, {}), QString());
        QCOMPARE(w.dlg.windowTitle(), "QUARVINEL: " + written);
        w.Command(ID_FILE_RELOAD);
        QCOMPARE(WindowShows(w, FactsOf(row, Shown(folder.dir.path(), written))), QString());
        QCOMPARE(w.prompts.Summaries(), QStringList());
        // Closed, the window's lists are those of a new version-71 character again.
        w.Command(ID_FILE_CLOSE);
        QCOMPARE(Showing(w, "classes") + ' ' + Showing(w, "acts"), "5 4");
    }

    void damagedChecksum_data()
    {
        QTest::addColumn<int>("file");
        for (int i = 0; i < Files().size(); ++i) {
            if (FactsOf(i).value("checksum") == "valid")
                QTest::newRow(qPrintable(Files()[i].tag)) << i;
        }
    }

    void damagedChecksum()
    {
        QFETCH(int, file);
        const QByteArray original = FileOf(Files()[file]);
        QByteArray damaged = original;
        damaged[12] = char(damaged[12] ^ 0x5A);
        const Folder folder(damaged);
        const QString told =
            QStringLiteral("Hero.d2s: the stored checksum 0x%1 does not match the file's bytes (0x%2): "
                           "the file may be damaged; the next save writes a correct one.")
                .arg(qFromLittleEndian<quint32>(damaged.constData() + 12), 8, 16, QChar('0'))
                .arg(GameChecksum(damaged), 8, 16, QChar('0'));
        QCOMPARE(folder.Run("show Hero.d2s").err, "brennicor-cli: " + told + '\n');
        QCOMPARE(Shown(folder.dir.path()).value("checksum"), "damaged");
        const CliResult set = folder.Run("set Hero.d2s gold=4321");
        QCOMPARE(set.err, "brennicor-cli: Hero.d2s: the stored checksum was wrong; this save writes a correct one\n");
        QCOMPARE(set.exitCode, 0);
        QCOMPARE(Unexpected(original, CharacterFixture::ReadFile(folder.Path()), Attributes, {}), QString());
        QCOMPARE(Shown(folder.dir.path()).value("checksum"), "valid");

        WindowHarness w;
        Open(w, damaged);
        QCOMPARE(w.prompts.Summaries(), QStringList{"Open|" + told});
        QCOMPARE(w.Saved(), original);
        QCOMPARE(w.prompts.Summaries().value(1),
                 "Save|Hero.d2s: the stored checksum was wrong; this save writes a correct one.");
    }
};

QTEST_MAIN(TestContract)
#include "tst_contract.moc"
