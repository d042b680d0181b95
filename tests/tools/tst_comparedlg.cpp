// The Compare tool: the walk over the offsets inside both images, the size
// message, and the refusals when either side holds no character.

#include "ToolDriver.h"
#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include "CompareDlg.h"
#include "ToolDialogIds.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kOpenFirst = QStringLiteral("Compare|You must open a character first!");

QString Offset(const CCompareDlg &dlg)
{
    return Shown(dlg, IDC_COMPARE_OFFSET);
}

} // namespace

class TestCompareDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data();
    void walk();
    void refusals_data();
    void refusals();
};

void TestCompareDlg::walk_data()
{
    QTest::addColumn<QByteArray>("compareFile");
    // The offset shown after Find... and after each Find Next that follows.
    QTest::addColumn<QStringList>("offsets");
    QTest::addColumn<QStringList>("messages"); // all of them, in order

    const QString bigger =
        QStringLiteral("Compare result|The compare file is bigger than the original file by 10 bytes.");
    const QString smaller =
        QStringLiteral("Compare result|The compare file is smaller than the original file by 3 bytes.");

    QTest::newRow("the same file") << CharacterFixture().Build() << QStringList{"-1", "-1"}
                                   << QStringList();
    QTest::newRow("differences at 5 and 9 wrap around")
        << CharacterFixture().Byte(5, 1).Byte(9, 'a').Build() << QStringList{"5", "9", "-1", "5"}
        << QStringList();
    QTest::newRow("10 bytes longer") << CharacterFixture().Length(710).Build()
                                     << QStringList{"-1", "-1"} << QStringList{bigger, bigger};
    QTest::newRow("3 bytes shorter") << CharacterFixture().Length(697).Build() << QStringList{"-1"}
                                     << QStringList{smaller};
    QTest::newRow("a difference before the size")
        << CharacterFixture().Length(710).Byte(699, 0).Build() << QStringList{"699", "-1", "699"}
        << QStringList{bigger};
    // Stored without experience, gold and stash gold, the file is compared as
    // the load expands it: zeros at those three values, the rest in place.
    QTest::newRow("compared in the expanded form")
        << CharacterFixture().WithoutExperience().WithoutGold().WithoutGoldInStash().Build()
        << QStringList{"617", "618", "621", "622", "625", "626", "-1"} << QStringList();
}

void TestCompareDlg::walk()
{
    QFETCH(QByteArray, compareFile);
    QFETCH(QStringList, offsets);
    QFETCH(QStringList, messages);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Other.d2s"));
    QVERIFY(CharacterFixture::WriteFile(path, compareFile));
    ScriptedPrompts prompts;
    const QByteArray edited = CharacterFixture().Expanded();
    FixtureDoc doc(edited);
    CCompareDlg dlg(&doc);
    dlg.Create();
    QCOMPARE(Shown(dlg, IDC_COMPARE_FILE) + Offset(dlg), QStringLiteral("-1"));

    prompts.QueueFile(path);
    Click(dlg, IDC_LOAD);
    QCOMPARE(Shown(dlg, IDC_COMPARE_FILE), path);
    QStringList shown;
    Click(dlg, IDC_FIND);
    shown.append(Offset(dlg));
    while (shown.size() < offsets.size()) {
        Click(dlg, IDC_FIND_NEXT);
        shown.append(Offset(dlg));
    }

    QCOMPARE(shown, offsets);
    QCOMPARE(prompts.Summaries(), messages);
    for (const ScriptedPrompts::Message &m : prompts.messages) {
        QCOMPARE(m.icon, MessageIcon::None);
        QCOMPARE(m.owner, &dlg);
    }
    QCOMPARE(DocumentImage(doc), edited);
    QVERIFY(!doc.IsModified());
    QCOMPARE(CharacterFixture::ReadFile(path), compareFile);
}

void TestCompareDlg::refusals_data()
{
    QTest::addColumn<QByteArray>("edited");     // empty: no character open
    QTest::addColumn<QStringList>("loads");     // "good", "empty", "short" file, or "" to cancel
    QTest::addColumn<QString>("fileShown");     // the File field after the loads
    QTest::addColumn<QStringList>("loadMessages");

    const QByteArray c = CharacterFixture().Expanded();
    const QString stop = QStringLiteral("Compare|offset out of range");
    QTest::newRow("Find... before Load...") << c << QStringList() << "" << QStringList();
    QTest::newRow("Load... cancelled after a load")
        << c << QStringList{"good", ""} << "good" << QStringList();
    QTest::newRow("a compare file of length 0") << c << QStringList{"empty"} << "empty"
                                                << QStringList();
    QTest::newRow("no character open") << QByteArray() << QStringList{"good"} << "good"
                                       << QStringList();
    QTest::newRow("a compare file too short for its stat block")
        << c << QStringList{"short"} << "" << QStringList{stop};
    QTest::newRow("a short file after a good one")
        << c << QStringList{"good", "short"} << "good" << QStringList{stop};
}

void TestCompareDlg::refusals()
{
    QFETCH(QByteArray, edited);
    QFETCH(QStringList, loads);
    QFETCH(QString, fileShown);
    QFETCH(QStringList, loadMessages);

    QTemporaryDir dir;
    QVERIFY(CharacterFixture().WriteTo(dir.filePath(QStringLiteral("good"))));
    QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("empty")), QByteArray()));
    QVERIFY(CharacterFixture::WriteFile(dir.filePath(QStringLiteral("short")),
                                        CharacterFixture().Build().left(100)));
    ScriptedPrompts prompts;
    FixtureDoc doc(edited);
    CCompareDlg dlg(&doc);
    dlg.Create();

    for (const QString &file : loads) {
        prompts.QueueFile(file.isEmpty() ? QString() : dir.filePath(file));
        Click(dlg, IDC_LOAD);
    }
    QCOMPARE(Shown(dlg, IDC_COMPARE_FILE), fileShown.isEmpty() ? QString() : dir.filePath(fileShown));
    QCOMPARE(prompts.Summaries(), loadMessages);

    Click(dlg, IDC_FIND);
    Click(dlg, IDC_FIND_NEXT);

    QCOMPARE(prompts.Summaries(), loadMessages + QStringList(2, kOpenFirst));
    for (const ScriptedPrompts::Message &m : prompts.messages) {
        QCOMPARE(m.icon, MessageIcon::Stop);
        QCOMPARE(m.owner, &dlg);
    }
    QCOMPARE(Offset(dlg), QStringLiteral("-1"));
    // The tool goes on: a failed load never ends it.
    QVERIFY(!dlg.TakePendingError());
    QVERIFY(dlg.isVisible());
    QCOMPARE(DocumentImage(doc), edited);
}

QTEST_MAIN(TestCompareDlg)
#include "tst_comparedlg.moc"
