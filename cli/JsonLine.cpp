#include "JsonLine.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// From 2^53 on, std::to_chars writes every digit of the exact value where
// the shortest digits end ("18014398509481985" for 1.8014398509481984e16)
// while QByteArray::number pads them with zeros; below it both agree.
constexpr double ExactDigitsFrom = 9007199254740992.0;

// Writes the character's UTF-8 bytes at out; gives the end.
char* appendUtf8(char* out, char32_t c)
{
    if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
    } else {
        *out++ = char(0xF0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3F));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (c & 0x3F));
    return out;
}

} // namespace

void JsonLine::clear()
{
    m_text.clear();
    m_badField = nullptr;
}

void JsonLine::add(const char* name, qint64 value)
{
    key(name);
    char digits[24];
    m_text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void JsonLine::add(const char* name, bool value)
{
    key(name);
    m_text += value ? "true" : "false";
}

void JsonLine::add(const char* name, double value)
{
    key(name);
    if (!std::isfinite(value)) {
        if (!m_badField)
            m_badField = name;
        m_text += "null";
        return;
    }
    appendNumber(value);
}

void JsonLine::add(const char* name, const QString& value)
{
    key(name);
    appendQuoted(value);
}

void JsonLine::close()
{
    m_text += '}';
}

// The names are plain identifiers: nothing in them needs escaping.
void JsonLine::key(const char* name)
{
    const std::size_t length = std::strlen(name);
    const std::size_t start = m_text.size();
    m_text.resize(start + length + 4);
    char* out = m_text.data() + start;
    *out++ = start == 0 ? '{' : ',';
    *out++ = '"';
    std::memcpy(out, name, length);
    out[length] = '"';
    out[length + 1] = ':';
}

void JsonLine::appendNumber(double value)
{
    if (value == 0) { // negative zero as well, as QByteArray::number writes it
        m_text += '0';
    } else if (std::fabs(value) < ExactDigitsFrom) {
        char digits[32];
        m_text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    } else {
        m_text += QByteArray::number(value, 'g', QLocale::FloatingPointShortest).constData();
    }
}

// UTF-8 as QString::toUtf8 gives it (a lone surrogate becomes '?'); only the
// characters JSON forbids raw are escaped. Written in place: no UTF-16 unit
// takes more than six bytes (a control's escape).
void JsonLine::appendQuoted(const QString& value)
{
    static const char hex[] = "0123456789abcdef";
    const std::size_t start = m_text.size();
    m_text.resize(start + 6 * std::size_t(value.size()) + 2);
    char* out = m_text.data() + start;
    *out++ = '"';
    const QChar* const end = value.constEnd();
    for (const QChar* c = value.constBegin(); c != end; ++c) {
        const char16_t u = c->unicode();
        if (u >= 0x80) {
            if (!QChar::isSurrogate(u))
                out = appendUtf8(out, u);
            else if (QChar::isHighSurrogate(u) && c + 1 != end && (c + 1)->isLowSurrogate())
                out = appendUtf8(out, QChar::surrogateToUcs4(u, (++c)->unicode()));
            else
                *out++ = '?';
        } else if (u == '"' || u == '\\') {
            *out++ = '\\';
            *out++ = char(u);
        } else if (u < 0x20) {
            std::memcpy(out, "\\u00", 4);
            out[4] = hex[u >> 4];
            out[5] = hex[u & 0xF];
            out += 6;
        } else {
            *out++ = char(u);
        }
    }
    *out++ = '"';
    m_text.resize(std::size_t(out - m_text.data()));
}
