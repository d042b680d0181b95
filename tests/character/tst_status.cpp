// The status byte, the game mode, the progression and the mercenary of every real file: what
// brennicor-cli shows, what set writes (the bytes named and the checksum, nothing else), what it
// refuses (the file untouched), and the window's dialog writing the same bytes.

#include "CliRunner.h"
#include "support/ModalDriver.h"
#include "support/WindowHarness.h"

#include "mainwindow/StatusDlg.h"
#include "resources/StatusDialogIds.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QtTest>

namespace {

QString Data(const QString &name)
{
    return qEnvironmentVariable("QUARVINEL_TEST_DATA") + QLatin1Char('/') + name;
}

// A private copy of a real file.
QString Copy(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    return QFile::copy(Data(name), path) ? path : QString();
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "36=2c 177=01": the bytes that differ, outside the size and checksum (8 to 15).
QString Changed(const QByteArray &before, const QByteArray &after)
{
    QStringList out;
    for (qsizetype k = 0; k < qMin(before.size(), after.size()); ++k) {
        if (before[k] != after[k] && (k < 8 || k > 15))
            out.append(QStringLiteral("%1=%2").arg(k).arg(quint8(after[k]), 2, 16, QLatin1Char('0')));
    }
    if (before.size() != after.size())
        out.append(QStringLiteral("size %1").arg(after.size()));
    return out.join(QLatin1Char(' '));
}

// What show --json says of the status and the mercenary, in one line.
QString Status(const QJsonObject &o)
{
    const auto flag = [&](const char *key) { return o[key].isNull() ? QStringLiteral("-") : QString::number(o[key].toBool()); };
    QString line = QStringLiteral("hc%1 died%2 ladder%3 exp%4 mode:%5 prog%6 %7")
                       .arg(flag("hardcore"), flag("died"), flag("ladder"), flag("expansion"),
                            o["gameMode"].toString(QStringLiteral("-")))
                       .arg(o["progression"].toInt())
                       .arg(o["title"].toString(QStringLiteral("untitled")));
    const QJsonValue m = o["mercenary"];
    if (m.isNull())
        return line + QStringLiteral(" merc:unknown");
    if (!m["hired"].toBool())
        return line + QStringLiteral(" merc:none");
    return line + QStringLiteral(" merc:%1 %2 %3 %4 exp%5 lvl%6")
                      .arg(m["dead"].toBool() ? "dead" : "alive", m["typeName"].toString())
                      .arg(m["nameIndex"].toInt())
                      .arg(m["name"].toString())
                      .arg(m["experience"].toInteger())
                      .arg(m["level"].toInt());
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realFiles_data();
    void realFiles();
    void edits_data();
    void edits();
    void refusals_data();
    void refusals();
    void dialog_data();
    void dialog();
};

void TestStatus::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    const char *none = "hc0 died0 ladder- exp0 mode:- prog0 untitled merc:unknown";
    QTest::newRow("87") << "v87_barbarian_new.d2s" << none;
    QTest::newRow("89") << "v89_barbarian_new.d2s" << none;
    QTest::newRow("92") << "v92_barbarian_new.d2s" << "hc0 died0 ladder0 exp1 mode:- prog0 untitled merc:none";
    QTest::newRow("96 died") << "v96_sorceress_level3.d2s" << "hc0 died1 ladder0 exp1 mode:- prog0 untitled merc:none";
    QTest::newRow("96 hardcore, mercenary")
        << "v96_sorceress_level94.d2s"
        << "hc1 died0 ladder0 exp1 mode:- prog13 Conqueror merc:alive Desert Mercenary (Off-Nightmare) 7 Emilio exp100730580 lvl94";
    QTest::newRow("97") << "v97_amazon_new.d2s" << "hc0 died0 ladder0 exp1 mode:- prog0 untitled merc:none";
    QTest::newRow("98 mercenary of the remastered tables")
        << "v98_sorceress_level66.d2s"
        << "hc0 died1 ladder0 exp1 mode:- prog10 Champion merc:alive Desert Mercenary (HolyFreeze-Nightmare) 12 Gulzar exp33400482 lvl64";
    QTest::newRow("99") << "v99_barbarian_new.d2s" << "hc0 died0 ladder0 exp1 mode:- prog0 untitled merc:none";
    QTest::newRow("105 expansion, its status bit clear") << "v105_barbarian_new.d2s"
                                                         << "hc0 died0 ladder0 exp1 mode:expansion prog0 untitled merc:none";
    QTest::newRow("105 warlock") << "v105_warlock_new.d2s" << "hc0 died0 ladder0 exp1 mode:warlock prog0 untitled merc:none";
}

void TestStatus::realFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, shown);
    const CliResult json = RunCli({QStringLiteral("show"), QStringLiteral("--json"), Data(file)});
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(Status(QJsonDocument::fromJson(json.out.toUtf8()).array().at(0).toObject()), shown);
    // The text says the same in its own words.
    const QString text = RunCli({QStringLiteral("show"), Data(file)}).out;
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).array().at(0).toObject();
    QVERIFY(text.contains(QStringLiteral("\nhardcore: %1\n").arg(o["hardcore"].toBool() ? "yes" : "no")));
    if (o["mercenary"]["hired"].toBool())
        QVERIFY(text.contains(QStringLiteral("\nmercenaryName: %1 (%2)\n").arg(o["mercenary"]["nameIndex"].toInt())
                                  .arg(o["mercenary"]["name"].toString())));
}

void TestStatus::edits_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QStringList>("back"); // fields that then give the original file back
    const auto row = [](const char *name, const char *file, QStringList fields, const char *changed, QStringList back = {}) {
        QTest::newRow(name) << file << fields << changed << back;
    };
    const char *v94 = "v96_sorceress_level94.d2s", *v66 = "v98_sorceress_level66.d2s";
    row("a hardcore character dies and is revived", v94, {"died=yes"}, "36=2c", {"died=no"});
    row("ladder", v94, {"ladder=1"}, "36=64", {"ladder=0"});
    row("hardcore in version 87", "v87_barbarian_new.d2s", {"hardcore=true"}, "24=24", {"hardcore=false"});
    row("hardcore in version 105", "v105_barbarian_new.d2s", {"hardcore=yes"}, "20=04");
    row("a mercenary killed and revived", v66, {"mercenaryDead=yes"}, "177=01", {"mercenaryDead=no"});
    row("the mercenary's experience", v66, {"mercenaryExperience=1000000"}, "187=40 188=42 189=0f 190=00");
    row("the mercenary's experience at its cap", v66, {"mercenaryExperience=114095520"}, "187=a0 188=f5 189=cc 190=06");
    row("the mercenary's name", v66, {"mercenaryName=20"}, "183=14");
    row("a classic character joins the expansion and leaves it", "v96_barbarian_library_written.d2s",
        {"expansion=no"}, "36=00", {"expansion=yes"});
    row("a version-105 character becomes classic", "v105_barbarian_new.d2s", {"gameMode=classic"}, "248=01",
        {"gameMode=expansion"});
    row("a value set to what it is", v94, {"hardcore=yes", "mercenaryName=7", "expansion=1"}, "");
}

void TestStatus::edits()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    QFETCH(QString, changed);
    QFETCH(QStringList, back);
    QTemporaryDir dir;
    const QString path = Copy(dir, file);
    const QByteArray before = Bytes(path);
    const CliResult set = RunCli(QStringList{QStringLiteral("set"), path} + fields);
    QCOMPARE(set.err, QString());
    QCOMPARE(set.exitCode, 0);
    QCOMPARE(Changed(before, Bytes(path)), changed);
    const QJsonObject shown = QJsonDocument::fromJson(RunCli({"show", "--json", path}).out.toUtf8()).array().at(0).toObject();
    QVERIFY(shown["checksum"] == QLatin1String("valid") || shown["checksum"] == QLatin1String("none"));
    if (!back.isEmpty()) {
        QCOMPARE(RunCli(QStringList{QStringLiteral("set"), path} + back).exitCode, 0);
        QCOMPARE(Bytes(path), before);
    }
}

void TestStatus::refusals_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("said");
    const char *v94 = "v96_sorceress_level94.d2s", *v66 = "v98_sorceress_level66.d2s";
    QTest::newRow("Act5 progress keeps the expansion") << v94 << QStringList{"expansion=no"}
                                                       << "this character cannot leave the expansion: it has Act5 progress in Normal";
    QTest::newRow("a Druid keeps the expansion") << "v105_barbarian_new.d2s" << QStringList{"class=Druid", "gameMode=classic"}
                                                 << "cannot leave the expansion: it is a Druid";
    QTest::newRow("a Warlock keeps its mode") << "v105_warlock_new.d2s" << QStringList{"gameMode=expansion"}
                                              << "a Warlock stays in the Warlock's game mode";
    QTest::newRow("no mercenary hired") << "v96_barbarian_library_written.d2s" << QStringList{"mercenaryDead=yes"}
                                        << "this character has never hired a mercenary: hire one in the game first";
    QTest::newRow("no mercenary fields") << "v87_barbarian_new.d2s" << QStringList{"mercenaryExperience=5"}
                                         << "QUARVINEL does not know where a version-87 file keeps the mercenary";
    QTest::newRow("no ladder flag") << "v89_barbarian_new.d2s" << QStringList{"ladder=yes"}
                                    << "a version-89 file does not mark ladder characters";
    QTest::newRow("no expansion flag") << "v87_barbarian_new.d2s" << QStringList{"expansion=yes"}
                                       << "a version-87 file does not mark expansion characters";
    QTest::newRow("no game mode") << v66 << QStringList{"gameMode=classic"} << "a version-98 file has no game mode";
    QTest::newRow("experience above level 98") << v66 << QStringList{"mercenaryExperience=114095521"}
                                               << "mercenaryExperience 114095521 is above 114095520, at which a Desert "
                                                  "Mercenary (HolyFreeze-Nightmare) reaches level 98";
    QTest::newRow("a name the type does not have") << v66 << QStringList{"mercenaryName=21"}
                                                   << "mercenaryName 21 is not a name of a Desert Mercenary "
                                                      "(HolyFreeze-Nightmare): it takes 0 to 20";
    QTest::newRow("a flag that is no flag") << v66 << QStringList{"died=maybe"} << "died \"maybe\" is none of true, false, yes, no, 1, 0.";
    QTest::newRow("a mode that is no mode") << "v105_barbarian_new.d2s" << QStringList{"gameMode=hell"}
                                            << "game mode \"hell\" is none of classic, expansion, warlock";
}

void TestStatus::refusals()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString path = Copy(dir, file);
    const QByteArray before = Bytes(path);
    const CliResult set = RunCli(QStringList{QStringLiteral("set"), path, QStringLiteral("hardcore=yes")} + fields);
    QCOMPARE(set.exitCode, 1);
    QVERIFY2(set.err.contains(said), qPrintable(set.err));
    QCOMPARE(Bytes(path), before);
}

void TestStatus::dialog_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("steps"); // check boxes clicked, "name=N", "experience=N", "mode=N"
    QTest::addColumn<QString>("changed"); // the bytes saved; "refused: ..." for a box and nothing written
    QTest::newRow("revive, kill the mercenary, rename and level it")
        << "v98_sorceress_level66.d2s" << "died mercenaryDead name=3 experience=1000000"
        << "36=20 177=01 183=03 187=40 188=42 189=0f 190=00";
    QTest::newRow("ladder, hardcore") << "v96_sorceress_level3.d2s" << "ladder hardcore" << "36=6c";
    QTest::newRow("a version-105 character made classic") << "v105_barbarian_new.d2s" << "mode=0" << "248=01";
    QTest::newRow("refused: Act5") << "v96_sorceress_level94.d2s" << "expansion"
                                   << "refused: this character cannot leave the expansion: it has Act5 progress in Normal";
}

void TestStatus::dialog()
{
    QFETCH(QString, file);
    QFETCH(QString, steps);
    QFETCH(QString, changed);
    WindowHarness w;
    w.path = Copy(w.dir, file);
    w.dlg.OpenPath(w.path);
    w.prompts.Reset();
    const QByteArray before = Bytes(w.path);
    const bool refused = changed.startsWith(QLatin1String("refused: "));
    QStringList state;
    const std::pair<const char *, int> boxes[] = {{"hardcore", IDC_HARDCORE}, {"died", IDC_DIED}, {"ladder", IDC_LADDER},
                                                  {"expansion", IDC_EXPANSION}, {"mercenaryDead", IDC_MERCENARY_DEAD}};
    const auto ran = WhenModal<CStatusDlg>([&](CStatusDlg *dlg) {
        state << QString::number(dlg->GetDlgItem(IDC_LADDER)->isEnabled()) << dlg->DlgItem<QLineEdit>(IDC_MERCENARY_LEVEL)->text();
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            const QString value = step.section(QLatin1Char('='), 1);
            if (step.startsWith(QLatin1String("name=")))
                dlg->DlgItem<QComboBox>(IDC_MERCENARY_NAME)->setCurrentIndex(value.toInt());
            else if (step.startsWith(QLatin1String("mode=")))
                dlg->DlgItem<QComboBox>(IDC_GAME_MODE)->setCurrentIndex(value.toInt());
            else if (step.startsWith(QLatin1String("experience=")))
                dlg->DlgItem<QLineEdit>(IDC_MERCENARY_EXPERIENCE)->setText(value);
            for (const auto &[name, id] : boxes) {
                if (step == QLatin1String(name))
                    dlg->DlgItem<QCheckBox>(id)->click();
            }
        }
        state << dlg->DlgItem<QLineEdit>(IDC_MERCENARY_LEVEL)->text();
        QTest::mouseClick(dlg->DlgItem<QPushButton>(IDOK), Qt::LeftButton);
        // A refusal keeps the dialog open.
        if (dlg->isVisible())
            dlg->EndDialog(IDCANCEL);
    });
    w.Command(ID_EDIT_CHARACTER_STATUS);
    QVERIFY(*ran);
    if (refused) {
        QCOMPARE(w.prompts.Summaries(), QStringList{QStringLiteral("Character and Mercenary|") + changed.mid(9)});
        QCOMPARE(w.Saved(), before);
        return;
    }
    QCOMPARE(Changed(before, w.Saved()), changed);
    // The level beside the experience follows what is typed.
    if (steps.contains(QLatin1String("experience=1000000")))
        QCOMPARE(state, (QStringList{"1", "64", "19"}));
}

QTEST_MAIN(TestStatus)
#include "tst_status.moc"
