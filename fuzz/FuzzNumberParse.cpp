// The number parse of the data exchange, on arbitrary text.
//
// Input: one byte choosing how the rest becomes text (bit 0: raw UTF-16 code
// units, lone surrogates included; otherwise UTF-8), then the text.
//
// Each parse is checked against a reading of the rules written out here
// character by character, and every value must read back from its own decimal
// form, with and without blanks around it.

#include "FuzzSupport.h"

#include "core/NumberParse.h"

#include <cstring>
#include <optional>

namespace {

using Fuzz::Fail;

constexpr qsizetype kReadLimit = 31;

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The rules of the read: blanks, an optional sign, digits, blanks, nothing
// else, within the first 31 characters; a result of 0 counts only when the
// first character after the leading blanks is the digit 0.
std::optional<qint64> Reference(const QString &fullText, bool allowMinus, qint64 lowest, qint64 highest)
{
    const std::u16string text = fullText.left(kReadLimit).toStdU16String();
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    const size_t start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        if (negative && !allowMinus)
            return std::nullopt;
        ++i;
    }
    qint64 magnitude = 0;
    const qint64 cap = negative ? -lowest : highest;
    while (i < text.size() && IsDigit(text[i])) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > cap)
            magnitude = cap;
        ++i;
    }
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (magnitude == 0 && (start >= text.size() || text[start] != u'0'))
        return std::nullopt;
    return negative ? -magnitude : magnitude;
}

void Check(const QString &text)
{
    quint32 u = 0xDEADBEEF;
    const bool uOk = ParseUnsignedText(text, u);
    const std::optional<qint64> uRef = Reference(text, false, 0, 4294967295LL);
    if (uOk != uRef.has_value() || (uOk && qint64(u) != *uRef))
        Fail("ParseUnsignedText disagrees with the rules",
             QStringLiteral("\"%1\": %2 %3, expected %4 %5").arg(text).arg(uOk).arg(u).arg(uRef.has_value())
                 .arg(uRef.value_or(0)));
    if (!uOk && u != 0xDEADBEEF)
        Fail("a refused unsigned text changed the value", text);

    qint32 s = 0x5EEDF00D;
    const bool sOk = ParseSignedText(text, s);
    const std::optional<qint64> sRef = Reference(text, true, -2147483648LL, 2147483647LL);
    if (sOk != sRef.has_value() || (sOk && qint64(s) != *sRef))
        Fail("ParseSignedText disagrees with the rules",
             QStringLiteral("\"%1\": %2 %3, expected %4 %5").arg(text).arg(sOk).arg(s).arg(sRef.has_value())
                 .arg(sRef.value_or(0)));
    if (!sOk && s != 0x5EEDF00D)
        Fail("a refused signed text changed the value", text);
}

void RoundTrip(quint32 value)
{
    for (const QString &text : {QString::number(value), QStringLiteral(" \t") + QString::number(value) + QStringLiteral("\t ")}) {
        quint32 u = 0;
        if (!ParseUnsignedText(text, u) || u != value)
            Fail("an unsigned value does not read back from its decimal form", text);
        const qint32 signedValue = qint32(value);
        qint32 s = 0;
        const QString signedText = QString::number(signedValue);
        if (!ParseSignedText(signedText, s) || s != signedValue)
            Fail("a signed value does not read back from its decimal form", signedText);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 256)
        return -1;
    const QByteArray rest = Fuzz::Bytes(data + 1, size - 1);
    QString text;
    if (data[0] & 1) {
        text = QString(rest.size() / 2, Qt::Uninitialized);
        std::memcpy(text.data(), rest.constData(), size_t(text.size()) * sizeof(QChar));
    } else {
        text = QString::fromUtf8(rest);
    }
    Check(text);
    if (rest.size() >= 4)
        RoundTrip(Fuzz::LittleEndian(rest, 0, 3));
    return 0;
}
