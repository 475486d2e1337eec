#include "LiteralBinding.h"

namespace {

bool isIdentifierChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
               u == '$';
    return c.isLetterOrNumber();
}

bool isDigit(const QString& s, int i)
{
    return i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128;
}

// End of the quoted run that starts at i (a literal or a quoted name).
int quotedEnd(const QString& sql, int i, QChar close)
{
    for (int j = i + 1; j < sql.size(); ++j) {
        if (sql.at(j) != close)
            continue;
        if (close == QLatin1Char('\'') && j + 1 < sql.size() && sql.at(j + 1) == close) {
            ++j; // a doubled apostrophe stands for one
            continue;
        }
        return j + 1;
    }
    return -1;
}

// End of a decimal literal starting at i, or -1 when the characters there
// do not form one on their own (hex, a number glued to a name).
int numberEnd(const QString& sql, int i)
{
    if (sql.at(i) == QLatin1Char('0') && i + 1 < sql.size() && sql.at(i + 1).toLower() == QLatin1Char('x'))
        return -1;
    int j = i;
    while (isDigit(sql, j))
        ++j;
    if (j < sql.size() && sql.at(j) == QLatin1Char('.')) {
        ++j;
        while (isDigit(sql, j))
            ++j;
    }
    if (j < sql.size() && sql.at(j).toLower() == QLatin1Char('e')) {
        int k = j + 1;
        if (k < sql.size() && (sql.at(k) == QLatin1Char('+') || sql.at(k) == QLatin1Char('-')))
            ++k;
        if (!isDigit(sql, k))
            return -1;
        while (isDigit(sql, k))
            ++k;
        j = k;
    }
    if (j < sql.size() && (isIdentifierChar(sql.at(j)) || sql.at(j) == QLatin1Char('.')))
        return -1;
    return j;
}

// SQLite reads a literal without point or exponent that fits 64 bits as an
// integer (leading zeros included), every other one as a real.
QVariant numberValue(const QString& literal)
{
    bool whole = false;
    const qint64 n = literal.toLongLong(&whole, 10);
    return whole ? QVariant(n) : QVariant(literal.toDouble());
}

} // namespace

namespace LiteralBinding {

BoundStatement bind(const QString& sql)
{
    // Only reads and writes of rows take parameters; a trigger, a view or a
    // column default must keep its literals.
    const QStringView text(sql);
    qsizetype verbStart = 0;
    while (verbStart < text.size() && text.at(verbStart).isSpace())
        ++verbStart;
    const QStringView verb = text.mid(verbStart, 6);
    if (verb.compare(u"SELECT", Qt::CaseInsensitive) != 0 &&
        verb.compare(u"INSERT", Qt::CaseInsensitive) != 0 &&
        verb.compare(u"UPDATE", Qt::CaseInsensitive) != 0 &&
        verb.compare(u"DELETE", Qt::CaseInsensitive) != 0)
        return {sql, {}};
    BoundStatement out;
    int copied = 0; // sql up to here is in out.text already
    auto replace = [&](int start, int end, QVariant value) {
        out.text += QStringView(sql).mid(copied, start - copied);
        out.text += QLatin1Char('?');
        out.values.append(std::move(value));
        copied = end;
    };
    // Only the characters that open a literal, a quoted name, a comment or
    // a parameter, and the comparison operators, need a look.
    const int n = int(sql.size());
    for (int i = 0; i < n; ++i) {
        switch (sql.at(i).unicode()) {
        case u'\'':
        case u'"':
        case u'`':
        case u'[': {
            const int end = quotedEnd(sql, i, sql.at(i) == QLatin1Char('[') ? QLatin1Char(']') : sql.at(i));
            if (end < 0)
                return {sql, {}};
            i = end - 1;
            break;
        }
        case u'-':
        case u'/':
            if (i + 1 < n &&
                sql.at(i + 1) == (sql.at(i) == QLatin1Char('-') ? QLatin1Char('-') : QLatin1Char('*')))
                return {sql, {}}; // comments are rare enough to be left alone
            break;
        case u'?':
        case u':':
        case u'@':
        case u'$':
            return {sql, {}};
        case u'=':
        case u'<':
        case u'>':
        case u'!': {
            int j = i + 1;
            while (j < n && QStringView(u"=<>").contains(sql.at(j)))
                ++j;
            while (j < n && sql.at(j).isSpace())
                ++j;
            int end = -1;
            if (j < n && sql.at(j) == QLatin1Char('\'')) {
                end = quotedEnd(sql, j, QLatin1Char('\''));
                if (end < 0)
                    return {sql, {}};
                replace(j, end,
                        sql.mid(j + 1, end - j - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
            } else if (isDigit(sql, j) || (j < n && sql.at(j) == QLatin1Char('.') && isDigit(sql, j + 1))) {
                end = numberEnd(sql, j);
                if (end > 0)
                    replace(j, end, numberValue(sql.mid(j, end - j)));
            }
            i = (end > 0 ? end : j) - 1;
            break;
        }
        default:
            break;
        }
    }
    if (out.values.isEmpty())
        return {sql, {}};
    out.text += QStringView(sql).mid(copied);
    return out;
}

} // namespace LiteralBinding
