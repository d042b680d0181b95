#include "IndentedJson.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

char HexDigit(unsigned value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

// Writes one UTF-16 code unit below 0x80 at to, escaped as QJsonDocument
// escapes it.
char *PutAscii(char *to, char16_t unit)
{
    const char *escape = nullptr;
    switch (unit) {
    case u'"': escape = "\\\""; break;
    case u'\\': escape = "\\\\"; break;
    case u'\b': escape = "\\b"; break;
    case u'\f': escape = "\\f"; break;
    case u'\n': escape = "\\n"; break;
    case u'\r': escape = "\\r"; break;
    case u'\t': escape = "\\t"; break;
    default:
        if (unit >= 0x20) {
            *to++ = char(unit);
            return to;
        }
        to = std::copy_n("\\u00", 4, to);
        *to++ = HexDigit(unit >> 4);
        *to++ = HexDigit(unit & 0xF);
        return to;
    }
    *to++ = escape[0];
    *to++ = escape[1];
    return to;
}

char *PutUtf8(char *to, char32_t code)
{
    if (code < 0x800) {
        *to++ = char(0xC0 | code >> 6);
    } else if (code < 0x10000) {
        *to++ = char(0xE0 | code >> 12);
        *to++ = char(0x80 | (code >> 6 & 0x3F));
    } else {
        *to++ = char(0xF0 | code >> 18);
        *to++ = char(0x80 | (code >> 12 & 0x3F));
        *to++ = char(0x80 | (code >> 6 & 0x3F));
    }
    *to++ = char(0x80 | (code & 0x3F));
    return to;
}

// Appends a JSON string of length code units, which put writes: room for
// the longest escape of each unit is made first, and what was not used goes.
template<typename Put>
void AppendString(std::string &out, std::size_t length, Put put)
{
    const std::size_t start = out.size();
    out.resize(start + 6 * length + 2);
    char *to = out.data() + start;
    *to++ = '"';
    to = put(to);
    *to++ = '"';
    out.resize(std::size_t(to - out.data()));
}

// UTF-8, with the escapes QJsonDocument writes; half of a surrogate pair
// standing alone becomes \uXXXX, as there.
void AppendString(std::string &out, QStringView text)
{
    AppendString(out, std::size_t(text.size()), [text](char *to) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text[i].unicode();
            if (unit < 0x80) {
                to = PutAscii(to, unit);
            } else if (!QChar::isSurrogate(unit)) {
                to = PutUtf8(to, unit);
            } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                to = PutUtf8(to, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
                ++i;
            } else {
                *to++ = '\\';
                *to++ = 'u';
                for (int shift = 12; shift >= 0; shift -= 4)
                    *to++ = HexDigit(unit >> shift & 0xF);
            }
        }
        return to;
    });
}

void AppendString(std::string &out, const char *latin1)
{
    const std::size_t length = std::strlen(latin1);
    // Most texts (every key) are printable ASCII without a quote or a
    // backslash, which JSON takes as they are.
    const bool plain = std::all_of(latin1, latin1 + length, [](char c) {
        return quint8(c) >= 0x20 && quint8(c) < 0x80 && c != '"' && c != '\\';
    });
    if (plain) {
        out += '"';
        out.append(latin1, length);
        out += '"';
        return;
    }
    AppendString(out, length, [latin1](char *to) {
        for (const char *c = latin1; *c; ++c)
            to = quint8(*c) < 0x80 ? PutAscii(to, char16_t(*c)) : PutUtf8(to, quint8(*c));
        return to;
    });
}

} // namespace

void IndentedJson::Next()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    m_out += m_levels.back().count++ > 0 ? ",\n" : "\n";
    m_out.append(4 * m_levels.size(), ' ');
}

void IndentedJson::Open(char bracket)
{
    Next();
    m_out += bracket;
    m_levels.push_back({0, m_members.size()});
}

void IndentedJson::Close(char bracket)
{
    m_levels.pop_back();
    m_out += '\n';
    m_out.append(4 * m_levels.size(), ' ');
    m_out += bracket;
}

void IndentedJson::BeginObject()
{
    Open('{');
}

void IndentedJson::EndObject()
{
    const std::size_t first = m_levels.back().firstMember;
    SortMembers(first);
    m_members.resize(first);
    Close('}');
}

void IndentedJson::BeginArray()
{
    Open('[');
}

void IndentedJson::EndArray()
{
    Close(']');
}

IndentedJson &IndentedJson::Key(const char *key)
{
    m_members.push_back({key, m_out.size()});
    Next();
    AppendString(m_out, key);
    m_out += ": ";
    m_afterKey = true;
    return *this;
}

void IndentedJson::Number(qint64 number)
{
    Next();
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    m_out.append(digits, std::size_t(written.ptr - digits));
}

void IndentedJson::Bool(bool value)
{
    Next();
    m_out += value ? "true" : "false";
}

void IndentedJson::String(const QString &text)
{
    Next();
    AppendString(m_out, text);
}

void IndentedJson::String(const char *text)
{
    Next();
    AppendString(m_out, text);
}

void IndentedJson::Null()
{
    Next();
    m_out += "null";
}

void IndentedJson::SortMembers(std::size_t first)
{
    const auto byKey = [](const auto &a, const auto &b) { return std::strcmp(a.key, b.key) < 0; };
    const auto begin = m_members.begin() + std::ptrdiff_t(first);
    if (std::is_sorted(begin, m_members.end(), byKey))
        return;
    // A member's text runs from its mark to the next one's; without the comma
    // and line end before it, it moves as a whole.
    struct Text
    {
        const char *key;
        std::size_t from, to;
    };
    std::vector<Text> texts;
    for (auto mark = begin; mark != m_members.end(); ++mark) {
        const std::size_t to = mark + 1 == m_members.end() ? m_out.size() : (mark + 1)->start;
        texts.push_back({mark->key, mark->start + (mark == begin ? 1 : 2), to});
    }
    std::sort(texts.begin(), texts.end(), byKey);
    std::string sorted;
    sorted.reserve(m_out.size() - begin->start);
    for (const Text &text : texts) {
        sorted += sorted.empty() ? "\n" : ",\n";
        sorted.append(m_out, text.from, text.to - text.from);
    }
    m_out.resize(begin->start);
    m_out += sorted;
}
