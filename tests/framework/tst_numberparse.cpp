#include "widgets/NumberParse.h"

#include <QtTest>

class TestNumberParse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unsignedText_data();
    void unsignedText();
    void signedText_data();
    void signedText();
};

void TestNumberParse::unsignedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<quint32>("value");

    QTest::newRow("plain") << "12" << true << 12u;
    QTest::newRow("blanks, plus and a tab") << "  +12\t" << true << 12u;
    QTest::newRow("zero") << "0" << true << 0u;
    QTest::newRow("zeros") << "000" << true << 0u;
    QTest::newRow("largest") << "4294967295" << true << 4294967295u;
    QTest::newRow("one beyond saturates") << "4294967296" << true << 4294967295u;
    QTest::newRow("far beyond saturates") << "99999999999999999999" << true << 4294967295u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("blanks only") << "   " << false << 0u;
    QTest::newRow("minus") << "-1" << false << 0u;
    QTest::newRow("minus after blanks") << "  -5" << false << 0u;
    QTest::newRow("letters after") << "12a" << false << 0u;
    QTest::newRow("letters") << "abc" << false << 0u;
    QTest::newRow("two numbers") << "12 34" << false << 0u;
    QTest::newRow("plus alone") << "+" << false << 0u;
    QTest::newRow("plus zero is not read as zero") << "+0" << false << 0u;
    QTest::newRow("leading blank zero") << " 0" << true << 0u;
    QTest::newRow("newline is not a blank") << "12\n" << false << 0u;
    // Only the first 31 characters take part: the 32nd is never seen.
    QTest::newRow("32 digits saturate") << QString(32, QLatin1Char('9')) << true << 4294967295u;
    QTest::newRow("junk past 31 characters is not seen")
        << QString(30, QLatin1Char(' ')) + QStringLiteral("7x") << true << 7u;
    QTest::newRow("number cut at 31 characters")
        << QString(29, QLatin1Char(' ')) + QStringLiteral("123") << true << 12u;
}

void TestNumberParse::unsignedText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(quint32, value);
    quint32 result = 77;
    QCOMPARE(ParseUnsignedText(text, result), accepted);
    QCOMPARE(result, accepted ? value : 77u);
}

void TestNumberParse::signedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint32>("value");

    QTest::newRow("minus one") << "-1" << true << -1;
    QTest::newRow("plain") << " 40 " << true << 40;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("smallest") << "-2147483648" << true << qint32(-2147483647 - 1);
    QTest::newRow("below smallest saturates") << "-9999999999" << true << qint32(-2147483647 - 1);
    QTest::newRow("above largest saturates") << "2147483648" << true << 2147483647;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("minus alone") << "-" << false << 0;
    QTest::newRow("letters after") << "-4x" << false << 0;
}

void TestNumberParse::signedText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(qint32, value);
    qint32 result = 77;
    QCOMPARE(ParseSignedText(text, result), accepted);
    QCOMPARE(result, accepted ? value : 77);
}

QTEST_APPLESS_MAIN(TestNumberParse)
#include "tst_numberparse.moc"
