// Characters held for the raw tools (a file version the editor does not know, no signature, a first
// save's header alone): the window tells on every load and asks before it writes, the command line
// refuses to write without --force; the bytes of such a file stay as they were read. The versions
// the editor edits go through tests/contract.
#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"
#include "cli/CliRunner.h"
#include "support/CharacterFixture.h"
#include "core/Prompts.h"
#include "support/MainWindowAccess.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "tools/EditValueDlg.h"
#include "resources/ToolDialogIds.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

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
        const bool headerOnly = version == kHeaderOnly;
        // A version this program does not know is held for the raw tools, as a first save's header is.
        const bool held = version != kNoSignature;
        const quint32 named = headerOnly ? 98 : version;
        const QString suffix = version == kNoSignature ? QStringLiteral(" [not a character file]")
                                                       : QStringLiteral(" [version %1]").arg(named);
        const QStringList notice = {"Open|" + Notice(version)};
        const QStringList question = {"Save|" + Risk(version) + " Save anyway?"};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
        const QByteArray file = Character(version);
        QVERIFY(CharacterFixture::WriteFile(path, file));
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.Create();
        prompts.QueueFile(path);
        MainWindowAccess::Command(dlg, ID_FILE_OPEN);
        QCOMPARE(prompts.Summaries(), notice);
        QCOMPARE(dlg.windowTitle(), "QUARVINEL: Hero.d2s" + suffix);
        QCOMPARE(DocumentImage(MainWindowAccess::Document(dlg)).size(), file.size());
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
        else if (edit && !held && yes)
            QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + 621), 777u); // version 71's gold
        else
            QCOMPARE(renamed ? saved.mid(8, 4) : saved, renamed ? QByteArray("Neo\0", 4) : file);
        if (!writes)
            QCOMPARE(DocumentImage(MainWindowAccess::Document(dlg)), file);
        QVERIFY(!dlg.TakePendingError());
    }

    void commandLine_data()
    {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error"); // "refused", "held", "header", "warned" or nothing on standard error
        QTest::addColumn<QString>("shown"); // text that standard output holds
        const QStringList set = {"set", "Hero.d2s", "gold=5"}, show = {"show", "Hero.d2s"};
        QTest::newRow("set --force, 100: held") << 100u << set + QStringList{"--force"} << 1 << "held" << "";
        QTest::newRow("max-skills --force, 104: held") << 104u << QStringList{"max-skills", "--force", "Hero.d2s"} << 1 << "held" << "";
        QTest::newRow("rename, 104: held") << 104u << QStringList{"rename", "Hero.d2s", "Neo"} << 1 << "held" << "";
        QTest::newRow("backup, 100: refused") << 100u << QStringList{"backup", "Hero.d2s"} << 1 << "refused" << "";
        QTest::newRow("put, 100: written") << 100u << QStringList{"put", "Hero.d2s", "100", "100", "7"} << 0 << "" << "";
        QTest::newRow("get, 104") << 104u << QStringList{"get", "Hero.d2s", "4", "7"} << 0 << "" << "104";
        QTest::newRow("show, 100: held") << 100u << show << 1 << "held" << "version: 100\nheld: file version 100 is not one";
        QTest::newRow("set, no signature: refused") << kNoSignature << set << 1 << "refused" << "";
        QTest::newRow("set --force, no signature: written") << kNoSignature << set + QStringList{"--force"} << 0 << "" << "";
        QTest::newRow("show, no signature: warns") << kNoSignature << show << 0 << "warned" << "";
        QTest::newRow("show, header only: held, with its reason") << kHeaderOnly << show << 1 << "header" << "version: 98\nheld: file version 98: the file holds only";
        QTest::newRow("set --force, header only: held") << kHeaderOnly << set + QStringList{"--force"} << 1 << "header" << "";
        QTest::newRow("backup, header only: refused") << kHeaderOnly << QStringList{"backup", "Hero.d2s"} << 1 << "refused" << "";
        QTest::newRow("backup --force, header only: written") << kHeaderOnly << QStringList{"backup", "Hero.d2s", "--force"} << 0 << "" << "";
        QTest::newRow("put, header only: written") << kHeaderOnly << QStringList{"put", "Hero.d2s", "300", "300", "7"} << 0 << "" << "";
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
        const QString header = "file version 98: the file holds only the 335-byte header of a new character's first save: it has no "
                               "quests, waypoints, attributes or skills until the game saves the character again.";
        const QString text = error == "refused" ? refused : error == "held" ? held : error == "header" ? header : error == "warned" ? Notice(version) : QString();
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
