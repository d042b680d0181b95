// The raw byte tools as a user drives them. Each row is a script of steps:
//   "Value=57715" types into the field of that label, "Set value" clicks that
//   button or command, "load=Other" answers the next file question ("" cancels),
//   "?" notes what the tool shows ("?Gold": one field, "?~Offset": its tooltip), ">step" acts in the tool
//   the click before opened (">>" one further in). A tool shows its fields in
//   order: "value first last" or "file offset". The last note is taken at the end.

#include "support/CharacterFixture.h"
#include "support/MainWindowAccess.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include "mainwindow/BrennicorDlg.h"
#include "tools/CompareDlg.h"
#include "tools/EditValueDlg.h"
#include "tools/FindValueDlg.h"
#include "resources/MainDialogIds.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Shows(const CDialog &dlg)
{
    QStringList fields;
    for (const QLineEdit *edit : dlg.findChildren<QLineEdit *>())
        fields.append(QFileInfo(edit->text()).fileName());
    return fields.join(QLatin1Char(' '));
}

// The field (by its label), button or command (by its text) of dlg called name.
template <class W>
W *Named(const CDialog &dlg, const QString &name)
{
    for (W *w : dlg.findChildren<W *>()) {
        if (w->property(std::is_same_v<W, QLineEdit> ? "accessibleName" : "text").toString().remove(QLatin1Char('&')) == name)
            return w;
    }
    return nullptr;
}

struct Script
{
    ScriptedPrompts &prompts;
    const QTemporaryDir &dir;
    QStringList notes;

    void Run(CDialog &dlg, QStringList steps)
    {
        while (!steps.isEmpty()) {
            QString step = steps.takeFirst();
            QStringList inner;
            while (!steps.isEmpty() && steps.first().startsWith(QLatin1Char('>')))
                inner.append(steps.takeFirst().mid(1));
            const std::shared_ptr<bool> ran = inner.isEmpty() ? nullptr : WhenModal<CDialog>([this, inner](CDialog *opened) {
                Run(*opened, inner);
                opened->EndDialog(IDCANCEL);
            });
            if (step.startsWith(QLatin1Char('?'))) {
                const bool tip = step.startsWith(QLatin1String("?~"));
                const QLineEdit *field = step.size() > 1 ? Named<QLineEdit>(dlg, step.mid(tip ? 2 : 1)) : nullptr;
                notes.append(!field ? Shows(dlg) : tip ? field->toolTip() : field->text());
                continue;
            }
            if (step.startsWith(QLatin1String("load="))) {
                prompts.QueueFile(step.size() == 5 ? QString() : dir.filePath(step.mid(5) + QStringLiteral(".d2s")));
                step = QStringLiteral("Load...");
            }
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            if (QLineEdit *edit = equals > 0 ? Named<QLineEdit>(dlg, step.left(equals)) : nullptr) {
                edit->setFocus();
                edit->selectAll();
                step.size() == equals + 1 ? QTest::keyClick(edit, Qt::Key_Delete) : QTest::keyClicks(edit, step.mid(equals + 1));
            } else if (QPushButton *button = Named<QPushButton>(dlg, step)) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (QAction *command = Named<QAction>(dlg, step); command && command->isEnabled()) {
                command->trigger();
            } else {
                QFAIL(qPrintable(QStringLiteral("no field, button or command: ") + step));
            }
            if (ran)
                QVERIFY2(*ran, qPrintable(step + QStringLiteral(" opened no tool")));
        }
    }
};

} // namespace

class TestTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void script_data();
    void script();

private:
    QTemporaryDir m_dir;
};

void TestTools::script_data()
{
    // The files the rows load.
    const QList<std::pair<const char *, QByteArray>> files{
        {"Hero", CharacterFixture().Build()}, {"Diff", CharacterFixture().Byte(5, 1).Byte(9, 'a').Build()},
        {"Byte40", CharacterFixture().Byte(40, 0x01).Build()}, {"Shorter", CharacterFixture().Length(697).Build()},
        {"Longer", CharacterFixture().Length(710).Byte(699, 0).Build()}, {"Short", CharacterFixture().Build().left(100)},
        {"Empty", ""}};
    for (const auto &[name, bytes] : files)
        QVERIFY(CharacterFixture::WriteFile(m_dir.filePath(QLatin1String(name) + ".d2s"), bytes));

    QTest::addColumn<QString>("tool");       // "Edit value", "Find value", "Compare To", "window"
    QTest::addColumn<QByteArray>("image");   // the open character; empty: none
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("changes");    // "offset:byte" in hex, of the character in memory

    // The character: level 10 at 36, experience 57715 at 617..620, gold 1234 at 621..624.
    const QByteArray c = CharacterFixture().Expanded();
    const QByteArray none;
    const QString edit = QStringLiteral("Edit value"), find = QStringLiteral("Find value"), compare = QStringLiteral("Compare To");
    const QString parse = QStringLiteral("tst_tools|Please enter a positive integer. (!)");
    const QString openFirst = QStringLiteral("Compare|You must open a character first! (stop)");
    const QString tooShort = QStringLiteral("Compare|offset out of range (stop)");
    const QString bigger = QStringLiteral("Compare result|The compare file is bigger than the original file by 10 bytes.");
    const QString at40 = QString::number(quint8(c[40]));
    const QString next40 = QString::number(c.indexOf(c[40], 41));
    auto hex = [](const char *spaced) { return QByteArray::fromHex(QByteArray(spaced).replace(' ', "")); };
    using L = QStringList;

    QTest::newRow("Edit value: an offset typed shows its byte, Get value reads 617..620")
        << edit << c << L{"Offset=36", "?", "Offset=617", "Last offset=620", "Value=1", "Get value", "?~Offset"}
        << L{"10 36 36", "First offset: the byte position where the value starts, 0 to 699 in this 700-byte file. "
                         "Typing it makes the last offset the same byte.", "57715 617 620"} << L() << "";
    QTest::newRow("Edit value: a value typed shows in plain decimal; five bytes are refused")
        << edit << c << L{"Offset=10", "Last offset=14", "Value=0099", "?", "Set value", "?", "Get value"}
        << L{"99 10 14", "99 10 14", "0 10 14"} << L{"Edit value|an UINTerger can only hold 4 bytes of data (!)"} << "";
    QTest::newRow("Edit value: the last byte is written, what lies past it is refused")
        << edit << c << L{"Offset=699", "Value=7", "Set value", "Offset=698", "Last offset=701", "Value=287454020", "Set value"}
        << L{"287454020 698 701"} << L{"Edit value|offset out of range (!)"} << "698:44 699:33";
    QTest::newRow("Edit value: no character, nothing to read or write") << edit << none
        << L{"Value=5", "Set value", "?", "Get value"} << L{"5 0 0", "0 0 0"} << L{"Edit value|offset out of range (!)"} << "";
    QTest::newRow("Edit value: an emptied last offset or value is neither written nor read")
        << edit << c << L{"Offset=621", "Last offset=", "Get value", "?", "Last offset=624", "Value=5", "Value=", "Set value", "Get value"}
        << L{"210 621 ", " 621 624"} << L(5, parse) << "";
    QTest::newRow("Edit value: Find a value... that finds nothing keeps the range, else hands back the range found")
        << edit << c << L{"Offset=621", "Last offset=624", "Find a value...", ">Value=4294967295", ">?", "?", "Find a value...", ">Value=57715", ">?"}
        << L{"4294967295 -1 -1", "1234 621 624", "57715 617 618", "57715 617 618"} << L() << "";

    QTest::newRow("Find value: Find Next goes on, Find starts again, past the last match -1 and around again")
        << find << hex("34 12 34 12") << L{"Value=4660", "?", "Find Next", "?", "Find", "?", "Find Next", "Find Next", "?", "Find Next"}
        << L{"4660 0 1", "4660 2 3", "4660 0 1", "4660 -1 -1", "4660 0 1"} << L() << "";
    QTest::newRow("Find value: no character, nothing found")
        << find << none << L{"Value=0", "Find"} << L{"0 -1 -1"} << L() << "";
    QTest::newRow("Find value: one byte, and an emptied value is not searched for")
        << find << hex("05 00 07") << L{"Value=5", "Find Next", "?", "Value=", "Find Next"} << L{"5 -1 -1", " -1 -1"} << L{parse, parse} << "";
    QTest::newRow("Find value: Compare... hands back the difference and the byte there")
        << find << c << L{"Value=4660", "Compare...", ">load=Byte40", ">Find...", ">?", "?", "Find Next"}
        << L{"Byte40.d2s 40", at40 + " 40 40", at40 + ' ' + next40 + ' ' + next40} << L() << "";
    QTest::newRow("Find value: Compare... closed before a search hands back -1")
        << find << c << L{"Value=4660", "Compare...", ">?"} << L{" -1", "4660 -1 -1"} << L() << "";

    QTest::newRow("Compare To: differences at 5 and 9, then around again; the same file has none")
        << compare << c << L{"load=Diff", "Find...", "?", "Find Next", "?", "Find Next", "?", "Find Next", "?", "load=Hero", "Find..."}
        << L{"Diff.d2s 5", "Diff.d2s 9", "Diff.d2s -1", "Diff.d2s 5", "Hero.d2s -1"} << L() << "";
    QTest::newRow("Compare To: a longer file, its last shared byte differs; a shorter file")
        << compare << c << L{"load=Longer", "Find...", "?", "Find Next", "?", "load=Shorter", "Find..."} << L{"Longer.d2s 699", "Longer.d2s -1", "Shorter.d2s -1"}
        << L{bigger, "Compare result|The compare file is smaller than the original file by 3 bytes."} << "";
    QTest::newRow("Compare To: Find... before Load..., after a cancelled one (the field keeps its name), of an empty file")
        << compare << c << L{"Find Next", "?", "load=Hero", "load=", "Find...", "?", "load=Empty", "Find..."}
        << L{" -1", "Hero.d2s -1", "Empty.d2s -1"} << L(3, openFirst) << "";
    QTest::newRow("Compare To: no character open")
        << compare << none << L{"load=Hero", "Find..."} << L{"Hero.d2s -1"} << L{openFirst} << "";
    QTest::newRow("Compare To: a file too short for its stat block, after a good one")
        << compare << c << L{"load=Short", "load=Hero", "load=Short", "Find..."} << L{"Hero.d2s -1"} << L{tooShort, tooShort, openFirst} << "";

    QTest::newRow("window: Set value shows at once, Compare finds the unsaved edit") << "window" << c
        << L{"Edit Value...", ">Offset=621", ">Last offset=624", ">Value=4660", ">Set value", "?Gold",
             "Compare...", ">load=Hero", ">Find...", ">?", ">Find Next", ">?", ">Find Next", ">?"}
        << L{"4660", "Hero.d2s 621", "Hero.d2s 622", "Hero.d2s -1"} << L() << "621:34 622:12";
    QTest::newRow("window: Edit value, Find value and Compare hand the difference back") << "window" << c
        << L{"Edit Value...", ">Offset=617", ">Find a value...", ">>Value=57715", ">>Compare...", ">>>load=Byte40", ">>>Find...", ">>?", ">?"}
        << L{at40 + " 40 40", at40 + " 40 40"} << L() << "";
    QTest::newRow("window: a short compare file three tools deep keeps the window") << "window" << c
        << L{"Edit Value...", ">Find a value...", ">>Compare...", ">>>load=Short", "Compare...", ">load=Short", "?Gold"}
        << L{"1234"} << L{tooShort, tooShort} << "";
}

void TestTools::script()
{
    QFETCH(QString, tool);
    QFETCH(QByteArray, image);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, notes);
    QFETCH(QStringList, messages);
    QFETCH(QString, changes);

    ScriptedPrompts prompts;
    FixtureDoc doc(image);
    std::unique_ptr<CDialog> dlg;
    CDiablo2Doc *character = &doc;
    if (tool == QLatin1String("window")) {
        auto main = std::make_unique<CBrennicorDlg>();
        main->Create();
        QVERIFY(MainWindowAccess::Document(*main).OpenFile(m_dir.filePath(QStringLiteral("Hero.d2s"))));
        MainWindowAccess::SyncWithDocument(*main, false);
        character = &MainWindowAccess::Document(*main);
        dlg = std::move(main);
    } else {
        dlg = tool == QLatin1String("Edit value") ? std::unique_ptr<CDialog>(new CEditValueDlg(&doc))
            : tool == QLatin1String("Find value") ? std::unique_ptr<CDialog>(new CFindValueDlg(&doc))
                                                  : std::unique_ptr<CDialog>(new CCompareDlg(&doc));
        dlg->Create();
    }

    Script script{prompts, m_dir, {}};
    script.Run(*dlg, steps);
    if (tool != QLatin1String("window"))
        script.notes.append(Shows(*dlg));

    QCOMPARE(script.notes, notes);
    QStringList shown; // each message as "caption|text (icon)"
    for (const ScriptedPrompts::Message &m : prompts.messages)
        shown.append(m.caption + QLatin1Char('|') + m.text
                     + QLatin1String(m.icon == MessageIcon::Exclamation ? " (!)" : m.icon == MessageIcon::Stop ? " (stop)" : ""));
    QCOMPARE(shown, messages);
    for (const QString &c : changes.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        image[c.section(QLatin1Char(':'), 0, 0).toInt()] = char(c.section(QLatin1Char(':'), 1).toUInt(nullptr, 16));
    QCOMPARE(DocumentImage(*character), image);
    QCOMPARE(character->IsModified(), !changes.isEmpty());
    QVERIFY(!dlg->TakePendingError() && dlg->isVisible());
    for (const QWidget *control : dlg->findChildren<QWidget *>()) { // a tool's fields and buttons explain themselves
        if (tool != "window" && (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QPushButton *>(control)))
            QVERIFY(!control->toolTip().isEmpty() && control->accessibleDescription() == control->toolTip());
    }
    QCOMPARE(CharacterFixture::ReadFile(m_dir.filePath(QStringLiteral("Hero.d2s"))), CharacterFixture().Build());
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
