// The Edit value tool: reading and writing a value over an offset range, its
// refusals, and the range it takes back from Find value.

#include "ToolDriver.h"
#include "support/CharacterFixture.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include "EditValueDlg.h"
#include "FindValueDlg.h"
#include "ToolDialogIds.h"
#include "widgets/DataExchange.h"

#include <QTest>

namespace {

QByteArray Character()
{
    return CharacterFixture().Expanded(); // 700 bytes; experience 57715 at 617..620
}

QByteArray With(QByteArray image, int offset, quint8 byte)
{
    image[offset] = char(byte);
    return image;
}

} // namespace

class TestEditValueDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getAndSetValue_data();
    void getAndSetValue();
    void emptyingAFieldComplainsAtOnce_data();
    void emptyingAFieldComplainsAtOnce();
    void findAValueTakesTheRangeBack_data();
    void findAValueTakesTheRangeBack();
};

void TestEditValueDlg::getAndSetValue_data()
{
    QTest::addColumn<QByteArray>("image");  // empty: no file open
    QTest::addColumn<QString>("first");     // typed in this order; a null string is not typed
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("button");        // 0: none
    QTest::addColumn<QString>("shownLast");
    QTest::addColumn<QString>("shownValue");
    QTest::addColumn<QString>("message");   // under "Edit value"; empty: none
    QTest::addColumn<QByteArray>("imageAfter");

    const QByteArray c = Character();
    const QString none;
    QTest::newRow("typing 36 shows the byte at 36")
        << c << "36" << none << none << 0 << "36" << "10" << "" << c;
    QTest::newRow("617..620 is the experience")
        << c << "617" << "620" << "1" << IDC_GET_VALUE << "620" << "57715" << "" << c;
    QTest::newRow("300 into one byte keeps its low byte")
        << c << "100" << none << "300" << IDC_SET_VALUE << "100" << "300" << "" << With(c, 100, 44);
    QTest::newRow("five bytes cannot be read")
        << c << "10" << "14" << "99" << IDC_GET_VALUE << "14" << "0" << "" << c;
    QTest::newRow("five bytes cannot be written")
        << c << "10" << "14" << "99" << IDC_SET_VALUE << "14" << "99"
        << "an UINTerger can only hold 4 bytes of data" << c;
    QTest::newRow("20..19 cannot be read")
        << c << "20" << "19" << "99" << IDC_GET_VALUE << "19" << "0" << "" << c;
    QTest::newRow("20..19 cannot be written")
        << c << "20" << "19" << "99" << IDC_SET_VALUE << "19" << "99" << "negative delta offset" << c;
    QTest::newRow("a range past the end writes what lies inside")
        << c << "698" << "701" << "287454020" << IDC_SET_VALUE << "701" << "287454020"
        << "offset out of range" << With(With(c, 698, 0x44), 699, 0x33);
    QTest::newRow("no file: nothing to read")
        << QByteArray() << "0" << none << "99" << IDC_GET_VALUE << "0" << "0" << "" << QByteArray();
    QTest::newRow("no file: nothing to write")
        << QByteArray() << "0" << none << "5" << IDC_SET_VALUE << "0" << "5" << "offset out of range"
        << QByteArray();
}

void TestEditValueDlg::getAndSetValue()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, value);
    QFETCH(int, button);
    QFETCH(QString, shownLast);
    QFETCH(QString, shownValue);
    QFETCH(QString, message);
    QFETCH(QByteArray, imageAfter);

    ScriptedPrompts prompts;
    FixtureDoc doc(image);
    CEditValueDlg dlg(&doc);
    dlg.Create();
    QCOMPARE(Shown(dlg, IDC_FIRST_OFFSET) + Shown(dlg, IDC_LAST_OFFSET) + Shown(dlg, IDC_VALUE),
             QStringLiteral("000"));

    TypeInto(dlg, IDC_FIRST_OFFSET, first);
    if (!last.isNull())
        TypeInto(dlg, IDC_LAST_OFFSET, last);
    if (!value.isNull())
        TypeInto(dlg, IDC_VALUE, value);
    if (button)
        Click(dlg, button);

    QCOMPARE(Shown(dlg, IDC_FIRST_OFFSET), first);
    QCOMPARE(Shown(dlg, IDC_LAST_OFFSET), shownLast);
    QCOMPARE(Shown(dlg, IDC_VALUE), shownValue);
    QCOMPARE(prompts.Summaries(),
             message.isEmpty() ? QStringList() : QStringList{QStringLiteral("Edit value|") + message});
    for (const ScriptedPrompts::Message &m : prompts.messages) {
        QCOMPARE(m.icon, MessageIcon::Exclamation);
        QCOMPARE(m.owner, &dlg);
    }
    QCOMPARE(DocumentImage(doc), imageAfter);
    QCOMPARE(doc.IsModified(), imageAfter != image);
    QVERIFY(!dlg.TakePendingError());
}

void TestEditValueDlg::emptyingAFieldComplainsAtOnce_data()
{
    QTest::addColumn<int>("field");
    QTest::newRow("first offset") << IDC_FIRST_OFFSET;
    QTest::newRow("last offset") << IDC_LAST_OFFSET;
    QTest::newRow("value") << IDC_VALUE;
}

void TestEditValueDlg::emptyingAFieldComplainsAtOnce()
{
    QFETCH(int, field);
    ScriptedPrompts prompts;
    FixtureDoc doc(Character());
    CEditValueDlg dlg(&doc);
    dlg.Create();
    TypeInto(dlg, IDC_FIRST_OFFSET, QStringLiteral("617"));
    TypeInto(dlg, IDC_LAST_OFFSET, QStringLiteral("620"));

    TypeInto(dlg, field, QString());

    QCOMPARE(prompts.Summaries(),
             QStringList{AfxGetAppTitle() + QLatin1Char('|') + QLatin1String(kParseUIntMessage)});
    QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(field));
    QCOMPARE(DocumentImage(doc), Character());
}

void TestEditValueDlg::findAValueTakesTheRangeBack_data()
{
    QTest::addColumn<QString>("searchFor"); // typed into Find value; empty: closed at once
    QTest::addColumn<QString>("foundRange");
    QTest::addColumn<QString>("shownRange");
    QTest::addColumn<QString>("shownValue");

    // 57715 fits in two bytes, so the search finds it as 617..618.
    QTest::newRow("a match becomes the range") << "57715" << "617..618" << "617..618" << "57715";
    QTest::newRow("nothing found keeps the range")
        << "4294967295" << "-1..-1" << "621..624" << "1234";
    QTest::newRow("closed before a search keeps the range") << "" << "-1..-1" << "621..624" << "1234";
}

void TestEditValueDlg::findAValueTakesTheRangeBack()
{
    QFETCH(QString, searchFor);
    QFETCH(QString, foundRange);
    QFETCH(QString, shownRange);
    QFETCH(QString, shownValue);

    ScriptedPrompts prompts;
    FixtureDoc doc(Character());
    CEditValueDlg dlg(&doc);
    dlg.Create();
    TypeInto(dlg, IDC_FIRST_OFFSET, QStringLiteral("621"));
    TypeInto(dlg, IDC_LAST_OFFSET, QStringLiteral("624")); // gold, 1234
    TypeInto(dlg, IDC_VALUE, QStringLiteral("7"));

    QString shownByFind;
    const auto ran = WhenModal<CFindValueDlg>([&](CFindValueDlg *find) {
        if (!searchFor.isEmpty())
            TypeInto(*find, IDC_VALUE, searchFor);
        shownByFind = ShownRange(*find, IDC_FIRST_OFFSET, IDC_LAST_OFFSET);
        Click(*find, IDCANCEL);
    });
    Click(dlg, IDC_FIND_A_VALUE);

    QVERIFY(*ran);
    QCOMPARE(shownByFind, foundRange);
    QCOMPARE(ShownRange(dlg, IDC_FIRST_OFFSET, IDC_LAST_OFFSET), shownRange);
    QCOMPARE(Shown(dlg, IDC_VALUE), shownValue);
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(DocumentImage(doc), Character());
}

QTEST_MAIN(TestEditValueDlg)
#include "tst_editvaluedlg.moc"
