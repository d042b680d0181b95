// The document's checked byte access, its name field, and its search and
// compare walk.

#include "support/CharacterFixture.h"

#include "Compare.h"
#include "Diablo2Doc.h"

#include <QTest>

namespace {

// Every byte tells its own offset: 0x10, 0x11, ...
QByteArray Counting(int n = 16)
{
    QByteArray bytes;
    for (int k = 0; k < n; ++k)
        bytes.append(char(0x10 + k));
    return bytes;
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void access_data();
    void access();
    void charName_data();
    void charName();
    void findValue_data();
    void findValue();
    void findValueWhereItsBytesAreEverywhere();
    void findDifference_data();
    void findDifference();
};

void TestDocument::access_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("value"); // written, or expected when read
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("image");

    const QByteArray same = Counting();
    const QString none;
    QTest::newRow("read one byte") << false << 3u << 3u << 0x13u << none << same;
    QTest::newRow("read four bytes, lowest first") << false << 12u << 15u << 0x1F1E1D1Cu << none << same;
    QTest::newRow("read past the end") << false << 15u << 16u << 0u << "offset out of range" << same;
    QTest::newRow("read backwards") << false << 5u << 4u << 0u << "negative delta offset" << same;
    QTest::newRow("read five bytes") << false << 0u << 4u << 0u << "an UINT can only hold 4 bytes of data" << same;
    QTest::newRow("write two bytes") << true << 1u << 2u << 0xBEEFu << none
                                     << QByteArray(same).replace(1, 2, QByteArray::fromHex("efbe"));
    QTest::newRow("write five bytes") << true << 0u << 4u << 1u << "an UINTerger can only hold 4 bytes of data" << same;
    QTest::newRow("write running off the end keeps what it wrote")
        << true << 14u << 17u << 0xAABBCCDDu << "offset out of range"
        << QByteArray(same).replace(14, 2, QByteArray::fromHex("ddcc"));
}

void TestDocument::access()
{
    QFETCH(bool, write);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(quint32, value);
    QFETCH(QString, error);
    QFETCH(QByteArray, image);

    FixtureDoc doc(Counting());
    quint32 read = 0;
    QCOMPARE(ThrownText([&] {
                 if (write)
                     doc.SetUInt(first, last, value);
                 else
                     read = doc.GetUInt(first, last);
             }),
             error);
    if (!write)
        QCOMPARE(read, error.isEmpty() ? value : 0u);
    QCOMPARE(doc.ImageCopy(), image);
    QCOMPARE(doc.IsModified(), image != Counting());
}

void TestDocument::charName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("short name is zero-filled") << "Conan" << "Conan" << QByteArray("Conan").leftJustified(15, '\0');
    QTest::newRow("past 15 characters is dropped") << "Abcdefghijklmnopq" << "Abcdefghijklmno"
                                                   << QByteArray("Abcdefghijklmno");
    QTest::newRow("empty clears the field") << "" << "" << QByteArray(15, '\0');
}

void TestDocument::charName()
{
    QFETCH(QString, name);
    QFETCH(QString, read);
    QFETCH(QByteArray, field);
    FixtureDoc doc(CharacterFixture().Name("LongerOldName").Expanded());
    doc.SetCharName(name);
    QCOMPARE(doc.GetCharName(), read);
    QCOMPARE(doc.ImageCopy().mid(8, 15), field);
}

void TestDocument::findValue_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");

    QTest::newRow("one byte from the beginning") << 0xFFFFFFFFu << 0x12u << true << 2u << 2u;
    QTest::newRow("two bytes") << 0xFFFFFFFFu << 0x1312u << true << 2u << 3u;
    QTest::newRow("four bytes at the very end") << 0xFFFFFFFFu << 0x1F1E1D1Cu << true << 12u << 15u;
    QTest::newRow("the search starts after first") << 2u << 0x12u << false << 3u << 4242u;
    QTest::newRow("absent") << 0xFFFFFFFFu << 0x1110u + 1 << false << 0u << 4242u;
    QTest::newRow("start past the end") << 20u << 0x10u << false << 21u << 4242u;
}

void TestDocument::findValue()
{
    QFETCH(quint32, start);
    QFETCH(quint32, value);
    QFETCH(bool, found);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    FixtureDoc doc(Counting());
    quint32 from = start, to = 4242;
    QCOMPARE(doc.FindValue(from, to, value), found);
    QCOMPARE(from, first);
    QCOMPARE(to, last);
}

// A value made of a byte that fills the whole image and one byte that stands
// once, at every offset in turn: the search must find it wherever the long
// runs of the common byte make it read byte by byte.
void TestDocument::findValueWhereItsBytesAreEverywhere()
{
    for (quint32 width = 2; width <= 4; ++width) {
        const quint32 value = 0x80808081u & (width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1);
        for (quint32 at = 0; at + width <= 3000; ++at) {
            QByteArray image(3000, char(0x80));
            image[at] = char(0x81);
            FixtureDoc doc(image);
            quint32 first = 0xFFFFFFFF, last = 0;
            QVERIFY2(doc.FindValue(first, last, value) && first == at && last == at + width - 1,
                     qPrintable(QStringLiteral("width %1 at %2: found %3").arg(width).arg(at).arg(first)));
        }
    }
}

void TestDocument::findDifference_data()
{
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<quint32>("start");
    QTest::addColumn<quint32>("expected");

    const QByteArray big = Counting(10000);
    QTest::newRow("equal") << big << 0u << NoDifference;
    QTest::newRow("first difference") << QByteArray(big).replace(5, 1, "x").replace(9000, 1, "y") << 0u << 5u;
    QTest::newRow("from a later start, past a block") << QByteArray(big).replace(5, 1, "x").replace(9000, 1, "y")
                                                      << 6u << 9000u;
    QTest::newRow("bytes past the shorter image do not count") << big.left(100) << 0u << NoDifference;
    QTest::newRow("start past the end") << QByteArray(big).replace(5, 1, "x") << 20000u << NoDifference;
}

void TestDocument::findDifference()
{
    QFETCH(QByteArray, other);
    QFETCH(quint32, start);
    FixtureDoc edited(Counting(10000));
    FixtureDoc compare(other);
    QFETCH(quint32, expected);
    QCOMPARE(FindDifference(edited, compare, start), expected);
}

QTEST_APPLESS_MAIN(TestDocument)
#include "tst_document.moc"
