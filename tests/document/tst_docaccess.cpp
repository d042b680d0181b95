// The document's byte access: single bytes, little-endian values, runs of
// bytes and the character name, with their range checks and error texts.

#include "support/CharacterFixture.h"

#include "Diablo2Doc.h"
#include "Layout.h"

#include <QTest>

namespace {

const QString kOutOfRange = QStringLiteral("offset out of range");
const QString kNegative = QStringLiteral("negative delta offset");
const QString kGetTooWide = QStringLiteral("an UINT can only hold 4 bytes of data");
const QString kSetTooWide = QStringLiteral("an UINTerger can only hold 4 bytes of data");

// 16 bytes 0x10, 0x11, ... 0x1F: every byte tells its own offset.
QByteArray Counting(int n = 16)
{
    QByteArray bytes;
    for (int k = 0; k < n; ++k)
        bytes.append(char(0x10 + k));
    return bytes;
}

QByteArray Hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

} // namespace

class TestDocAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newDocumentIsEmpty();

    void getByte_data();
    void getByte();

    void getUInt_data();
    void getUInt();
    void oneOffsetGetUIntIsTheOneByteRange_data();
    void oneOffsetGetUIntIsTheOneByteRange();

    void setUInt_data();
    void setUInt();

    void bytes_data();
    void bytes();

    void getCharName_data();
    void getCharName();
    void setCharName_data();
    void setCharName();
    void setCharNameOnAShortImageWritesUpToTheEnd();

    void modifiedFlagFollowsWrites();
    void clearDropsImageAndNameButKeepsFlag();
};

void TestDocAccess::newDocumentIsEmpty()
{
    CDiablo2Doc doc;
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetSize(), 0u);
    QCOMPARE(doc.GetFileName(), QString());
    QVERIFY(!doc.IsModified());
    QCOMPARE(ThrownText([&] { (void)doc.GetByte(0); }), kOutOfRange);
    QCOMPARE(ThrownText([&] { doc.SetByte(0, 1); }), kOutOfRange);
    QCOMPARE(ThrownText([&] { (void)doc.GetCharName(); }), kOutOfRange);
    QVERIFY(!doc.IsModified());
}

void TestDocAccess::getByte_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<int>("expected"); // -1: throws "offset out of range"

    QTest::newRow("first byte") << Counting() << 0u << 0x10;
    QTest::newRow("last byte") << Counting() << 15u << 0x1F;
    QTest::newRow("one past the end") << Counting() << 16u << -1;
    QTest::newRow("highest offset") << Counting() << 0xFFFFFFFFu << -1;
    QTest::newRow("empty image") << QByteArray() << 0u << -1;
    QTest::newRow("one-byte image") << Hex("AB") << 0u << 0xAB;
}

void TestDocAccess::getByte()
{
    QFETCH(QByteArray, image);
    QFETCH(quint32, offset);
    QFETCH(int, expected);

    FixtureDoc doc(image);
    int got = -1;
    const QString error = ThrownText([&] { got = doc.GetByte(offset); });
    if (expected < 0) {
        QCOMPARE(error, kOutOfRange);
    } else {
        QCOMPARE(error, QString());
        QCOMPARE(got, expected);
    }
}

void TestDocAccess::getUInt_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("expected");
    QTest::addColumn<QString>("error");

    const QByteArray c = Counting();
    QTest::newRow("range from offset 0") << c << 0u << 3u << 0x13121110u << QString();
    QTest::newRow("one byte") << c << 5u << 5u << 0x15u << QString();
    QTest::newRow("two bytes") << c << 6u << 7u << 0x1716u << QString();
    QTest::newRow("three bytes") << c << 1u << 3u << 0x131211u << QString();
    QTest::newRow("four bytes 10..13") << c << 10u << 13u << 0x1D1C1B1Au << QString();
    QTest::newRow("ends on the last byte") << c << 12u << 15u << 0x1F1E1D1Cu << QString();
    QTest::newRow("all ones") << Hex("FF FF FF FF") << 0u << 3u << 0xFFFFFFFFu << QString();
    QTest::newRow("last before first") << c << 5u << 4u << 0u << kNegative;
    QTest::newRow("five bytes 10..14") << c << 10u << 14u << 0u << kGetTooWide;
    QTest::newRow("runs past the end") << c << 14u << 17u << 0u << kOutOfRange;
    QTest::newRow("starts past the end") << c << 16u << 16u << 0u << kOutOfRange;
    QTest::newRow("empty image") << QByteArray() << 0u << 0u << 0u << kOutOfRange;
    // The checks run in order: direction, then span, then the bytes.
    QTest::newRow("backwards past the end") << c << 100u << 50u << 0u << kNegative;
    QTest::newRow("too wide past the end") << c << 20u << 30u << 0u << kGetTooWide;
    QTest::newRow("too wide, backwards") << c << 9u << 0u << 0u << kNegative;
}

void TestDocAccess::getUInt()
{
    QFETCH(QByteArray, image);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(quint32, expected);
    QFETCH(QString, error);

    FixtureDoc doc(image);
    quint32 got = 0;
    QCOMPARE(ThrownText([&] { got = doc.GetUInt(first, last); }), error);
    if (error.isEmpty())
        QCOMPARE(got, expected);
    QVERIFY(!doc.IsModified());
}

void TestDocAccess::oneOffsetGetUIntIsTheOneByteRange_data()
{
    QTest::addColumn<quint32>("offset");
    QTest::newRow("level byte 36") << Layout::CharLevel;
    QTest::newRow("last byte") << CharacterFixture::DefaultLength - 1;
    QTest::newRow("past the end") << CharacterFixture::DefaultLength;
}

void TestDocAccess::oneOffsetGetUIntIsTheOneByteRange()
{
    QFETCH(quint32, offset);
    FixtureDoc doc(CharacterFixture().Level(42).Build());

    quint32 single = 0, range = 0;
    const QString singleError = ThrownText([&] { single = doc.GetUInt(offset); });
    const QString rangeError = ThrownText([&] { range = doc.GetUInt(offset, offset); });
    QCOMPARE(singleError, rangeError);
    QCOMPARE(single, range);
    if (singleError.isEmpty())
        QCOMPARE(single, quint32(doc.GetByte(offset)));
    if (offset == Layout::CharLevel)
        QCOMPARE(single, 42u);
}

void TestDocAccess::setUInt_data()
{
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("error");

    // Every row writes into the 8 bytes 10 11 12 13 14 15 16 17.
    QTest::newRow("four bytes, lowest first")
        << 0u << 3u << 0x44332211u << Hex("11 22 33 44 14 15 16 17") << QString();
    QTest::newRow("one byte keeps the low byte")
        << 4u << 4u << 0x1234ABu << Hex("10 11 12 13 AB 15 16 17") << QString();
    QTest::newRow("three-byte value into two bytes drops the high byte")
        << 2u << 3u << 0xABCDEFu << Hex("10 11 EF CD 14 15 16 17") << QString();
    QTest::newRow("zero")
        << 4u << 7u << 0u << Hex("10 11 12 13 00 00 00 00") << QString();
    QTest::newRow("last two bytes")
        << 6u << 7u << 0xBEEFu << Hex("10 11 12 13 14 15 EF BE") << QString();
    QTest::newRow("runs past the end: earlier bytes stay written")
        << 6u << 9u << 0x44332211u << Hex("10 11 12 13 14 15 11 22") << kOutOfRange;
    QTest::newRow("starts past the end")
        << 8u << 9u << 0xFFFFu << Hex("10 11 12 13 14 15 16 17") << kOutOfRange;
    QTest::newRow("five bytes write nothing")
        << 1u << 5u << 0xFFFFFFFFu << Hex("10 11 12 13 14 15 16 17") << kSetTooWide;
    QTest::newRow("last before first writes nothing")
        << 5u << 4u << 0xFFFFFFFFu << Hex("10 11 12 13 14 15 16 17") << kNegative;
    QTest::newRow("too wide past the end")
        << 6u << 12u << 0xFFFFFFFFu << Hex("10 11 12 13 14 15 16 17") << kSetTooWide;
    QTest::newRow("backwards past the end")
        << 20u << 10u << 0xFFFFFFFFu << Hex("10 11 12 13 14 15 16 17") << kNegative;
}

void TestDocAccess::setUInt()
{
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(quint32, value);
    QFETCH(QByteArray, after);
    QFETCH(QString, error);

    const QByteArray before = Counting(8);
    FixtureDoc doc(before);
    QCOMPARE(ThrownText([&] { doc.SetUInt(first, last, value); }), error);
    QCOMPARE(DocumentImage(doc).toHex(' '), after.toHex(' '));
    QCOMPARE(doc.GetSize(), 8u);
    // Any byte written marks the document, even when the write then failed.
    QCOMPARE(doc.IsModified(), after != before);
}

void TestDocAccess::bytes_data()
{
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("read");  // what GetBytes gives (when it does not throw)
    QTest::addColumn<QByteArray>("after"); // the image after SetBytes of AA BB CC ...

    QTest::newRow("the whole image, more than 4 bytes")
        << 0u << 7u << QString() << Hex("10 11 12 13 14 15 16 17")
        << Hex("AA BB CC DD EE FF 01 02");
    QTest::newRow("one byte") << 3u << 3u << QString() << Hex("13") << Hex("10 11 12 AA 14 15 16 17");
    QTest::newRow("last before first") << 3u << 2u << kNegative << QByteArray()
                                       << Hex("10 11 12 13 14 15 16 17");
    QTest::newRow("runs past the end: earlier bytes stay written")
        << 5u << 10u << kOutOfRange << QByteArray() << Hex("10 11 12 13 14 AA BB CC");
    QTest::newRow("starts past the end") << 8u << 8u << kOutOfRange << QByteArray()
                                         << Hex("10 11 12 13 14 15 16 17");
}

void TestDocAccess::bytes()
{
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(QString, error);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, after);

    const QByteArray source = Hex("AA BB CC DD EE FF 01 02 03 04 05 06");
    {
        FixtureDoc doc(Counting(8));
        QByteArray buffer(16, '\0');
        QCOMPARE(ThrownText([&] { doc.GetBytes(first, last, reinterpret_cast<quint8 *>(buffer.data())); }),
                 error);
        if (error.isEmpty())
            QCOMPARE(buffer.left(read.size()).toHex(' '), read.toHex(' '));
        QVERIFY(!doc.IsModified());
    }
    {
        FixtureDoc doc(Counting(8));
        QCOMPARE(ThrownText([&] { doc.SetBytes(first, last, reinterpret_cast<const quint8 *>(source.constData())); }),
                 error);
        QCOMPARE(DocumentImage(doc).toHex(' '), after.toHex(' '));
        QCOMPARE(doc.IsModified(), after != Counting(8));
    }
}

void TestDocAccess::getCharName_data()
{
    QTest::addColumn<QByteArray>("field"); // the 15 bytes at 8..22
    QTest::addColumn<QString>("name");

    QTest::newRow("short name") << QByteArray("Hero\0\0\0\0\0\0\0\0\0\0\0", 15) << QStringLiteral("Hero");
    QTest::newRow("text after the zero is ignored")
        << QByteArray("Hero\0Oldname123", 15) << QStringLiteral("Hero");
    QTest::newRow("no zero: all 15 characters") << QByteArray("ABCDEFGHIJKLMNO") << QStringLiteral("ABCDEFGHIJKLMNO");
    QTest::newRow("empty") << QByteArray(15, '\0') << QString();
    QTest::newRow("single-byte characters") << QByteArray("Zo\xEB\0\0\0\0\0\0\0\0\0\0\0\0", 15)
                                             << QString::fromUtf8("Zo\xC3\xAB");
}

void TestDocAccess::getCharName()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);

    // Byte 23, right after the field, is not zero: the name must stop at 15.
    QByteArray image = CharacterFixture().Build();
    image.replace(int(Layout::CharNameFirst), int(Layout::CharNameLength), field);
    FixtureDoc doc(image);
    QCOMPARE(doc.GetCharName(), name);
}

void TestDocAccess::setCharName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("field");

    QTest::newRow("shorter name clears the rest")
        << QStringLiteral("Hero") << QByteArray("Hero\0\0\0\0\0\0\0\0\0\0\0", 15);
    QTest::newRow("fifteen characters") << QStringLiteral("ABCDEFGHIJKLMNO") << QByteArray("ABCDEFGHIJKLMNO");
    QTest::newRow("longer names are cut at 15")
        << QStringLiteral("ABCDEFGHIJKLMNOPQ") << QByteArray("ABCDEFGHIJKLMNO");
    QTest::newRow("empty") << QString() << QByteArray(15, '\0');
    QTest::newRow("single-byte characters")
        << QString::fromUtf8("Zo\xC3\xAB") << QByteArray("Zo\xEB\0\0\0\0\0\0\0\0\0\0\0\0", 15);
}

void TestDocAccess::setCharName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, field);

    const QByteArray before = CharacterFixture().Name("Longestname1234").Build();
    FixtureDoc doc(before);
    doc.SetCharName(name);

    QByteArray expected = before;
    expected.replace(int(Layout::CharNameFirst), int(Layout::CharNameLength), field);
    QCOMPARE(DocumentImage(doc).toHex(' '), expected.toHex(' '));
    QCOMPARE(doc.GetCharName(), name.left(15));
    QVERIFY(doc.IsModified());
}

void TestDocAccess::setCharNameOnAShortImageWritesUpToTheEnd()
{
    FixtureDoc doc(Counting(12));
    QCOMPARE(ThrownText([&] { doc.SetCharName(QStringLiteral("Hero")); }), kOutOfRange);
    QCOMPARE(DocumentImage(doc).toHex(' '), Hex("10 11 12 13 14 15 16 17 48 65 72 6F").toHex(' '));
    QVERIFY(doc.IsModified());
}

void TestDocAccess::modifiedFlagFollowsWrites()
{
    FixtureDoc doc(Counting());
    QVERIFY(!doc.IsModified());
    (void)doc.GetUInt(0, 3);
    QVERIFY(!doc.IsModified());
    doc.SetByte(3, 0x13); // the same value: still a write
    QVERIFY(doc.IsModified());
    doc.SetModifiedFlag(false);
    QVERIFY(!doc.IsModified());
    doc.SetUInt(0, 0, 7);
    QVERIFY(doc.IsModified());
}

void TestDocAccess::clearDropsImageAndNameButKeepsFlag()
{
    FixtureDoc doc(Counting(), QStringLiteral("/games/Hero.d2s"));
    doc.SetByte(0, 1);
    doc.Clear();
    QVERIFY(doc.IsEmpty());
    QCOMPARE(doc.GetSize(), 0u);
    QCOMPARE(doc.GetFileName(), QString());
    QVERIFY(doc.IsModified());
    QCOMPARE(ThrownText([&] { (void)doc.GetByte(0); }), kOutOfRange);
}

QTEST_GUILESS_MAIN(TestDocAccess)
#include "tst_docaccess.moc"
