// Characters of another file version than 71: the window tells on every load and asks before it writes,
// the command line refuses to write without --force; the bytes of such a file stay as they were read.
#include "mainwindow/BrennicorDlg.h"
#include "document/layout/Layout.h"
#include "resources/MainDialogIds.h"
#include "cli/CliRunner.h"
#include "support/CharacterFixture.h"
#include "core/Prompts.h"
#include "support/MainWindowAccess.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "tools/EditValueDlg.h"
#include "resources/ToolDialogIds.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

namespace {

// Version 71 behind a text's first bytes where a character file has its signature.
constexpr quint32 kNoSignature = 0;
// A new character's first save of version 98: its 335-byte header alone.
constexpr quint32 kHeaderOnly = 1;

QByteArray Sample(const QString &name)
{
    return CharacterFixture::ReadFile(qEnvironmentVariable("QUARVINEL_TEST_DATA") + QLatin1Char('/') + name);
}

// Bytes a careless save changes: one after the name's zero, a level above 99, gold left out.
QByteArray Character(quint32 version)
{
    if (version == kHeaderOnly)
        return Sample(QStringLiteral("v98_first_save_header_only.d2s"));
    QByteArray bytes = CharacterFixture().Version(version == kNoSignature ? 71 : version).Name("Hero").Byte(20, 0x5A)
                           .Level(120).WithoutGold().Build();
    return version == kNoSignature ? bytes.replace(0, 4, "Text") : bytes;
}

const QString kNotice = QStringLiteral("This character was saved in file version %1, whose layout QUARVINEL does "
                                       "not know (it knows 71, 87, 89, 92, 96, 97, 98, 99 and 105). It is open for "
                                       "the raw byte tools only; saving writes it as it is held.");
const QString kRisk = QStringLiteral("This file has version %1, whose layout QUARVINEL does not know. Saving may "
                                     "damage it.");
const QString kNotCharacter = QStringLiteral("This file does not look like a character file: it does not start with a "
                                             "character file's signature.");
QString Notice(quint32 version)
{
    if (version == kHeaderOnly)
        return "This character has file version 98, but it cannot be edited safely: the file holds only the 335-byte "
               "header of a new character's first save: it has no quests, waypoints, attributes or skills until the "
               "game saves the character again. It is open for the raw byte tools only; saving writes it as it is held.";
    return version == kNoSignature ? kNotCharacter + " Values may be shown wrongly, and saving may damage the file."
                                   : kNotice.arg(version);
}
QString Risk(quint32 version)
{
    if (version == kHeaderOnly)
        return "This file has version 98, whose values QUARVINEL cannot read here. Saving writes its bytes as they stand.";
    return version == kNoSignature ? kNotCharacter + " Saving may damage it." : kRisk.arg(version);
}

// The game's checksum: every byte (its own four as zero) added to the sum rotated left by one.
quint32 GameChecksum(QByteArray image)
{
    image.replace(12, 4, QByteArray(4, '\0'));
    quint32 sum = 0;
    for (const char byte : std::as_const(image))
        sum = ((sum << 1) | (sum >> 31)) + quint8(byte);
    return sum;
}

// The items and all after them: from the first "JM" after the fixed sections.
QByteArray ItemsOf(const QByteArray &image)
{
    return image.mid(image.indexOf("JM", 765));
}

QJsonObject ShownJson(const QString &dir, const QString &file)
{
    const CliResult result = RunCli({"show", "--json", file}, dir);
    return QJsonDocument::fromJson(result.out.toUtf8()).array().at(0).toObject();
}

// A choice in one of the window's lists, as the user makes it.
void Choose(CBrennicorDlg &dlg, int id, int index)
{
    QComboBox *list = dlg.DlgItem<QComboBox>(id);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

} // namespace

class TestOtherVersions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void window_data()
    {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<int>("command"); // after Open, with gold typed as 777 when edit
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("yes"); // the answer to the question before writing, if one comes
        QTest::newRow("71: no notice, no suffix; Save asks nothing") << 71u << int(ID_FILE_SAVE) << true << false;
        QTest::newRow("100: Save answered No leaves the file") << 100u << int(ID_FILE_SAVE) << true << false;
        QTest::newRow("100: Save answered Yes writes the edit") << 100u << int(ID_FILE_SAVE) << true << true;
        QTest::newRow("104: Save answered Yes, no edit: same bytes") << 104u << int(ID_FILE_SAVE) << false << true;
        QTest::newRow("no signature: Rename answered No moves nothing") << kNoSignature << int(ID_EDIT_RENAME_CHARACTER) << false << false;
        QTest::newRow("no signature: Rename answered Yes asks once") << kNoSignature << int(ID_EDIT_RENAME_CHARACTER) << false << true;
        QTest::newRow("100: Reload tells again") << 100u << int(ID_FILE_RELOAD) << false << false;
        QTest::newRow("no signature: Backup copies exactly; Restore tells again") << kNoSignature << int(ID_FILE_RESTORE) << false << false;
        QTest::newRow("no signature: Save answered No leaves the file") << kNoSignature << int(ID_FILE_SAVE) << true << false;
        QTest::newRow("no signature: Reload tells again") << kNoSignature << int(ID_FILE_RELOAD) << false << false;
        QTest::newRow("header only: a blank form; Edit value's byte alone is saved") << kHeaderOnly << int(ID_FILE_SAVE) << true << true;
        QTest::newRow("header only: Reload tells again, the title names the file") << kHeaderOnly << int(ID_FILE_RELOAD) << false << false;
    }

    void window()
    {
        QFETCH(quint32, version);
        QFETCH(int, command);
        QFETCH(bool, edit);
        QFETCH(bool, yes);
        const bool other = version != Layout::KnownFileVersion, headerOnly = version == kHeaderOnly;
        // A version this program does not know is held for the raw tools, as a first save's header is.
        const bool held = headerOnly || (other && version != kNoSignature);
        const quint32 named = headerOnly ? 98 : version;
        const QString suffix = version == kNoSignature ? QStringLiteral(" [not a character file]")
                               : other                 ? QStringLiteral(" [version %1]").arg(named)
                                                       : QString();
        const QStringList notice = {"Open|" + Notice(version)};
        const QStringList question = other ? QStringList{"Save|" + Risk(version) + " Save anyway?"} : QStringList();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
        const QByteArray file = Character(version);
        QVERIFY(CharacterFixture::WriteFile(path, file));
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.Create();
        prompts.QueueFile(path);
        MainWindowAccess::Command(dlg, ID_FILE_OPEN);
        QCOMPARE(prompts.Summaries(), other ? notice : QStringList());
        QCOMPARE(dlg.windowTitle(), "QUARVINEL: Hero.d2s" + suffix);
        QCOMPARE(DocumentImage(MainWindowAccess::Document(dlg)).size(), file.size() + (other ? 0 : 4));
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_NAME)->text(), held ? "" : "Hero");

        if (held) { // the form's commands write nothing (two say why); Edit value sets byte 300 to 7
            for (const int c : {ID_EDIT_MAXIMIZE_SKILLS, ID_EDIT_MAXIMIZE_ATTRIBUTES, ID_EDIT_ALL_QUESTS_DONE, ID_EDIT_RENAME_CHARACTER})
                MainWindowAccess::Command(dlg, c);
            QCOMPARE(prompts.Summaries().filter("open for the raw byte tools only: it holds no").size(), 2);
            WhenModal<CEditValueDlg>([](CEditValueDlg *tool) {
                tool->DlgItem<QLineEdit>(IDC_FIRST_OFFSET)->setText(QStringLiteral("300"));
                tool->DlgItem<QLineEdit>(IDC_VALUE)->setText(QStringLiteral("7"));
                tool->SendCommand(IDC_SET_VALUE);
                tool->EndDialog(IDCANCEL);
            });
            MainWindowAccess::Command(dlg, ID_EDIT_EDIT_VALUE);
        }
        prompts.Reset();
        prompts.yesNoAnswers = {yes};
        if (edit)
            dlg.DlgItem<QLineEdit>(IDC_GOLD)->setText(QStringLiteral("777"));
        if (command == ID_FILE_RESTORE) {
            MainWindowAccess::Command(dlg, ID_FILE_BACKUP);
            QCOMPARE(CharacterFixture::ReadFile(dir.filePath(QStringLiteral("Hero.bak"))), file);
        }
        const bool writes = command == ID_FILE_SAVE || command == ID_EDIT_RENAME_CHARACTER;
        const bool renamed = command == ID_EDIT_RENAME_CHARACTER && yes;
        if (command == ID_EDIT_RENAME_CHARACTER)
            MainWindowAccess::RenameCharacter(dlg, QStringLiteral("Neo"));
        else
            MainWindowAccess::Command(dlg, command);
        QCOMPARE(prompts.Summaries(), writes ? question : notice); // a load tells again
        const QString name = renamed ? QStringLiteral("Neo.d2s") : QStringLiteral("Hero.d2s");
        QCOMPARE(dlg.windowTitle(), "QUARVINEL: " + name + suffix);
        QCOMPARE(QFileInfo::exists(path), !renamed);
        const QByteArray saved = CharacterFixture::ReadFile(dir.filePath(name));
        if (held && writes && yes)
            QCOMPARE(saved, QByteArray(file).replace(300, 1, "\x07"));
        else if (edit && !held && (yes || !other))
            QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + Layout::GoldFirst), 777u);
        else
            QCOMPARE(renamed ? saved.mid(8, 4) : saved, renamed ? QByteArray("Neo\0", 4) : file);
        if (!writes)
            QCOMPARE(DocumentImage(MainWindowAccess::Document(dlg)), file);
        QVERIFY(!dlg.TakePendingError());
    }

    // Every real file in tests/data through the command line: its values, a
    // save that changes nothing, and an edit of gold, an attribute, a skill, a
    // quest and a waypoint.
    void realFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("damaged"); // the stored checksum is spoiled first
        QTest::addColumn<QStringList>("shown"); // lines of show, before any edit
        QTest::addColumn<QString>("checksum");
        const auto row = [](const char *tag, const char *file, QStringList shown, const char *checksum,
                            bool damaged = false) {
            QTest::newRow(tag) << QString::fromLatin1(file) << damaged << shown << QString::fromLatin1(checksum);
        };
        row("87", "v87_barbarian_new.d2s", {"version: 87", "name: testtt", "class: Barbarian", "level: 1", "gold: 0", "strength: 30", "energy: 10", "health: 55"}, "none");
        row("89", "v89_barbarian_new.d2s", {"version: 89", "name: fddfss", "class: Barbarian", "strength: 30", "maxMana: 10"}, "none");
        row("92", "v92_barbarian_new.d2s", {"version: 92", "name: sdfsf", "class: Barbarian", "vitality: 25", "energy: 10"}, "valid");
        row("96 level 3", "v96_sorceress_level3.d2s", {"name: test", "class: Sorceress", "level: 3", "experience: 1680", "strength: 10", "health: 40", "maxHealth: 42", "mana: 39"}, "valid");
        row("96 library", "v96_barbarian_library_written.d2s", {"name: Simple", "class: Barbarian", "level: 1", "strength: 30"}, "valid");
        row("96 level 94", "v96_sorceress_level94.d2s", {"name: NokkaSorc", "class: Sorceress", "level: 94", "gold: 458536", "strength: 122", "health: 1241", "maxMana: 221"}, "valid");
        row("97", "v97_amazon_new.d2s", {"version: 97", "name: Amazon", "class: Amazon", "strength: 20", "health: 50", "mana: 15"}, "valid");
        row("98", "v98_sorceress_level66.d2s", {"version: 98", "name: Agelatus", "class: Sorceress", "level: 66", "gold: 65447", "strength: 81", "health: 543", "maxMana: 275"}, "valid");
        row("99", "v99_barbarian_new.d2s", {"version: 99", "name: Joe", "class: Barbarian", "strength: 30"}, "valid");
        row("105 Barbarian", "v105_barbarian_new.d2s", {"version: 105", "name: barbexp", "class: Barbarian", "health: 55"}, "valid");
        row("105 Warlock", "v105_warlock_new.d2s", {"version: 105", "name: Warlock", "class: Warlock", "strength: 15", "maxMana: 20",
                                                       "skill:Summon Goatman: 0", "skill:Eldritch Blast: 0", "skill:Abyss: 0"}, "valid");
        row("99 damaged checksum", "v99_barbarian_new.d2s", {"name: Joe"}, "damaged", true);
        row("98 header only", "v98_first_save_header_only.d2s", {}, "");
    }

    void realFiles()
    {
        QFETCH(QString, file);
        QFETCH(bool, damaged);
        QFETCH(QStringList, shown);
        QFETCH(QString, checksum);
        QTemporaryDir dir;
        QByteArray original = Sample(file);
        if (damaged)
            original[12] = char(original[12] ^ 0x5A);
        QVERIFY(CharacterFixture::WriteFile(dir.filePath(file), original));
        const quint32 version = qFromLittleEndian<quint32>(original.constData() + 4);

        const CliResult show = RunCli({"show", file}, dir.path());
        if (checksum.isEmpty()) { // refused with its reason, forced or not; the raw tools change its bytes
            QCOMPARE(show.exitCode, 1);
            QVERIFY2(show.err.contains("holds only the 335-byte header"), qPrintable(show.err));
            QCOMPARE(RunCli({"set", file, "gold=1", "--force"}, dir.path()).exitCode, 1);
            QCOMPARE(RunCli({"put", file, "300", "300", "7"}, dir.path()).exitCode, 0);
            QCOMPARE(RunCli({"find", file, "7"}, dir.path()).out, "300..300\n");
            QVERIFY(CharacterFixture::WriteFile(dir.filePath("Before.d2s"), original));
            QCOMPARE(RunCli({"diff", file, "Before.d2s"}, dir.path()).out, "300: 7 0\n");
            QCOMPARE(RunCli({"backup", file, "--force"}, dir.path()).exitCode, 0); // a copy needs no values
            QCOMPARE(CharacterFixture::ReadFile(dir.filePath(file.chopped(3) + "bak")).at(300), '\7');
            return;
        }
        QCOMPARE(show.err.contains("the stored checksum"), damaged);
        for (const QString &line : shown)
            QVERIFY2(show.out.contains(line + "\n"), qPrintable(line));
        const QJsonObject before = ShownJson(dir.path(), file);
        QCOMPARE(before.value("checksum").toString(), checksum);
        const QString firstSkill = before.value("skills")[0].toObject().value("name").toString();
        { // the window shows what show shows
            ScriptedPrompts prompts;
            CBrennicorDlg dlg;
            dlg.Create();
            prompts.QueueFile(dir.filePath(file));
            MainWindowAccess::Command(dlg, ID_FILE_OPEN);
            QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_NAME)->text() + ' ' + dlg.DlgItem<QComboBox>(IDC_CLASS)->currentText() + ' '
                         + dlg.DlgItem<QLineEdit>(IDC_GOLD)->text() + ' ' + dlg.DlgItem<QLineEdit>(IDC_MANA)->text() + ' '
                         + dlg.DlgItem<QComboBox>(IDC_SKILL)->itemText(0),
                     QStringLiteral("%1 %2 %3 %4 %5").arg(before.value("name").toString(), before.value("class").toString())
                         .arg(before.value("gold").toInteger()).arg(before.value("mana").toInteger()).arg(firstSkill));
        }

        if (!damaged) { // fields set to what they hold, a stash emptied where the file stored none: no byte changes
            const auto now = [&](const char *key) { return QString::fromLatin1(key) + '=' + QString::number(before.value(key).toInteger()); };
            QCOMPARE(RunCli({"set", file, now("gold"), now("level"), now("health"), "goldInStash=5", now("goldInStash")}, dir.path()).exitCode, 0);
            QCOMPARE(CharacterFixture::ReadFile(dir.filePath(file)), original);
        }
        // No level whose gold cap is below the gold carried (10,000 a level from version 87).
        const CliResult lowered = RunCli({"set", file, "level=1", "--dry-run"}, dir.path());
        const qint64 carried = before.value("gold").toInteger();
        QCOMPARE(lowered.err, carried > 10000 ? "brennicor-cli: " + file + ": At level 1, gold " + QString::number(carried) + " is more than 10000, the most it can hold.\n" : QString());

        // Gold the file did not store is added: in 87 to 92 its presence bit and
        // 4 bytes in id order, as version 71's load inserts it.
        const QByteArray beforeGold = CharacterFixture::ReadFile(dir.filePath(file));
        const CliResult gold = RunCli({"set", file, "gold=4321"}, dir.path());
        QCOMPARE(gold.exitCode, 0);
        QCOMPARE(gold.err, damaged ? "brennicor-cli: " + file + ": the stored checksum was wrong; this save writes a correct one\n" : QString());
        const QByteArray withGold = CharacterFixture::ReadFile(dir.filePath(file));
        if (version < 96)
            QCOMPARE(withGold.size() - beforeGold.size(), before.value("absentFromFile").toArray().contains("gold") ? 4 : 0);
        QVERIFY(RunCli({"set", file, "gold=990001"}, dir.path()).err.endsWith(" can hold.\n")); // 10,000 a level
        const int strength = before.value("strength").toInt() + 7;
        QCOMPARE(RunCli({"set", file, "strength=" + QString::number(strength), "skill:" + firstSkill + "=7"}, dir.path()).exitCode, 0);
        QCOMPARE(RunCli({"quest", file, "Normal", "Act1", "den-of-evil", "Done"}, dir.path()).exitCode, 0);
        QCOMPARE(RunCli({"waypoint", file, "Normal", "Cold Plains", "on"}, dir.path()).exitCode, 0);
        // Before the attributes only the size, the checksum, Den of Evil's word and
        // Cold Plains' bit have changed; after them the first skill's byte.
        const auto [denOfEvil, coldPlains, attributes] = version < 92    ? std::tuple(142, 438, 560)
                                                         : version < 105 ? std::tuple(347, 643, 765)
                                                                         : std::tuple(415, 711, 833);
        const QByteArray edited = CharacterFixture::ReadFile(dir.filePath(file));
        // Done sets the state's bits and keeps the others the game recorded.
        const quint16 wordWas = qFromLittleEndian<quint16>(original.constData() + denOfEvil) | 0x1007;
        QByteArray expected = original.left(attributes).replace(denOfEvil, 2, QByteArray(reinterpret_cast<const char *>(&wordWas), 2));
        expected[coldPlains] = char(expected[coldPlains] | 0x02);
        if (version >= 92)
            expected.replace(8, 8, edited.mid(8, 8));
        QCOMPARE(edited.left(attributes).toHex(' '), expected.toHex(' '));
        const QByteArray skills = original.mid(original.indexOf("JM", attributes) - 30, 30);
        QCOMPARE(edited.mid(edited.indexOf("JM", attributes) - 30, 30).toHex(' '), ('\x07' + skills.mid(1)).toHex(' '));
        QCOMPARE(RunCli({"waypoint", file, "Hell", "Cold Plains", "on"}, dir.path()).exitCode, 0);
        QCOMPARE(RunCli({"waypoint", file, "Nightmare", "Lut Gholein", "off"}, dir.path()).exitCode, 0); // opens nothing
        // Act5 and the expansion's classes are an expansion character's only.
        const bool expansion = before.value("expansion").toBool();
        const QByteArray withoutAct5 = CharacterFixture::ReadFile(dir.filePath(file));
        const CliResult act5 = RunCli({"quest", file, "Hell", "Act5", "rite of passage", "Done"}, dir.path());
        QCOMPARE(act5.err.endsWith(": Act5 is an expansion character's only; this character has 4 acts.\n"), !expansion);
        QVERIFY(expansion || (act5.exitCode == 1 && CharacterFixture::ReadFile(dir.filePath(file)) == withoutAct5));
        QCOMPARE(RunCli({"set", file, "class=Druid"}, dir.path()).exitCode, expansion ? 0 : 1);

        const CliResult after = RunCli({"show", file}, dir.path());
        QCOMPARE(after.err, QString());
        QVERIFY(after.out.contains("gold: 4321\n"));
        QVERIFY(after.out.contains(QStringLiteral("strength: %1\n").arg(strength)));
        QVERIFY(after.out.contains("quest:Normal/Act1/Den of Evil: Done\n"));
        QVERIFY(after.out.contains("waypoint:Hell/Act1/Cold Plains: on\n"));
        QVERIFY(after.out.contains("difficulty:Hell: open\n")); // a waypoint switched on opens its difficulty
        QCOMPARE(after.out.contains("act:Nightmare/Act2: open\n"), show.out.contains("act:Nightmare/Act2: open\n"));
        QCOMPARE(after.out.contains("quest:Hell/Act5/Rite of Passage: Done\n"), expansion);
        QCOMPARE(after.out.contains("class: Druid\nlevel:"), expansion);
        QCOMPARE(ShownJson(dir.path(), file).value("skills").toArray().at(0).toObject().value("level").toInt(), 7);
        // Maximize Attributes stays within the field widths: 10 bits for strength from version 96.
        QCOMPARE(RunCli({"max-attributes", file}, dir.path()).exitCode, 0);
        QCOMPARE(ShownJson(dir.path(), file).value("strength").toInt(), version >= 96 ? 1023 : 10000);
        QCOMPARE(RunCli({"put", file, "50", "50", "1"}, dir.path()).exitCode, 0); // sealed as Save seals
        const QByteArray saved = CharacterFixture::ReadFile(dir.filePath(file));
        QCOMPARE(ItemsOf(saved), ItemsOf(original));
        QCOMPARE(saved.at(50), '\1');
        if (version >= 92) {
            QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + 8), quint32(saved.size()));
            QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + 12), GameChecksum(saved));
        }
    }

    // The window edits real files of versions 96 and 105: no notice, a save
    // without a change keeps every byte, gold typed and saved leaves a valid
    // file. A damaged checksum is told at open, naming the file, and mended by the save.
    void windowEditsLaterFiles()
    {
        for (const bool damaged : {false, true}) {
            for (const QString file : {"v96_sorceress_level94.d2s", "v105_barbarian_new.d2s"}) {
                QTemporaryDir dir;
                QByteArray original = Sample(file);
                const bool v105 = file.startsWith("v105");
                if (v105) { // a name whose bytes are no UTF-8: no edit may rewrite them
                    original.replace(299, 4, "Ab\xff\xfe");
                    qToLittleEndian(GameChecksum(original), original.data() + 12);
                }
                if (damaged)
                    original[12] = char(original[12] ^ 1);
                QVERIFY(CharacterFixture::WriteFile(dir.filePath("Joe.d2s"), original));
                ScriptedPrompts prompts;
                CBrennicorDlg dlg;
                dlg.Create();
                prompts.QueueFile(dir.filePath("Joe.d2s"));
                MainWindowAccess::Command(dlg, ID_FILE_OPEN);
                QStringList told = prompts.Summaries();
                QVERIFY2(damaged ? told.size() == 1 && told[0].startsWith("Open|Joe.d2s: the stored checksum") : told.isEmpty(),
                         qPrintable(told.join('#')));
                MainWindowAccess::Command(dlg, ID_FILE_SAVE);
                QCOMPARE(CharacterFixture::ReadFile(dir.filePath("Joe.d2s")) == original, !damaged);
                // Level 1 is refused where the gold carried is above its cap; the window stays open as it was.
                const bool rich = file.startsWith("v96");
                if (damaged) // said once, at the first save
                    told.append("Save|Joe.d2s: the stored checksum was wrong; this save writes a correct one.");
                if (rich)
                    told.append(AfxGetAppTitle() + "|At level 1, gold 458536 is more than 10000, the most it can hold.");
                Choose(dlg, IDC_LEVEL_LIST, 0);
                QCOMPARE(prompts.Summaries(), told);
                QCOMPARE(dlg.DlgItem<QComboBox>(IDC_LEVEL_LIST)->currentIndex(), rich ? 93 : 0);
                dlg.DlgItem<QLineEdit>(IDC_GOLD)->setText(QStringLiteral("777"));
                // Strength is held to the 10 bits of its field, and its tooltip says so.
                dlg.DlgItem<QLineEdit>(IDC_STRENGTH)->setText(QStringLiteral("5000"));
                QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_STRENGTH)->text(), QStringLiteral("1023"));
                QVERIFY(dlg.GetDlgItem(IDC_STRENGTH)->toolTip().startsWith("Strength: a whole number from 0 to 1023."));
                Choose(dlg, IDC_LEVEL_LIST, 98); // at level 99 gold goes up to 990,000
                QVERIFY(dlg.GetDlgItem(IDC_GOLD)->toolTip().startsWith("Gold carried: a whole number from 0 to 990000."));
                // An expansion character: seven classes, and Act5 with its quests.
                QCOMPARE(dlg.DlgItem<QComboBox>(IDC_CLASS)->itemText(6), QStringLiteral("Assassin"));
                QCOMPARE(dlg.DlgItem<QComboBox>(IDC_CLASS)->count(), 7);
                Choose(dlg, IDC_ACT, 4);
                Choose(dlg, IDC_QUEST, 5);
                Choose(dlg, IDC_QUEST_STATE, 3);
                MainWindowAccess::Command(dlg, ID_EDIT_MAXIMIZE_ATTRIBUTES); // to what the file holds: saved without a word
                MainWindowAccess::Command(dlg, ID_FILE_SAVE);
                QCOMPARE(prompts.Summaries(), told);
                QVERIFY(!dlg.TakePendingError());
                QCOMPARE(ItemsOf(CharacterFixture::ReadFile(dir.filePath("Joe.d2s"))), ItemsOf(original));
                QCOMPARE(CharacterFixture::ReadFile(dir.filePath("Joe.d2s")).mid(299, 48), original.mid(299, 48));
                const QJsonObject shown = ShownJson(dir.path(), "Joe.d2s");
                QCOMPARE(shown.value("gold").toInt(), 777);
                QCOMPARE(shown.value("energy").toInt(), 1023);
                QCOMPARE(shown.value("checksum").toString(), QStringLiteral("valid"));
                const QJsonObject act5 = shown.value("difficulties")[0].toObject().value("acts")[4].toObject();
                QCOMPARE(act5.value("quests")[5].toObject().value("name").toString(), QStringLiteral("Eve of Destruction"));
                QCOMPARE(act5.value("quests")[5].toObject().value("state").toString(), QStringLiteral("Done"));
                // Closed, the window's lists are those of version 71 again.
                MainWindowAccess::Command(dlg, ID_FILE_CLOSE);
                QCOMPARE(dlg.DlgItem<QComboBox>(IDC_ACT)->count(), 4);
            }
        }
    }

    void commandLine_data()
    {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error"); // "refused", "held", "warned" or nothing on standard error
        QTest::addColumn<QString>("shown"); // text that standard output holds
        const QStringList set = {"set", "Hero.d2s", "gold=5"}, show = {"show", "Hero.d2s"};
        QTest::newRow("set, 100: held") << 100u << set << 1 << "held" << "";
        QTest::newRow("set --force, 100: held") << 100u << set + QStringList{"--force"} << 1 << "held" << "";
        QTest::newRow("set, 71: written") << 71u << set << 0 << "" << "";
        QTest::newRow("max-skills --force, 104: held") << 104u << QStringList{"max-skills", "--force", "Hero.d2s"} << 1 << "held" << "";
        QTest::newRow("rename, 104: held") << 104u << QStringList{"rename", "Hero.d2s", "Neo"} << 1 << "held" << "";
        QTest::newRow("backup, 100: refused") << 100u << QStringList{"backup", "Hero.d2s"} << 1 << "refused" << "";
        QTest::newRow("put, 100: written") << 100u << QStringList{"put", "Hero.d2s", "100", "100", "7"} << 0 << "" << "";
        QTest::newRow("get, 104") << 104u << QStringList{"get", "Hero.d2s", "4", "7"} << 0 << "" << "104";
        QTest::newRow("show, 100: held") << 100u << show << 1 << "held" << "version: 100\nheld: file version 100 is not one";
        QTest::newRow("set, no signature: refused") << kNoSignature << set << 1 << "refused" << "";
        QTest::newRow("set --force, no signature: written") << kNoSignature << set + QStringList{"--force"} << 0 << "" << "";
        QTest::newRow("show, no signature: warns") << kNoSignature << show << 0 << "warned" << "";
        QTest::newRow("show, 71") << 71u << show << 0 << "" << "version: 71";
        QTest::newRow("show --json, 104: held") << 104u << QStringList{"show", "--json", "Hero.d2s"} << 1 << "held" << "\"fileVersion\": 104,\n        \"formatVersion\": 2,\n        \"held\": \"file version 104 is not one";
    }

    void commandLine()
    {
        QFETCH(quint32, version);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, shown);
        const QString refused = Risk(version) + " Nothing was written; add --force to change it anyway.";
        const QString held = QStringLiteral("file version %1 is not one this program knows (it knows 71, 87, 89, 92, 96, 97, 98, 99 and 105).").arg(version);
        const QString text = error == "refused" ? refused : error == "held" ? held : error == "warned" ? Notice(version) : QString();
        QTemporaryDir dir;
        QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("Hero.d2s")), Character(version)));
        const CliResult result = RunCli(arguments, dir.path());
        QCOMPARE(result.exitCode, status);
        QCOMPARE(result.err, text.isEmpty() ? QString() : "brennicor-cli: Hero.d2s: " + text + "\n");
        QVERIFY2(result.out.contains(shown), qPrintable(result.out));
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        const bool written = files.size() > 1 || CharacterFixture::ReadFile(dir.filePath(files.value(0))) != Character(version);
        QCOMPARE(written, QByteArray(QTest::currentDataTag()).endsWith("written"));
    }
};

QTEST_MAIN(TestOtherVersions)
#include "tst_otherversions.moc"
