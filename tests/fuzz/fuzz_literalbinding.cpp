// libFuzzer target for taking literals out of statements: any statement must
// come back either whole or as a text whose placeholders, filled again with
// the values taken out, give the same statement and values a second time.
#include "LiteralBinding.h"
#include "SqlLiteral.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

int quotedEnd(const QString& sql, int i)
{
    const QChar close = sql.at(i) == QLatin1Char('[') ? QLatin1Char(']') : sql.at(i);
    for (int j = i + 1; j < sql.size(); ++j) {
        if (sql.at(j) != close)
            continue;
        if (close == QLatin1Char('\'') && j + 1 < sql.size() && sql.at(j + 1) == close) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return int(sql.size());
}

// The bound text with each placeholder outside quotes written back as a
// literal; false when a value has no literal that reads back as itself.
bool filled(const LiteralBinding::BoundStatement& bound, QString& sql)
{
    int next = 0;
    for (int i = 0; i < bound.text.size(); ++i) {
        const QChar c = bound.text.at(i);
        if (QStringView(u"'\"`[").contains(c)) {
            const int end = quotedEnd(bound.text, i);
            sql += QStringView(bound.text).mid(i, end - i);
            i = end - 1;
        } else if (c == QLatin1Char('?')) {
            check(next < bound.values.size());
            const QVariant& value = bound.values.at(next++);
            if (value.typeId() == QMetaType::QString) {
                sql += SqlLiteral::text(value.toString());
            } else if (value.typeId() == QMetaType::LongLong) {
                sql += SqlLiteral::integer(value.toLongLong());
            } else {
                check(value.typeId() == QMetaType::Double);
                if (!std::isfinite(value.toDouble()))
                    return false;
                sql += QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
            }
        } else {
            sql += c;
        }
    }
    check(next == bound.values.size());
    return true;
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.typeId() == b.typeId() && a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const LiteralBinding::BoundStatement bound = LiteralBinding::bind(sql);
    if (bound.values.isEmpty()) {
        check(bound.text == sql);
        return 0;
    }
    QString again;
    if (!filled(bound, again))
        return 0;
    const LiteralBinding::BoundStatement rebound = LiteralBinding::bind(again);
    check(rebound.text == bound.text);
    check(rebound.values.size() == bound.values.size());
    for (int i = 0; i < bound.values.size(); ++i)
        check(sameValue(rebound.values.at(i), bound.values.at(i)));
    return 0;
}
