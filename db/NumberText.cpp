#include "NumberText.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// Longest prefix of s that is a decimal number; empty when there is none.
QString leadingNumber(const QString& s)
{
    int i = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < s.size() && isAsciiDigit(s.at(i))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        int j = i + 1;
        int fraction = 0;
        while (j < s.size() && isAsciiDigit(s.at(j))) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return {};
    if (i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            ++j;
        const int expStart = j;
        while (j < s.size() && isAsciiDigit(s.at(j)))
            ++j;
        if (j > expStart)
            i = j;
    }
    return s.left(i);
}

} // namespace

namespace NumberText {

std::optional<double> read(const QString& text, bool replaceCommas)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        compact += (replaceCommas && c == QLatin1Char(',')) ? QLatin1Char('.') : c;
    }
    const QString number = leadingNumber(compact);
    if (number.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value)) {
        // QLocale refuses numbers beyond the double range; a tiny exponent
        // such as 1e-400 is simply 0.
        const double fallback = std::strtod(number.toLatin1().constData(), nullptr);
        if (std::isfinite(fallback) && std::fabs(fallback) < 1.0)
            return fallback;
        return std::nullopt;
    }
    return value;
}

bool isNumeric(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (QChar c : trimmed) {
        // Only the digits 0 to 9 count; letters such as "nan" or "inf" do not.
        if (c.isLetter() && c != QLatin1Char('e') && c != QLatin1Char('E'))
            return false;
        if (c.isDigit() && !isAsciiDigit(c))
            return false;
    }
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    return ok && std::isfinite(value);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double nearest = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

double roundHalfAway(double value)
{
    return std::round(value);
}

std::optional<qint16> toInt16(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<qint32> toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

} // namespace NumberText
