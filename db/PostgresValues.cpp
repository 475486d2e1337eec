#include "PostgresValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <libpq-fe.h>
#include <limits>
#include <string_view>

namespace PostgresValues {

namespace {

QVariant realValue(const char* text, const char* end)
{
    double value = 0;
    const auto [stop, failure] = std::from_chars(text, end, value);
    if (failure == std::errc() && stop == end)
        return value;
    // The only other forms the server writes: NaN and the infinities, which
    // not every library's from_chars reads, and numerics beyond a double's
    // range.
    if (std::string_view(text, size_t(end - text)) == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    return *text == '-' ? -HUGE_VAL : HUGE_VAL;
}

// As a NUMERIC column of the file store: a whole value is an integer, any
// other a real.
QVariant numericValue(const char* text, const char* end)
{
    const char* point = std::find(text, end, '.');
    const bool whole = std::all_of(point == end ? end : point + 1, end, [](char c) { return c == '0'; });
    qint64 integer = 0;
    if (whole) {
        const auto [stop, failure] = std::from_chars(text, point, integer);
        if (failure == std::errc() && stop == point)
            return integer;
    }
    return realValue(text, end);
}

} // namespace

QVariant valueAt(const PGresult* result, int row, int column)
{
    return valueAt(result, row, column, PQftype(result, column));
}

QVariant valueAt(const PGresult* result, int row, int column, Oid type)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char* text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (type) {
    case BoolType:
        return qint64(*text == 't' ? 1 : 0);
    case Int2Type:
    case Int4Type:
    case Int8Type:
    case OidType: {
        qint64 value = 0;
        std::from_chars(text, text + length, value);
        return value;
    }
    case Float4Type:
    case Float8Type:
        return realValue(text, text + length);
    case NumericType:
        return numericValue(text, text + length);
    case ByteaType: {
        size_t bytes = 0;
        unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &bytes);
        const QByteArray value(reinterpret_cast<const char*>(raw), qsizetype(bytes));
        PQfreemem(raw);
        return value;
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

Parameters::Parameters(const QVariantList& values)
{
    QVector<bool> nulls;
    for (const QVariant& value : values) {
        nulls << !value.isValid();
        if (value.typeId() == QMetaType::LongLong) {
            types << Int8Type;
            texts << QByteArray::number(value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            types << Float8Type;
            texts << QByteArray::number(value.toDouble(), 'g', 17);
        } else {
            types << 0;
            texts << value.toString().toUtf8();
        }
    }
    for (qsizetype i = 0; i < texts.size(); ++i)
        pointers << (nulls.at(i) ? nullptr : texts.at(i).constData());
}

QByteArray Parameters::signature() const
{
    return QByteArray(reinterpret_cast<const char*>(types.constData()),
                      types.size() * qsizetype(sizeof(Oid)));
}

} // namespace PostgresValues
