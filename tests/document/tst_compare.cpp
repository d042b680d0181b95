#include "Compare.h"
#include "support/CharacterFixture.h"

#include <QtTest>

class TestCompare : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstDifference_data();
    void firstDifference();
};

void TestCompare::firstDifference_data()
{
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QByteArray>("compare");
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("found");

    const QByteArray base = QByteArray::fromHex("00112233445566778899aabbccdd");
    QByteArray changed = base;
    changed[5] = 'x';
    changed[9] = 'y';
    QTest::newRow("same bytes") << base << base << 0u << NoDifference;
    QTest::newRow("first of two") << base << changed << 0u << 5u;
    QTest::newRow("the difference itself") << base << changed << 5u << 5u;
    QTest::newRow("second of two") << base << changed << 6u << 9u;
    QTest::newRow("after the last") << base << changed << 10u << NoDifference;
    QTest::newRow("at offset 0") << QByteArray("a") << QByteArray("b") << 0u << 0u;
    QTest::newRow("longer compare, common part equal") << base << base + QByteArray(10, 'z') << 0u
                                                        << NoDifference;
    QTest::newRow("shorter compare hides later difference") << changed << base.left(5) << 0u << NoDifference;
    QTest::newRow("start past both") << base << base << 1000u << NoDifference;
    QTest::newRow("wrapped start") << base << changed << 0xFFFFFFFFu << NoDifference;
    QTest::newRow("empty compare") << base << QByteArray() << 0u << NoDifference;

    // Long images: equal stretches are passed over in blocks, so a difference
    // must be found wherever it falls in or between them.
    QByteArray longBase(10000, '\0');
    for (int i = 0; i < longBase.size(); ++i)
        longBase[i] = char(i * 7);
    for (const quint32 at : {4095u, 4096u, 4097u, 8191u, 8192u, 9999u}) {
        QByteArray longChanged = longBase;
        longChanged[int(at)] = char(~longChanged[int(at)]);
        QTest::addRow("long, difference at %u", at) << longBase << longChanged << 0u << at;
        QTest::addRow("long, from just before %u", at) << longBase << longChanged << at - 1 << at;
    }
    QByteArray twoApart = longBase;
    twoApart[100] = 'x';
    twoApart[6000] = 'y';
    QTest::newRow("long, second difference in a later block") << longBase << twoApart << 101u << 6000u;
    QTest::newRow("long, equal") << longBase << longBase << 0u << NoDifference;
}

void TestCompare::firstDifference()
{
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, compare);
    QFETCH(quint32, start);
    QFETCH(quint32, found);
    FixtureDoc a(edited);
    FixtureDoc b(compare);
    QCOMPARE(FindDifference(a, b, start), found);
}

QTEST_APPLESS_MAIN(TestCompare)
#include "tst_compare.moc"
