#include "JsonLine.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <charconv>
#include <cmath>

namespace {

// From 2^53 on, std::to_chars writes every digit of the exact value where
// the shortest digits end ("18014398509481985" for 1.8014398509481984e16)
// while QByteArray::number pads them with zeros; below it both agree.
constexpr double ExactDigitsFrom = 9007199254740992.0;

void appendUtf8(std::string& text, char32_t c)
{
    if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
    }
    text += char(0x80 | (c & 0x3F));
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
    m_text += m_text.empty() ? '{' : ',';
    m_text += '"';
    m_text += name;
    m_text += "\":";
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
// characters JSON forbids raw are escaped.
void JsonLine::appendQuoted(const QString& value)
{
    static const char hex[] = "0123456789abcdef";
    m_text += '"';
    const QChar* const end = value.constEnd();
    for (const QChar* c = value.constBegin(); c != end; ++c) {
        const char16_t u = c->unicode();
        if (u >= 0x80) {
            if (!QChar::isSurrogate(u))
                appendUtf8(m_text, u);
            else if (QChar::isHighSurrogate(u) && c + 1 != end && (c + 1)->isLowSurrogate())
                appendUtf8(m_text, QChar::surrogateToUcs4(u, (++c)->unicode()));
            else
                m_text += '?';
        } else if (u == '"' || u == '\\') {
            m_text += '\\';
            m_text += char(u);
        } else if (u < 0x20) {
            m_text += "\\u00";
            m_text += hex[u >> 4];
            m_text += hex[u & 0xF];
        } else {
            m_text += char(u);
        }
    }
    m_text += '"';
}
