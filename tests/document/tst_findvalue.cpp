// The search for a value stored little-endian in 1 to 4 bytes.

#include "support/CharacterFixture.h"

#include "Diablo2Doc.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray Hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

constexpr quint32 kNone = 0xFFFFFFFFu; // what the find tool hands over for "no match yet"
constexpr quint32 kUntouched = 4242;   // a last offset that a failed search must leave alone

// The search as the find tool describes it, one checked range read per width:
// the yardstick for the document's own search.
bool ReferenceFind(const CDiablo2Doc &doc, quint32 &first, quint32 &last, quint32 value)
{
    first = first + 1;
    for (quint32 i = first; i < doc.GetSize(); ++i) {
        for (quint32 j = i; j < i + 4; ++j) {
            quint32 got = 0;
            if (!ThrownText([&] { got = doc.GetUInt(i, j); }).isEmpty())
                break;
            if (got == value) {
                first = i;
                last = j;
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestFindValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findValue_data();
    void findValue();
    void searchWrapsAroundThroughNoMatch_data();
    void searchWrapsAroundThroughNoMatch();
    void agreesWithTheRangeByRangeSearch_data();
    void agreesWithTheRangeByRangeSearch();
    void findsAMatchAtTheEndOfALargeImage();
};

void TestFindValue::findValue_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("firstAfter");
    QTest::addColumn<quint32>("lastAfter");

    const QByteArray a = Hex("05 00 07");
    QTest::newRow("05 00 07: 5 from the start") << a << kNone << 5u << true << 0u << 0u;
    QTest::newRow("05 00 07: 5 after the match") << a << 0u << 5u << false << 1u << kUntouched;
    QTest::newRow("05 00 07: 0 is the zero byte") << a << kNone << 0u << true << 1u << 1u;
    QTest::newRow("05 00 07: 7 at the last byte") << a << kNone << 7u << true << 2u << 2u;
    QTest::newRow("05 00 07: 0x0700 over two bytes") << a << kNone << 0x0700u << true << 1u << 2u;

    const QByteArray b = Hex("34 12 34 12");
    QTest::newRow("34 12 34 12: 4660 from the start") << b << kNone << 4660u << true << 0u << 1u;
    QTest::newRow("34 12 34 12: 4660 again") << b << 0u << 4660u << true << 2u << 3u;
    QTest::newRow("34 12 34 12: 4660 once more") << b << 2u << 4660u << false << 3u << kUntouched;
    QTest::newRow("34 12 34 12: three bytes") << b << kNone << 0x341234u << true << 0u << 2u;
    QTest::newRow("34 12 34 12: three bytes, one on") << b << kNone << 0x123412u << true << 1u << 3u;

    const QByteArray c = Hex("11 22 33");
    QTest::newRow("three bytes") << c << kNone << 0x332211u << true << 0u << 2u;
    QTest::newRow("fourth byte would pass the end") << c << kNone << 0x44332211u << false << 0u << kUntouched;
    QTest::newRow("second byte would pass the end") << c << kNone << 0x4433u << false << 0u << kUntouched;
    QTest::newRow("no zero byte") << c << kNone << 0u << false << 0u << kUntouched;

    QTest::newRow("narrowest width wins") << Hex("07 00 00 00") << kNone << 7u << true << 0u << 0u;
    QTest::newRow("three bytes before a zero") << Hex("01 02 03 00") << kNone << 0x030201u << true << 0u << 2u;
    QTest::newRow("four bytes") << Hex("01 02 03 04") << kNone << 0x04030201u << true << 0u << 3u;
    QTest::newRow("largest value") << Hex("00 FF FF FF FF") << kNone << 0xFFFFFFFFu << true << 1u << 4u;
    QTest::newRow("lowest offset wins over width") << Hex("00 07 00") << kNone << 7u << true << 1u << 1u;
    QTest::newRow("start past the end") << c << 10u << 0x11u << false << 11u << kUntouched;
    QTest::newRow("start just past the last byte") << c << 2u << 0x33u << false << 3u << kUntouched;
    QTest::newRow("empty image") << QByteArray() << kNone << 0u << false << 0u << kUntouched;
    QTest::newRow("highest start offset") << c << 0xFFFFFFFEu << 0x11u << false << 0xFFFFFFFFu << kUntouched;
}

void TestFindValue::findValue()
{
    QFETCH(QByteArray, image);
    QFETCH(quint32, first);
    QFETCH(quint32, value);
    QFETCH(bool, found);
    QFETCH(quint32, firstAfter);
    QFETCH(quint32, lastAfter);

    FixtureDoc doc(image);
    quint32 last = kUntouched;
    QCOMPARE(doc.FindValue(first, last, value), found);
    QCOMPARE(first, firstAfter);
    QCOMPARE(last, lastAfter);
    QVERIFY(!doc.IsModified());
}

void TestFindValue::searchWrapsAroundThroughNoMatch_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QList<quint32>>("firsts"); // the match of each Find Next; kNone: none

    QTest::newRow("05 00 07, value 5") << Hex("05 00 07") << 5u << QList<quint32>{0, kNone, 0, kNone};
    QTest::newRow("34 12 34 12, value 4660")
        << Hex("34 12 34 12") << 4660u << QList<quint32>{0, 2, kNone, 0};
    QTest::newRow("no match at all") << Hex("01 02 03") << 9u << QList<quint32>{kNone, kNone};
}

void TestFindValue::searchWrapsAroundThroughNoMatch()
{
    QFETCH(QByteArray, image);
    QFETCH(quint32, value);
    QFETCH(QList<quint32>, firsts);

    // As the find tool drives it: after no match both offsets go back to none.
    FixtureDoc doc(image);
    quint32 first = kNone, last = kNone;
    for (quint32 expected : firsts) {
        if (!doc.FindValue(first, last, value))
            first = last = kNone;
        QCOMPARE(first, expected);
    }
}

void TestFindValue::agreesWithTheRangeByRangeSearch_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("alphabet"); // byte values drawn from 0 .. alphabet - 1
    QTest::addColumn<int>("width");    // of the values searched for

    for (int width = 1; width <= 4; ++width) {
        QTest::newRow(qPrintable(QStringLiteral("width %1, bytes 0..2").arg(width))) << quint32(width) << 3 << width;
        QTest::newRow(qPrintable(QStringLiteral("width %1, all bytes").arg(width)))
            << quint32(100 + width) << 256 << width;
    }
}

void TestFindValue::agreesWithTheRangeByRangeSearch()
{
    QFETCH(quint32, seed);
    QFETCH(int, alphabet);
    QFETCH(int, width);

    QRandomGenerator random(seed);
    for (int round = 0; round < 40; ++round) {
        QByteArray image(int(random.bounded(1, 200)), '\0');
        for (char &byte : image)
            byte = char(random.bounded(alphabet));
        // Half the values are taken from the image, so that matches occur.
        quint32 value = 0;
        if (round % 2 == 0 && image.size() >= width) {
            const int at = int(random.bounded(image.size() - width + 1));
            for (int k = width - 1; k >= 0; --k)
                value = (value << 8) | quint8(image[at + k]);
        } else {
            for (int k = 0; k < width; ++k)
                value = (value << 8) | quint32(random.bounded(alphabet));
        }

        FixtureDoc doc(image);
        quint32 first = kNone, last = kUntouched;
        quint32 refFirst = kNone, refLast = kUntouched;
        for (int step = 0; step < 300; ++step) {
            const bool found = doc.FindValue(first, last, value);
            const bool refFound = ReferenceFind(doc, refFirst, refLast, value);
            QCOMPARE(found, refFound);
            QCOMPARE(first, refFirst);
            QCOMPARE(last, refLast);
            if (!found)
                break;
        }
    }
}

void TestFindValue::findsAMatchAtTheEndOfALargeImage()
{
    QByteArray image(4 * 1024 * 1024, char(0x11));
    image[image.size() - 2] = char(0x34);
    image[image.size() - 1] = char(0x12);
    FixtureDoc doc(image);
    quint32 first = kNone, last = kUntouched;
    QVERIFY(doc.FindValue(first, last, 0x1234));
    QCOMPARE(first, quint32(image.size() - 2));
    QCOMPARE(last, quint32(image.size() - 1));
    QVERIFY(!doc.FindValue(first, last, 0x1234));
    QCOMPARE(first, quint32(image.size() - 1));
}

QTEST_GUILESS_MAIN(TestFindValue)
#include "tst_findvalue.moc"
