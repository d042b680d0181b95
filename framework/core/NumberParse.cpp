#include "core/NumberParse.h"

namespace {

// Only so much of an edit's text takes part in the read.
constexpr int kReadLimit = 31;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Reads [sign] digits from text at pos. magnitude saturates at limit.
struct Scan
{
    bool negative = false;
    quint64 magnitude = 0;
    int digits = 0;
    int end = 0;
};

Scan scanNumber(const QString &text, int pos, quint64 limit)
{
    Scan s;
    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        s.negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    while (pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9')) {
        s.magnitude = qMin<quint64>(limit, s.magnitude * 10 + quint64(text[pos].unicode() - '0'));
        ++s.digits;
        ++pos;
    }
    // Without digits the result is 0 and the zero rule refuses the text.
    s.end = pos;
    return s;
}

bool onlyBlanksFrom(const QString &text, int pos)
{
    for (; pos < text.size(); ++pos)
        if (!isBlank(text[pos]))
            return false;
    return true;
}

int firstNonBlank(const QString &text)
{
    int pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

} // namespace

bool ParseUnsignedText(const QString &fullText, quint32 &value)
{
    const QString text = fullText.left(kReadLimit);
    const int start = firstNonBlank(text);
    if (start < text.size() && text[start] == QLatin1Char('-'))
        return false;
    const Scan s = scanNumber(text, start, 0xFFFFFFFFull);
    const quint32 result = quint32(s.magnitude);
    if (result == 0 && (start >= text.size() || text[start] != QLatin1Char('0')))
        return false;
    if (!onlyBlanksFrom(text, s.end))
        return false;
    value = result;
    return true;
}

bool ParseSignedText(const QString &fullText, qint32 &value)
{
    const QString text = fullText.left(kReadLimit);
    const int start = firstNonBlank(text);
    const Scan s = scanNumber(text, start, 0x80000000ull);
    qint64 result = s.negative ? -qint64(s.magnitude) : qint64(s.magnitude);
    result = qBound<qint64>(-2147483648LL, result, 2147483647LL);
    if (result == 0 && (start >= text.size() || text[start] != QLatin1Char('0')))
        return false;
    if (!onlyBlanksFrom(text, s.end))
        return false;
    value = qint32(result);
    return true;
}

WholeNumber ParseWholeUnsigned(const QString &text, quint32 &value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('-')))
        return WholeNumber::NotANumber;
    // One past the largest value: anything above it reads as too large.
    constexpr quint64 tooLarge = 0x100000000ull;
    const Scan s = scanNumber(trimmed, 0, tooLarge);
    if (s.digits == 0 || s.end != trimmed.size())
        return WholeNumber::NotANumber;
    if (s.magnitude >= tooLarge)
        return WholeNumber::TooLarge;
    value = quint32(s.magnitude);
    return WholeNumber::Ok;
}
