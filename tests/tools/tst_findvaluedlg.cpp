// The Find value tool: the search as the fields show it, Find Next wrapping
// around through -1..-1, and the difference it takes back from Compare.

#include "ToolDriver.h"
#include "support/CharacterFixture.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include "CompareDlg.h"
#include "FindValueDlg.h"
#include "ToolDialogIds.h"
#include "widgets/DataExchange.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QString Range(const CFindValueDlg &dlg)
{
    return ShownRange(dlg, IDC_FIRST_OFFSET, IDC_LAST_OFFSET);
}

} // namespace

class TestFindValueDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void search_data();
    void search();
    void emptyingTheValueComplainsAtOnce();
    void compareHandsBackTheDifference_data();
    void compareHandsBackTheDifference();
};

void TestFindValueDlg::search_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("value");
    // The buttons clicked after the value was typed, and the range shown after
    // the typing and after each click.
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("ranges");

    const int find = IDC_FIND;
    const int next = IDC_FIND_NEXT;
    QTest::newRow("05 00 07 for 5 wraps around")
        << Hex("05 00 07") << "5" << QList<int>{next, next, next}
        << QStringList{"0..0", "-1..-1", "0..0", "-1..-1"};
    QTest::newRow("34 12 34 12 for 4660: overlapping starts")
        << Hex("34 12 34 12") << "4660" << QList<int>{next, next, find}
        << QStringList{"0..1", "2..3", "-1..-1", "0..1"};
    QTest::newRow("0 is the first zero byte")
        << Hex("05 00 07") << "0" << QList<int>{next, next}
        << QStringList{"1..1", "-1..-1", "1..1"};
    QTest::newRow("bytes that would pass the end")
        << Hex("05 00 07") << "2311" << QList<int>{find, next}
        << QStringList{"-1..-1", "-1..-1", "-1..-1"};
    QTest::newRow("three bytes in the middle")
        << Hex("01 02 03 04 01 02 03") << "197121" << QList<int>{next, next}
        << QStringList{"0..2", "4..6", "-1..-1"};
    QTest::newRow("no file open") << QByteArray() << "0" << QList<int>{find}
                                  << QStringList{"-1..-1", "-1..-1"};
}

void TestFindValueDlg::search()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, value);
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, ranges);

    ScriptedPrompts prompts;
    FixtureDoc doc(image);
    CFindValueDlg dlg(&doc);
    dlg.Create();
    QCOMPARE(Shown(dlg, IDC_VALUE) + QLatin1Char(' ') + Range(dlg), QStringLiteral("0 -1..-1"));

    TypeInto(dlg, IDC_VALUE, value);
    QStringList shown{Range(dlg)};
    for (int button : clicks) {
        Click(dlg, button);
        shown.append(Range(dlg));
    }

    QCOMPARE(shown, ranges);
    QCOMPARE(Shown(dlg, IDC_VALUE), value);
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(DocumentImage(doc), image);
}

void TestFindValueDlg::emptyingTheValueComplainsAtOnce()
{
    ScriptedPrompts prompts;
    FixtureDoc doc(Hex("34 12 34 12"));
    CFindValueDlg dlg(&doc);
    dlg.Create();
    TypeInto(dlg, IDC_VALUE, QStringLiteral("4660"));
    Click(dlg, IDC_FIND_NEXT);

    TypeInto(dlg, IDC_VALUE, QString());

    QCOMPARE(prompts.Summaries(),
             QStringList{AfxGetAppTitle() + QLatin1Char('|') + QLatin1String(kParseUIntMessage)});
    QCOMPARE(Range(dlg), QStringLiteral("2..3"));
    QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(IDC_VALUE));
}

void TestFindValueDlg::compareHandsBackTheDifference_data()
{
    QTest::addColumn<bool>("loadAndFind"); // false: Compare is closed at once
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("afterFindNext");

    const QByteArray image = CharacterFixture().Expanded();
    const quint8 byteAt40 = quint8(image[40]);
    const qsizetype nextAt = image.indexOf(char(byteAt40), 41);
    QVERIFY(nextAt > 40);
    QTest::newRow("difference at 40")
        << true << "40..40" << QString::number(byteAt40)
        << QStringLiteral("%1..%1").arg(nextAt);
    QTest::newRow("closed without a difference") << false << "-1..-1" << "4660" << "0..1";
}

void TestFindValueDlg::compareHandsBackTheDifference()
{
    QFETCH(bool, loadAndFind);
    QFETCH(QString, range);
    QFETCH(QString, value);
    QFETCH(QString, afterFindNext);

    QTemporaryDir dir;
    const QString comparePath = dir.filePath(QStringLiteral("other.d2s"));
    // The same character with 34 12 at its start, but for byte 40.
    QVERIFY(CharacterFixture().Byte(0, 0x34).Byte(1, 0x12).Byte(40, 0x01).WriteTo(comparePath));

    ScriptedPrompts prompts;
    FixtureDoc doc(CharacterFixture().Expanded());
    doc.SetUInt(0, 1, 4660);
    doc.SetModifiedFlag(false);
    CFindValueDlg dlg(&doc);
    dlg.Create();
    TypeInto(dlg, IDC_VALUE, QStringLiteral("4660"));
    Click(dlg, IDC_FIND_NEXT); // nothing after 0..1

    QString shownByCompare;
    const auto ran = WhenModal<CCompareDlg>([&](CCompareDlg *compare) {
        if (loadAndFind) {
            prompts.QueueFile(comparePath);
            Click(*compare, IDC_LOAD);
            Click(*compare, IDC_FIND);
        }
        shownByCompare = Shown(*compare, IDC_COMPARE_OFFSET);
        Click(*compare, IDCANCEL);
    });
    Click(dlg, IDC_COMPARE);

    QVERIFY(*ran);
    QCOMPARE(shownByCompare, range.section(QLatin1Char('.'), 0, 0));
    QCOMPARE(Range(dlg), range);
    QCOMPARE(Shown(dlg, IDC_VALUE), value);
    Click(dlg, IDC_FIND_NEXT);
    QCOMPARE(Range(dlg), afterFindNext);
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!doc.IsModified());
}

QTEST_MAIN(TestFindValueDlg)
#include "tst_findvaluedlg.moc"
