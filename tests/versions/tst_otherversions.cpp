// Characters of another file version than 71: the window tells on every load and asks before it writes,
// the command line refuses to write without --force; the bytes of such a file stay as they were read.
#include "mainwindow/BrennicorDlg.h"
#include "document/layout/Layout.h"
#include "resources/MainDialogIds.h"
#include "cli/CliRunner.h"
#include "support/CharacterFixture.h"
#include "support/MainWindowAccess.h"
#include "support/ScriptedPrompts.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Bytes a careless save changes: one after the name's zero, a level above 99, gold left out.
QByteArray Character(quint32 version)
{
    return CharacterFixture().Version(version).Name("Hero").Byte(20, 0x5A).Level(120).WithoutGold().Build();
}

const QString kNotice = QStringLiteral("This character was saved by a later version of the game (file version "
                                       "%1). QUARVINEL knows the layout of version 71 (game versions up to 1.03): "
                                       "values may be shown wrongly, and saving may damage the file.");
const QString kRisk = QStringLiteral("This file has version %1, whose layout QUARVINEL does not know. Saving may "
                                     "damage it.");

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
        QTest::newRow("100: Rename answered No moves nothing") << 100u << int(ID_EDIT_RENAME_CHARACTER) << false << false;
        QTest::newRow("104: Rename answered Yes asks once") << 104u << int(ID_EDIT_RENAME_CHARACTER) << false << true;
        QTest::newRow("100: Reload tells again") << 100u << int(ID_FILE_RELOAD) << false << false;
        QTest::newRow("104: Backup copies exactly; Restore tells again") << 104u << int(ID_FILE_RESTORE) << false << false;
    }

    void window()
    {
        QFETCH(quint32, version);
        QFETCH(int, command);
        QFETCH(bool, edit);
        QFETCH(bool, yes);
        const bool other = version != Layout::KnownFileVersion;
        const QString suffix = other ? QStringLiteral(" [version %1]").arg(version) : QString();
        const QStringList notice = {"Open|" + kNotice.arg(version)};
        const QStringList question = other ? QStringList{"Save|" + kRisk.arg(version) + " Save anyway?"} : QStringList();
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
        if (edit && (yes || !other))
            QCOMPARE(qFromLittleEndian<quint32>(saved.constData() + Layout::GoldFirst), 777u);
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
        QTest::addColumn<QString>("error"); // "refused", "warned" or nothing on standard error
        QTest::addColumn<QString>("shown"); // text that standard output holds
        const QStringList set = {"set", "Hero.d2s", "gold=5"}, show = {"show", "Hero.d2s"};
        QTest::newRow("set, 100: refused") << 100u << set << 1 << "refused" << "";
        QTest::newRow("set --force, 100: written") << 100u << set + QStringList{"--force"} << 0 << "" << "";
        QTest::newRow("set, 71: written") << 71u << set << 0 << "" << "";
        QTest::newRow("max-skills --dry-run, 104: refused") << 104u << QStringList{"max-skills", "--dry-run", "Hero.d2s"} << 1 << "refused" << "";
        QTest::newRow("rename, 104: refused") << 104u << QStringList{"rename", "Hero.d2s", "Neo"} << 1 << "refused" << "";
        QTest::newRow("backup, 100: refused") << 100u << QStringList{"backup", "Hero.d2s"} << 1 << "refused" << "";
        QTest::newRow("put, 100: written") << 100u << QStringList{"put", "Hero.d2s", "100", "100", "7"} << 0 << "" << "";
        QTest::newRow("get, 104") << 104u << QStringList{"get", "Hero.d2s", "4", "7"} << 0 << "" << "104";
        QTest::newRow("show, 100: warns") << 100u << show << 0 << "warned" << "version: 100";
        QTest::newRow("show, 71") << 71u << show << 0 << "" << "version: 71";
        QTest::newRow("show --json, 104: warns") << 104u << QStringList{"show", "--json", "Hero.d2s"} << 0 << "warned" << "\"fileVersion\": 104,";
    }

    void commandLine()
    {
        QFETCH(quint32, version);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QString, shown);
        const QString refused = kRisk.arg(version) + " Nothing was written; add --force to change it anyway.";
        const QString text = error == "refused" ? refused : error == "warned" ? kNotice.arg(version) : QString();
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
